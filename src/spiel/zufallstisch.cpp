#include "spiel/zufallstisch.h"

#include <cmath>
#include <utility>

namespace {

// Eigene Verteilungen statt std::uniform_*_distribution: deren Ergebnisse
// legt die Norm nicht fest, mt19937 dagegen schon. So gibt eine Saat überall
// dieselben Tische.
double Gleichverteilt(std::mt19937& zufall, double von, double bis) {
    return von + (bis - von) * (static_cast<double>(zufall()) / 4294967296.0);
}

std::int32_t Ganzzahl(std::mt19937& zufall, std::int32_t von, std::int32_t bis) {
    const auto spanne = static_cast<std::uint32_t>(bis - von + 1);
    return von + static_cast<std::int32_t>(zufall() % spanne);
}

bool Frei(const Zufallstisch& tisch, int anzahl, float x, float y, float mindestabstand) {
    for (int i = 0; i < anzahl; ++i) {
        const float dx = tisch.kugeln[i].x - x, dy = tisch.kugeln[i].y - y;
        if (std::sqrt(dx * dx + dy * dy) <= mindestabstand) return false;
    }
    return true;
}

struct Grenzen {
    float xMin, xMax, yMin, yMax;
    float mindestabstand;  // zwischen zwei Mittelpunkten
};

}  // namespace

Spielstand StandAus(const Tisch& t, const Zufallstisch& lage) {
    Spielstand s{};
    for (int i = 0; i < kAnzahlKugeln; ++i) {
        const Tischkugel& k = lage.kugeln[i];
        s.kugeln[i] = {k.x, k.y, 0.0f, static_cast<std::uint8_t>(k.bagcount != -1 ? 1 : 0), t.radius, k.target};
    }
    s.gruppe = lage.player;
    return s;
}

bool PlatzFrei(const Tisch& t, const Zufallstisch& tisch, int ausser, float x, float y) {
    const float rand = t.radius + kSicherheitsabstand;
    if (x < t.bande_x + rand || x > t.breite - t.bande_x - rand || y < t.bande_y + rand || y > t.hoehe - t.bande_y - rand)
        return false;
    for (int i = 0; i < kAnzahlKugeln; ++i) {
        const Tischkugel& k = tisch.kugeln[i];
        if (i == ausser || k.bagcount != -1) continue;
        const float dx = k.x - x, dy = k.y - y;
        if (std::sqrt(dx * dx + dy * dy) <= 2 * t.radius + kSicherheitsabstand) return false;
    }
    return true;
}

namespace {

// Setzt Kugel i auf die gewünschte Lage, wie sie nach dem Runden auf sechs
// Stellen beim Spieler ankommt, wenn diese Lage frei und innerhalb der Grenzen ist.
bool Setze(const Tisch& t, Zufallstisch& tisch, int i, float wx, float wy, const Grenzen& g) {
    float x = wx, y = wy;
    RundeWieDokument(t, x, y);
    if (x < g.xMin || x > g.xMax || y < g.yMin || y > g.yMax) return false;
    if (!Frei(tisch, i, x, y, g.mindestabstand)) return false;
    tisch.kugeln[i].x = x;
    tisch.kugeln[i].y = y;
    return true;
}

// Setzt Kugel i zufällig, frei von den Kugeln 0..i−1.
void SetzeZufaellig(const Tisch& t, Zufallstisch& tisch, int i, std::mt19937& zufall) {
    const float r = t.radius;
    const Grenzen grenzen{t.bande_x + r + kSicherheitsabstand, t.breite - t.bande_x - r - kSicherheitsabstand,
                          t.bande_y + r + kSicherheitsabstand, t.hoehe - t.bande_y - r - kSicherheitsabstand,
                          2 * r + kSicherheitsabstand};
    const double xMin = grenzen.xMin, xMax = grenzen.xMax, yMin = grenzen.yMin, yMax = grenzen.yMax;
    bool gesetzt = false;
    // 16 Kugeln auf gut 100 × 50 Einheiten: ein Versuch trifft fast immer.
    for (int versuch = 0; versuch < 1000 && !gesetzt; ++versuch) {
        const float wx = static_cast<float>(Gleichverteilt(zufall, xMin, xMax));
        const float wy = static_cast<float>(Gleichverteilt(zufall, yMin, yMax));
        gesetzt = Setze(t, tisch, i, wx, wy, grenzen);
    }
    // Nur für den Fall, dass der Zufall nie trifft: ein festes Raster.
    for (int stelle = 0; !gesetzt && stelle < 24 * 12; ++stelle) {
        gesetzt = Setze(t, tisch, i, static_cast<float>(xMin + 4.0 * (stelle % 24)),
                        static_cast<float>(yMin + 4.0 * (stelle / 24)), grenzen);
    }
}

}  // namespace

Zufallstisch ErzeugeZufallstisch(const Tisch& t, std::mt19937& zufall) {
    Zufallstisch tisch{};
    for (int i = 0; i < kAnzahlKugeln; ++i) {
        Tischkugel& k = tisch.kugeln[i];
        SetzeZufaellig(t, tisch, i, zufall);
        k.bagcount = -1;
        k.target = Ganzzahl(zufall, 0, 9) < 8 ? 0 : Ganzzahl(zufall, 1, 6);
    }

    // Bis zu sechs eingelochte Kugeln, nie die Weiße; sie behalten ihre Lage.
    const int eingelocht = Ganzzahl(zufall, 0, 6);
    for (int n = 0; n < eingelocht; ++n) {
        Tischkugel& k = tisch.kugeln[Ganzzahl(zufall, 1, kAnzahlKugeln - 1)];
        k.bagcount = Ganzzahl(zufall, 0, 5);
    }
    tisch.player = Ganzzahl(zufall, 0, 2);
    return tisch;
}

Zufallstisch ErzeugeSpieltisch(const Tisch& t, std::mt19937& zufall, int objektkugeln, std::int32_t gruppe) {
    // Welche Objektkugeln mitspielen: die Schwarze immer, die übrigen zufällig.
    bool dabei[kAnzahlKugeln] = {};
    dabei[0] = dabei[8] = true;
    int andere[14];
    for (int i = 1, n = 0; i < kAnzahlKugeln; ++i)
        if (i != 8) andere[n++] = i;
    for (int n = 0; n < 14; ++n) std::swap(andere[n], andere[n + static_cast<int>(zufall() % (14 - n))]);
    for (int n = 0; n < objektkugeln - 1 && n < 14; ++n) dabei[andere[n]] = true;

    // Die mitspielenden werden der Reihe nach frei gesetzt (auf den ersten
    // Plätzen eines Hilfstisches, denn Setze prüft nur die Plätze davor) und
    // dann auf ihre Nummern verteilt; die übrigen liegen eingelocht bei (0, 0).
    Zufallstisch tisch{};
    int reihenfolge[kAnzahlKugeln], n = 0;
    for (int i = 0; i < kAnzahlKugeln; ++i)
        if (dabei[i]) reihenfolge[n++] = i;
    Zufallstisch gesetzt{};
    for (int k = 0; k < n; ++k) SetzeZufaellig(t, gesetzt, k, zufall);
    for (int i = 0; i < kAnzahlKugeln; ++i) tisch.kugeln[i] = {0.0f, 0.0f, 0, 0};
    for (int k = 0; k < n; ++k) tisch.kugeln[reihenfolge[k]] = {gesetzt.kugeln[k].x, gesetzt.kugeln[k].y, -1, 0};
    tisch.player = gruppe;
    return tisch;
}
