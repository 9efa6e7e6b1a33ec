// Strg+C (SIGINT) oder SIGTERM (scancel, kill) während eines langen Laufs:
// der Handler merkt sich nur das Signal; der Lauf hört nach dem nächsten
// fertigen Tisch (Gestell) auf und schreibt den Bericht über das Fertige.
#pragma once

#include <atomic>

// Das gefangene Signal, 0 solange keines kam.
extern std::atomic<int> gAbbruch;

// Fängt SIGINT und SIGTERM ab jetzt.
void FangeAbbruchAb();

// Rückgabe nach einem Abbruch, wie eine Shell sie für das Signal zeigt: 128 + Signal.
inline int AbbruchRueckgabe(int signal) { return 128 + signal; }

// "SIGINT" oder "SIGTERM".
const char* Signalname(int signal);
