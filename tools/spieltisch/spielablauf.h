// spieltisch --spielen: Tische erzeugen, Aufnahmen spielen (über das Netz oder
// im Prozess, auf Wunsch auf mehreren Threads), Protokoll und Bericht.
#pragma once

#include <ostream>

#include "optionen.h"
#include "spielen.h"

// Bericht nach aus, Meldungen und Fortschritt nach meldungen. maler zeichnet
// misslungene Stöße (leer: keine Bilder). Rückgabe wie FuehreAus.
int SpieleAufnahmen(const Optionen& o, std::ostream& aus, std::ostream& meldungen, const Bildmaler& maler);
