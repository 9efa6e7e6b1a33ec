// Lernen im Prozess, Schritt für Schritt und ohne eigenen Thread: ein Spieler,
// der jede Anfrage sieht, merkt sich seine Antworten, sammelt daraus die
// Beobachtungen (PruefeBeobachtung) und passt nach je lernenAlle neuen die
// Welt an. Für spieltisch --lernkurve, wo dieselben Tische mit und ohne
// Lernen verglichen werden und das Ergebnis nicht von der Uhr abhängen darf.
#pragma once

#include <vector>

#include "lernen/kalibrierung.h"
#include "sim/beobachtung.h"
#include "sim/welt.h"

struct Lerner {
    Welt welt;          // darin plant er: zu Beginn die aus seiner config.ini
    double rauschen;    // angenommener Rauschfaktor, nach jedem Anpassen der gelernte
    std::array<double, kAnzahlStossklassen> klassenrauschen{};  // ebenso je Stoßklasse; 0: noch keins
    int lernenAlle = 20;
    long bis = 0;       // so viele Beobachtungen sammelt er höchstens (0: ohne Grenze)
    std::vector<Beobachtung> beobachtungen;
    bool hatAntwort = false;
    Spielstand antwortStand{};
    Vektor antwortStoss{};
    long anpassungen = 0;
    Kalibrierergebnis letztes{};  // das letzte gelungene Anpassen
};

// Vor dem Planen auf stand: zeigt stand das Ergebnis der letzten Antwort,
// wird es eine Beobachtung, und nach je lernenAlle neuen passt er an (mit o).
// true, wenn die Welt eben neu angepasst wurde.
bool LernerSieht(Lerner& l, const Tischgeometrie& g, const Spielstand& stand, const Kalibrieroptionen& o);
// Nach dem Planen: was er geantwortet hat.
void LernerAntwortet(Lerner& l, const Spielstand& stand, Vektor stoss);
