// Alles, was vom Tisch feststeht, einmal gebaut und dann nur gelesen: der
// Tisch aus config.ini, die 18 Taschenpunkte und der Umriss. Wer den Tisch
// braucht, bekommt ihn als const Tischkontext&; Threads teilen ihn ohne Sperre.
#pragma once

#include "model/tisch.h"
#include "model/umriss.h"

struct Tischkontext {
    Tisch tisch;
    Vektor taschenpunkte[kAnzahlTaschenpunkte];
    Umriss umriss;
};

Tischkontext BaueTischkontext(const Tisch& t);

// Der Tisch aus einer config.ini ohne Schlüssel (Tests, Benchmarks).
Tischkontext VorgabeKontext();
