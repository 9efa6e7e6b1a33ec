// Das Hauptfenster: ein Dialog fester Größe mit Menü, gebaut aus der Tabelle
// in dialoglayout.h. Steuerelemente und Menüpunkte tragen ihre Nummer als
// objectName, so finden Anzeige, Befehle und Tests sie.
#pragma once

#include <QDialog>

class BildFenster;
class QAction;
class QCloseEvent;

class HauptDialog : public QDialog {
public:
    HauptDialog();

    QWidget* Element(int id) const;
    QAction* Menuepunkt(int befehl) const;
    BildFenster* Tischansicht() const;
    // Die Dialogfläche unter dem Menü.
    QWidget* Flaeche() const { return flaeche_; }

protected:
    // Escape, Schließfeld und Alt+F4 sind alle Befehl 2.
    void reject() override;
    void closeEvent(QCloseEvent* ereignis) override;

private:
    QWidget* flaeche_;
};

// Das eine Hauptfenster, nullptr davor. Wird gesetzt, bevor die
// Initialisierung die Felder schreibt.
extern HauptDialog* Hauptfenster;

// Baut den Dialog, setzt Hauptfenster, initialisiert (Konfiguration,
// Grundaufstellung, Titel, Menümarke, Kugelfelder) und zeigt ihn.
HauptDialog* ErzeugeHauptfenster();
