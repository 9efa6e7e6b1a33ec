// Eine Stoßlinie für die Tischansicht, in Tischeinheiten.
#pragma once

#include <cstdint>

// Farbe als 0xRRGGBB.
constexpr std::uint32_t kRot = 0xFF0000;
constexpr std::uint32_t kBlau = 0x0000FF;
constexpr std::uint32_t kGrau = 0xC0C0C0;

struct Linie {
    float x1, y1, x2, y2;  // Tischeinheiten
    std::uint32_t farbe;
};
