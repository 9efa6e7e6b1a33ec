// Arbeit auf mehreren Threads, ohne dass ein Thread-Limit oder eine geworfene
// Ausnahme den Prozess mit std::terminate beendet.
#pragma once

#include <functional>
#include <string>

// Ruft arbeit auf bis zu threads Threads auf (der rufende ist einer davon) und
// wartet auf alle. Lässt sich ein Thread nicht starten, tun die übrigen seine
// Arbeit: arbeit muss sich ihre Aufträge selbst holen (ein gemeinsamer Zähler).
// Wirft arbeit, endet nur dieser Thread; dann false und der erste Grund in fehler.
bool ArbeiteParallel(int threads, const std::function<void()>& arbeit, std::string& fehler);
