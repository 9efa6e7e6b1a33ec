// Das Hauptfenster: ein Dialog fester Größe mit Menü, gebaut aus der Tabelle
// in dialoglayout.h. Steuerelemente und Menüpunkte tragen ihre Nummer als
// objectName, so finden Anzeige, Befehle und Tests sie.
#pragma once

#include <QDialog>
#include <mutex>

#include "model/konfiguration.h"
#include "model/tisch.h"

struct Spielerkontext;
class BildFenster;
class QAction;
class QCloseEvent;

class HauptDialog : public QDialog {
public:
    explicit HauptDialog(Spielerkontext& spieler);

    // Der Spieler, für den das Fenster plant und antwortet; er gehört dem Programm.
    Spielerkontext& Spieler() const { return spieler_; }

    // Die Kugeln und die Gruppe des Fensters. Der Server-Thread übernimmt
    // empfangene Kugeln hinein; geplant wird auf einer Kopie.
    Spielstand Stand() const;
    void SetzeStand(const Spielstand& stand);
    // Lage und inloch, die Gruppe bleibt.
    void UebernimmKugeln(const Spielstand& empfangen);
    void SetzeGruppe(std::int32_t gruppe);
    void SetzeKugel(int i, Vektor lage);

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
    Spielerkontext& spieler_;
    QWidget* flaeche_;
    mutable std::mutex standMutex_;
    Spielstand stand_{};
};

// Das eine Hauptfenster, nullptr davor. Wird gesetzt, bevor die
// Initialisierung die Felder schreibt.
extern HauptDialog* Hauptfenster;

// Baut den Dialog, setzt Hauptfenster, baut den Spieler mit den Dateien aus
// pfade und der Anzeige des Fensters, initialisiert (Grundaufstellung, Titel,
// Menümarke, Kugelfelder) und zeigt ihn. spieler muss länger leben als das Fenster.
HauptDialog* ErzeugeHauptfenster(Spielerkontext& spieler, const Pfade& pfade);
