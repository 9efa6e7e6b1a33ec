// Die Anzeige des Fensters: Log, Felder, Stoßlinien, Laufwege und Meldungen gehen an die
// Steuerelemente des Hauptfensters. Aufrufe aus anderen Threads laufen im
// Fenster-Thread, und der Aufrufer wartet, bis sie getan sind; nur auf eine
// Meldung wartet er nicht (kein Netz-Thread wartet auf einen Menschen).
#pragma once

#include <QObject>
#include <functional>

#include "anzeige/anzeige.h"
#include "model/tischkontext.h"
#include "planner/planerkontext.h"

// Im Fenster-Thread aufrufen, nachdem die QApplication steht.
Anzeige FensterAnzeige();

// Nach jedem Plan: mit "Laufwege anzeigen" die Wege des Stoßes in der Welt
// des Planers in die Ansicht (Rückruf geplant des Spielers).
void ZeigeLaufwege(const Tischkontext& tk, const Spielstand& stand, Vektor stoss, const Planerkontext& pk);

// Führt arbeit im Fenster-Thread aus und kehrt danach zurück; im Fenster-
// Thread selbst sofort (ein blockierender Aufruf in den eigenen Thread stünde still).
void AufFensterThread(const std::function<void()>& arbeit);

// Stellt arbeit für den Fenster-Thread an und kehrt sofort zurück.
void SpaeterAufFensterThread(std::function<void()> arbeit);

// Höchstens so viele Meldungen anderer Threads sind zugleich offen; jede
// weitere steht nur als "TITEL: Text" im Log.
constexpr int kOffeneMeldungen = 4;

// Nimmt die Aufträge im Fenster-Thread entgegen.
class Bote : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    Q_INVOKABLE void arbeite();
};
