// Ein ganzer Lauf von spieltisch: Tische senden, Antworten prüfen, Bilanz.
#pragma once

#include <ostream>

#include "optionen.h"

enum Rueckgabe : int {
    kAllesBeantwortet = 0,
    kAntwortFehlt = 1,  // eine Antwort fehlt oder ist fehlerhaft (bzw. ein Tisch ging nicht hinaus)
    kFalscherAufruf = 2,  // auch: Datei nicht lesbar, Port nicht zu öffnen
};

// Ergebniszeilen nach aus, Meldungen (deutsch) nach meldungen.
int FuehreAus(const Optionen& optionen, std::ostream& aus, std::ostream& meldungen);
