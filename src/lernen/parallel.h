// Arbeit über mehrere Threads verteilen, ohne das Ergebnis zu ändern: jeder
// Auftrag i schreibt nur in seinen eigenen Platz, also gibt jede Verteilung
// dieselben Zahlen. Jeder Thread hat sein eigenes Simergebnis.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>

#include "sim/simulation.h"

// Alle Kerne, mindestens 1.
int Kerne();

// Ruft arbeit(i, ergebnis) für jedes i in [0, n) genau einmal auf, auf
// höchstens threads Threads (der rufende ist einer davon). fortschritt (wenn
// gesetzt) läuft nur im rufenden Thread, mit der Zahl erledigter Aufträge.
// false, wenn abbrechen gesetzt wurde oder die Frist vorbei ist: dann sind
// nicht alle Aufträge erledigt.
bool Parallel(int n, int threads, const std::atomic<bool>* abbrechen,
              const std::function<void(int i, Simergebnis& ergebnis)>& arbeit,
              const std::function<void(int erledigt)>& fortschritt = {},
              std::chrono::steady_clock::time_point frist = std::chrono::steady_clock::time_point::max());
