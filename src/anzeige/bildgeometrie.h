// Die Pixelrechnung der Tischansicht und der Dialogeinheiten, ohne Qt: Tisch-
// punkt zu Pixel und zurück, Kugelkästen, Bandenvielecke, Taschenbeschriftungen.
// Die Ansicht zeigt den ganzen Tisch ohne Rand, x und y getrennt skaliert;
// Tisch-y wächst nach oben, Pixel-y nach unten.
#pragma once

#include <array>
#include <cstdint>

#include "model/tischkontext.h"

struct Punkt {
    int x, y;
    bool operator==(const Punkt&) const = default;
};

// Ein Kasten in Pixeln: rechts und unten gehören nicht mehr dazu.
struct Kasten {
    int links, oben, rechts, unten;
    bool operator==(const Kasten&) const = default;
};

// Größe der Ansicht in Pixeln und des Tisches, den sie ganz zeigt.
struct Ansicht {
    int w, h;
    float breite, hoehe;
};
inline Ansicht AnsichtVon(const Tisch& t, int w, int h) { return {w, h, t.breite, t.hoehe}; }

// ⌊v + 0.5⌋: eine genaue Hälfte rundet nach oben. Begrenzt auf ±10⁹, NaN gibt 0.
std::int32_t Runde(double v);
// Rx(v) = R(W·v/breite), Ry(v) = R(H·v/hoehe), in double gerechnet.
std::int32_t Rx(const Ansicht& a, float v);
std::int32_t Ry(const Ansicht& a, float v);

// Tischpunkt zu Pixel (Kugeln, Stoßlinien): (Rx(x), H − 1 − Ry(y)).
Punkt TischZuPixel(const Ansicht& a, float x, float y);
// Pixel zu Tischpunkt (Maus), als float gespeichert, z = 0.
Vektor PixelZuTisch(const Ansicht& a, int px, int py);

// Mittelpunkt einer Kugel: hier werden W·x/breite und H·y/hoehe erst als
// float gespeichert und dann gerundet.
Punkt Kugelmitte(const Ansicht& a, float x, float y);
// Der Kasten, in dem die Kugel als Ellipse liegt (Radius r ist die eigene der Kugel).
Kasten Kugelkasten(const Ansicht& a, float x, float y, float r);
// Einzug des hellen Innenkreises der halben Kugeln, auf allen vier Seiten.
std::int32_t Ringeinzug(const Ansicht& a);
Kasten Eingezogen(const Kasten& k, int einzug);

// Die sechs Banden als Vierecke, Ecken in Zeichenreihenfolge: links, oben
// links, oben rechts, rechts, unten rechts, unten links.
using Viereck = std::array<Punkt, 4>;
std::array<Viereck, 6> Bandenvierecke(const Ansicht& a, const Umriss& u);
// Die 20 × 20 Pixel großen Kästen der Taschennummern "1" bis "6"; xe ist die
// Mitte der Mitteltaschen.
std::array<Kasten, 6> Taschenbeschriftungen(const Ansicht& a, float xe);

// Die erste nicht eingelochte Kugel, deren Abstand vom Mauspunkt kleiner als
// radius (der des Tisches) ist, oder −1.
int FindeKugel(const Spielstand& stand, const Ansicht& a, int px, int py, float radius);

// Dialogeinheiten zu Pixeln: x·6/4, y·13/8, die Hälfte von der Null weg gerundet.
int DialogX(int einheiten);
int DialogY(int einheiten);
