// Die Grenze einer robusten Entscheidung: jeder Schritt fragt vor jedem
// simulierten Stoß, ob die Zeit oder die Stöße noch reichen, und hört sonst
// auf. Was bis dahin gefunden ist, wird gespielt. Die Zeit misst die Wanduhr
// (der Spieler am Tisch); die Stöße zählen, wo eine Entscheidung nicht von der
// Last der Maschine abhängen darf (Partien im Prozess).
#pragma once

#include <chrono>
#include <cstdint>

struct Frist {
    std::chrono::steady_clock::time_point ende;
    bool begrenzt = false;      // zeitgrenze 0: keine Zeitgrenze
    std::int64_t stoesse = -1;  // so viele simulierte Stöße bleiben, −1: unbegrenzt
    std::int64_t gespielt = 0;  // so viele wurden simuliert
    bool abgelaufen = false;    // bleibt gesetzt, sobald die Grenze einmal erreicht war
};

// Beginnt jetzt; millisekunden 0 heißt ohne Zeitgrenze, stoesse −1 ohne Grenze der Stöße.
Frist StarteFrist(int millisekunden, std::int64_t stoesse = -1);

// Ist die Zeit um oder sind die Stöße verbraucht? Merkt es sich, damit alle
// späteren Schritte gleich entscheiden.
bool Abgelaufen(Frist& f);

// Nach jedem simulierten Stoß.
void ZaehleStoss(Frist& f);

// Waren es die Stöße, nicht die Zeit?
bool StoesseVerbraucht(const Frist& f);
