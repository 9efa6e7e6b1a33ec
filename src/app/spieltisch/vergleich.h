// spieltisch --vergleich: beide Planer auf denselben Tischen und unter
// denselben Störungen, über die Rauschfaktoren 0, 0.5, 1, 1.5 und 2.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "optionen.h"
#include "spiel/aufnahmebericht.h"

struct Vergleichspunkt {
    double rauschen;
    Spielbericht vorgegeben, robust;
};

// Zeichnet die Kurven als PNG nach pfad; false mit deutscher Meldung in fehler.
using Vergleichsmaler =
    std::function<bool(const std::vector<Vergleichspunkt>& punkte, const Optionen& o, std::string& fehler)>;

// Tabelle (oder JSON) nach aus, Meldungen und Fortschritt nach meldungen.
int Vergleiche(const Optionen& o, std::ostream& aus, std::ostream& meldungen, const Vergleichsmaler& maler);

void SchreibeVergleich(const std::vector<Vergleichspunkt>& punkte, const Optionen& o, std::ostream& aus);
void SchreibeVergleichJson(const std::vector<Vergleichspunkt>& punkte, const Optionen& o, std::ostream& aus);
