// Ein ganzer Lauf von spieltisch: Tische senden, Antworten prüfen, Bilanz.
#pragma once

#include <ostream>

#include "optionen.h"
#include "app/kommandozeile.h"

// 1 ist hier ein Urteil über den Spieler, kein Eingabefehler: darum meldet
// spieltisch eine unlesbare Datei oder einen belegten Port mit 2 (kFalscherAufruf).
constexpr int kAllesBeantwortet = 0;
constexpr int kAntwortFehlt = 1;  // eine Antwort fehlt oder ist fehlerhaft (bzw. ein Tisch ging nicht hinaus)

// Ergebniszeilen nach aus, Meldungen (deutsch) nach meldungen.
int FuehreAus(const Optionen& optionen, std::ostream& aus, std::ostream& meldungen);
