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
    return Runde(static_cast<double>(a.w) * static_cast<double>(v) / static_cast<double>(a.breite));
}

std::int32_t Ry(const Ansicht& a, float v) {
    return Runde(static_cast<double>(a.h) * static_cast<double>(v) / static_cast<double>(a.hoehe));
}

Punkt TischZuPixel(const Ansicht& a, float x, float y) { return {Rx(a, x), a.h - 1 - Ry(a, y)}; }

Vektor PixelZuTisch(const Ansicht& a, int px, int py) {
    const float x = static_cast<float>(static_cast<double>(px) * static_cast<double>(a.breite) / a.w);
    const float y =
        static_cast<float>(static_cast<double>(a.h - 1 - py) * static_cast<double>(a.hoehe) / a.h);
    return {x, y, 0.0f};
}

Punkt Kugelmitte(const Ansicht& a, float x, float y) {
    const float qx = static_cast<float>(static_cast<double>(a.w) * static_cast<double>(x) /
                                        static_cast<double>(a.breite));
    const float qy = static_cast<float>(static_cast<double>(a.h) * static_cast<double>(y) /
                                        static_cast<double>(a.hoehe));
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
    return Runde(static_cast<double>(a.w) * 0.5 / static_cast<double>(a.breite));
}

Kasten Eingezogen(const Kasten& k, int einzug) {
    return {k.links + einzug, k.oben + einzug, k.rechts - einzug, k.unten - einzug};
}

std::array<Viereck, 6> Bandenvierecke(const Ansicht& a, const Umriss& u) {
    const int W = a.w, H = a.h;
    auto X = [&](double v) { return Rx(a, static_cast<float>(v)); };
    auto Y = [&](double v) { return Ry(a, static_cast<float>(v)); };
    // Jede Bande wird von ihrer Tischkante aus gemessen, y dabei von oben, ohne
    // Spiegelung: die kurzen Banden nehmen ya..yd als Abstand von der oberen
    // Kante. Die Differenzen zur Kante sind im Umriss genau.
    auto links = [&](const Umrisspunkt& p) { return Punkt{X(p.x), Y(p.y)}; };
    auto rechts = [&](const Umrisspunkt& p) { return Punkt{W - 1 - X(a.breite - p.x), Y(p.y)}; };
    auto unten = [&](const Umrisspunkt& p) { return Punkt{X(p.x), H - 1 - Y(a.hoehe - p.y)}; };
    const Umrisspunkt* e = u.ecken;
    const Umrisspunkt* k = u.kanten;
    return {{
        {{links(k[1]), links(e[1]), links(e[0]), links(k[0])}},
        {{links(k[10]), links(k[11]), links(e[11]), links(e[10])}},
        {{links(k[9]), links(k[8]), links(e[8]), links(e[9])}},
        {{rechts(e[6]), rechts(k[6]), rechts(k[7]), rechts(e[7])}},
        {{unten(k[4]), unten(e[4]), unten(e[5]), unten(k[5])}},
        {{unten(k[2]), unten(e[2]), unten(e[3]), unten(k[3])}},
    }};
}

std::array<Kasten, 6> Taschenbeschriftungen(const Ansicht& a, float xe) {
    const int W = a.w, H = a.h;
    const int mitte = Rx(a, xe) - 10;
    const Punkt ecken[6] = {{10, H - 30}, {10, 10}, {mitte, H - 30}, {mitte, 10}, {W - 31, H - 30}, {W - 31, 10}};
    std::array<Kasten, 6> k;
    for (int i = 0; i < 6; ++i) k[i] = {ecken[i].x, ecken[i].y, ecken[i].x + 20, ecken[i].y + 20};
    return k;
}

int FindeKugel(const Spielstand& stand, const Ansicht& a, int px, int py, float radius) {
    const Vektor p = PixelZuTisch(a, px, py);
    for (int i = 0; i < kAnzahlKugeln; ++i) {
        const Kugel& k = stand.kugeln[i];
        if (k.inloch) continue;
        if (Abstand(Lage(k), p) < radius) return i;
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
