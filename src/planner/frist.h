// Die Zeitgrenze einer robusten Entscheidung: jeder Schritt fragt vor jedem
// simulierten Stoß, ob die Zeit noch reicht, und hört sonst auf. Was bis dahin
// gefunden ist, wird gespielt.
#pragma once

#include <chrono>

struct Frist {
    std::chrono::steady_clock::time_point ende;
    bool begrenzt = false;    // zeitgrenze 0: keine Grenze
    bool abgelaufen = false;  // bleibt gesetzt, sobald die Zeit einmal um war
};

// Beginnt jetzt; millisekunden 0 heißt unbegrenzt.
Frist StarteFrist(int millisekunden);

// Ist die Zeit um? Merkt es sich, damit alle späteren Schritte gleich entscheiden.
bool Abgelaufen(Frist& f);
