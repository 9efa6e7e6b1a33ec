// Wie ein Stoß lief, grob: gerade an die erste Kugel, die Weiße über eine Bande
// oder eine fallende Kugel über eine Bande. So unterscheiden der Fit und der
// Planer, wie gut die gelernte Welt welche Stöße vorhersagt.
#pragma once

#include <cstdint>

struct Simergebnis;

enum class Stossklasse : std::uint8_t { direkt, weisseBande, kugelBande };
constexpr int kAnzahlStossklassen = 3;

// Die Weiße an einer Bande vor der ersten Kugel: weisseBande; sonst eine
// Kugel, die fiel, nachdem sie an einer Bande war: kugelBande; sonst direkt.
// Backen und Ecken zählen nicht: sie liegen am Maul.
Stossklasse KlasseAus(const Simergebnis& e);

// "direkt", "Weiße über Bande", "Kugel über Bande"
const char* Klassenname(Stossklasse k);
// "direkt", "weisse_bande", "kugel_bande" (JSON)
const char* Klassenschluessel(Stossklasse k);
