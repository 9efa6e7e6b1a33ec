// Eine angepasste Welt als config.ini: der gegebene Text, darin die
// Schlüssel des Fits ersetzt oder ergänzt, alles andere (Kommentare, Reihen-
// folge, Zeilenenden) unverändert. Gelesen wird die Datei wie von IniGanzzahl:
// nur die erste Sektion eines Namens und darin der erste Schlüssel zählen,
// also wird genau dieser ersetzt.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "lernen/kalibrierung.h"

struct Iniwert {
    std::string sektion;
    std::string schluessel;
    std::int64_t wert;
};

// Ersetzt die führende Zahl jedes Schlüssels (ein Rest dahinter bleibt) oder
// fügt "schluessel=wert" hinter der letzten Zeile mit Schlüssel seiner Sektion
// ein; fehlt die Sektion, kommt sie ans Ende.
std::string SetzeIniwerte(std::string_view text, std::span<const Iniwert> werte);

// Die Werte eines Fits: in [simulation] jede angepasste Kenngröße, gerundet
// auf ganze Hundertstel, und in [planer] rauschen (F in Hundertsteln);
// die Kenngrößen, deren Grenzen unter 0 reichen, mit Vorzeichen (WeltAus liest sie so).
std::vector<Iniwert> KalibrierteWerte(const Kalibrierergebnis& e);

// Die ganze config.ini mit den Werten des Fits.
std::string KalibrierteKonfiguration(std::string_view text, const Kalibrierergebnis& e);
