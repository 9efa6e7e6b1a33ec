#include "anzeige/bildgeometrie.h"

#include <algorithm>
#include <cmath>

// Ein Dokument kann Kugeln beliebig weit weg legen: dann bleibt das Pixel bei
// ±10⁹ stehen (noch Platz für Kästen und Abstände in int32), statt beim
// Umwandeln undefiniert zu werden; NaN wird 0.
std::int32_t Runde(double v) {
    constexpr double kGrenze = 1e9;
    const double r = std::floor(v + 0.5);
    if (std::isnan(r)) return 0;
    return static_cast<std::int32_t>(std::clamp(r, -kGrenze, kGrenze));
}

std::int32_t Rx(const Ansicht& a, float v) {
    return Runde(static_cast<double>(a.w) * static_cast<double>(v) / static_cast<double>(tisch.breite));
}

std::int32_t Ry(const Ansicht& a, float v) {
    return Runde(static_cast<double>(a.h) * static_cast<double>(v) / static_cast<double>(tisch.hoehe));
}

Punkt TischZuPixel(const Ansicht& a, float x, float y) { return {Rx(a, x), a.h - 1 - Ry(a, y)}; }

Vektor PixelZuTisch(const Ansicht& a, int px, int py) {
    const float x = static_cast<float>(static_cast<double>(px) * static_cast<double>(tisch.breite) / a.w);
    const float y =
        static_cast<float>(static_cast<double>(a.h - 1 - py) * static_cast<double>(tisch.hoehe) / a.h);
    return {x, y, 0.0f};
}

Punkt Kugelmitte(const Ansicht& a, float x, float y) {
    const float qx = static_cast<float>(static_cast<double>(a.w) * static_cast<double>(x) /
                                        static_cast<double>(tisch.breite));
    const float qy = static_cast<float>(static_cast<double>(a.h) * static_cast<double>(y) /
                                        static_cast<double>(tisch.hoehe));
    return {Runde(static_cast<double>(qx)), a.h - 1 - Runde(static_cast<double>(qy))};
}

Kasten Kugelkasten(const Ansicht& a, float x, float y, float r) {
    const Punkt m = Kugelmitte(a, x, y);
    Kasten k;
    k.links = m.x - Rx(a, r);
    k.oben = m.y - Ry(a, r);
    k.rechts = k.links + Rx(a, 2 * r);
    k.unten = k.oben + Ry(a, 2 * r);
    return k;
}

std::int32_t Ringeinzug(const Ansicht& a) {
    return Runde(static_cast<double>(a.w) * 0.5 / static_cast<double>(tisch.breite));
}

Kasten Eingezogen(const Kasten& k, int einzug) {
    return {k.links + einzug, k.oben + einzug, k.rechts - einzug, k.unten - einzug};
}

std::array<Viereck, 6> Bandenvierecke(const Ansicht& a) {
    const Tisch& t = tisch;
    const int W = a.w, H = a.h;
    auto X = [&](float v) { return Rx(a, v); };
    auto Y = [&](float v) { return Ry(a, v); };
    // Hier zählt y von oben, ohne Spiegelung: die kurzen Banden nehmen ya..yd
    // als Abstand von der oberen Kante.
    return {{
        {{{0, Y(t.ya)}, {X(t.bande_x), Y(t.yb)}, {X(t.bande_x), Y(t.yc)}, {0, Y(t.yd)}}},
        {{{X(t.xa), 0}, {X(t.xd), 0}, {X(t.xc), Y(t.bande_y)}, {X(t.xb), Y(t.bande_y)}}},
        {{{X(t.xf), 0}, {X(t.xi), 0}, {X(t.xh), Y(t.bande_y)}, {X(t.xg), Y(t.bande_y)}}},
        {{{W - 1 - X(t.bande_x), Y(t.yb)}, {W - 1, Y(t.ya)}, {W - 1, Y(t.yd)}, {W - 1 - X(t.bande_x), Y(t.yc)}}},
        {{{X(t.xf), H - 1}, {X(t.xg), H - 1 - Y(t.bande_y)}, {X(t.xh), H - 1 - Y(t.bande_y)}, {X(t.xi), H - 1}}},
        {{{X(t.xa), H - 1}, {X(t.xb), H - 1 - Y(t.bande_y)}, {X(t.xc), H - 1 - Y(t.bande_y)}, {X(t.xd), H - 1}}},
    }};
}

std::array<Kasten, 6> Taschenbeschriftungen(const Ansicht& a) {
    const int W = a.w, H = a.h;
    const int mitte = Rx(a, tisch.xe) - 10;
    const Punkt ecken[6] = {{10, H - 30}, {10, 10}, {mitte, H - 30}, {mitte, 10}, {W - 31, H - 30}, {W - 31, 10}};
    std::array<Kasten, 6> k;
    for (int i = 0; i < 6; ++i) k[i] = {ecken[i].x, ecken[i].y, ecken[i].x + 20, ecken[i].y + 20};
    return k;
}

int FindeKugel(const Spielstand& stand, const Ansicht& a, int px, int py) {
    const Vektor p = PixelZuTisch(a, px, py);
    for (int i = 0; i < kAnzahlKugeln; ++i) {
        const Kugel& k = stand.kugeln[i];
        if (k.inloch) continue;
        if (Abstand(Lage(k), p) < tisch.radius) return i;
    }
    return -1;
}

namespace {

// n·zaehler/nenner, die Hälfte von der Null weg gerundet.
int Umrechnen(int n, int zaehler, int nenner) {
    const long long p = static_cast<long long>(n) * zaehler;
    const long long betrag = ((p < 0 ? -p : p) * 2 + nenner) / (2 * nenner);
    return static_cast<int>(p < 0 ? -betrag : betrag);
}

}  // namespace

int DialogX(int einheiten) { return Umrechnen(einheiten, 6, 4); }
int DialogY(int einheiten) { return Umrechnen(einheiten, 13, 8); }
