// spieltisch --partien: zwei Spieler, ganze Partien auf Gestellen aus der
// Saat; Protokoll, Beobachtungen, Bilder und Bericht.
#pragma once

#include <ostream>

#include "fehlerbild.h"
#include "optionen.h"

// Bericht nach aus, Meldungen und Fortschritt nach meldungen. maler zeichnet
// den entscheidenden Stoß jeder entschiedenen Partie (leer: keine Bilder).
// Rückgabe wie FuehreAus: 1, wenn eine Partie ohne Antwort abbrach.
int SpielePartienAus(const Optionen& o, std::ostream& aus, std::ostream& meldungen, const Partiebildmaler& maler);
