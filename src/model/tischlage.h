// Ein Tischstand, wie ihn der Spielserver schickt: 16 Kugeln mit Tasche und
// Ziel, in Tischkoordinaten, und die Gruppe des Spielers am Stoß.
#pragma once

#include <array>
#include <cstdint>

#include "model/tisch.h"

struct Tischkugel {
    float x;                // Tischkoordinaten
    float y;
    std::int32_t bagcount;  // -1: auf dem Tisch, sonst eingelocht (Tasche 0..5)
    std::int32_t target;    // 0: jede Tasche, 1..6: Taschennummer + 1
};

struct Zufallstisch {
    std::array<Tischkugel, kAnzahlKugeln> kugeln;
    std::int32_t player;  // Kugelgruppe 0..2
};
