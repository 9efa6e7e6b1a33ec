#include "planner/pfad.h"

#include <cmath>

namespace {

inline float Kleiner(float a, float b) { return a < b ? a : b; }
inline float Groesser(float a, float b) { return a > b ? a : b; }

// Die Box um einen Weg, Ränder eingeschlossen.
struct Box {
    float links, rechts, unten, oben;
};

inline Box BoxUm(Vektor von, Vektor nach, float rand) {
    return {Kleiner(von.x, nach.x) - rand, Groesser(von.x, nach.x) + rand, Kleiner(von.y, nach.y) - rand,
            Groesser(von.y, nach.y) + rand};
}

// Mit NaN ist nichts außerhalb: die Abstandsprüfung danach verwirft dann sicher.
inline bool Ausserhalb(const Box& b, Vektor q) {
    return q.x < b.links || q.x > b.rechts || q.y < b.unten || q.y > b.oben;
}

}  // namespace

void EigeneKugeln(const Spielstand& stand, bool eigene[kAnzahlKugeln]) {
    const std::int32_t g = stand.gruppe;
    int nV = 0, nH = 0;
    for (int i = 1; i <= 7; ++i) {
        eigene[i] = !stand.kugeln[i].inloch && (g == volle || g == alle);
        nV += eigene[i];
    }
    for (int i = 9; i <= 15; ++i) {
        eigene[i] = !stand.kugeln[i].inloch && (g == halbe || g == alle);
        nH += eigene[i];
    }
    // Die Schwarze zählt nach der Zahl der gesetzten eigenen Kugeln, nicht nach
    // ihrem eigenen inloch; bei "alle" entscheiden nur die halben.
    eigene[8] = (g == volle) ? (nV == 0) : (nH == 0);
}

bool TascheErlaubt(const Spielstand& stand, int kugel, int j) {
    const std::int32_t zt = stand.kugeln[kugel].zieltasche;
    return zt == 0 || zt == j / 3 + 1;
}

Vektor Anspielpunkt(Vektor kugel, Vektor ziel, float r) {
    Vektor d{kugel.x - ziel.x, kugel.y - ziel.y, 0.0f};
    return Addiere(kugel, Skaliere(Normiere(d), 2.0f * r));
}

bool WinkelZulaessig(const Tisch& t, float winkel) { return winkel > 90.0f + t.tol_winkel; }

Winkelgrenze WinkelgrenzeVon(const Tisch& t) {
    const float grenze = 90.0f + t.tol_winkel;
    // Über 180 Grad (tol_winkel ist vorzeichenlos und kann riesig sein) steigt
    // der Kosinus wieder: dann immer genau rechnen, und nichts ist zulässig.
    const bool schnell = grenze > 1.0f && grenze < 179.0f;
    return {grenze, std::cos(static_cast<double>(grenze) / 57.29577951308232), schnell};
}

bool WinkelZulaessig(const Winkelgrenze& g, Vektor u, Vektor v) {
    // Dieselben float-Schritte wie Winkel(), bis zum Kosinus.
    const float s = Skalarprodukt(u, v);
    if (s == 0.0f) return 90.0f > g.grenze;
    const float n = Laenge(u) * Laenge(v);
    const float c = s / n;
    // 1e-5 im Kosinus sind etwa 6e-4 Grad, weit mehr als jede Rundung des
    // Winkels; nur dazwischen (und bei NaN) wird genau gerechnet.
    constexpr double kBand = 1e-5;
    // Unter -1 gerundet gibt der arccos NaN: auch ein fast voller Treffer fällt dann durch.
    if (c < -1.0f) return false;
    if (g.schnell && c < g.kosinus - kBand) return true;
    if (g.schnell && c > g.kosinus + kBand) return false;
    const float a = static_cast<float>(std::acos(static_cast<double>(c)) * 57.29577951308232);
    return a > g.grenze;
}

bool ImSpielfeld(const Tisch& t, Vektor p, float r) {
    return t.bande_y + r < p.y && p.y < t.hoehe - t.bande_y - r && t.bande_x + r < p.x &&
           p.x < t.breite - t.bande_x - r;
}

bool KugelImWeg(const Tischkontext& tk, const Spielstand& stand, Vektor von, Vektor nach, int ausnahme1,
                int ausnahme2) {
    const float r = stand.kugeln[0].radius;
    const float rand = 2.0f * r;
    const float grenze = 2.0f * r + tk.tisch.tol_abstand;
    const Box box = BoxUm(von, nach, rand);
    const Vektor u = Normiere(Subtrahiere(nach, von));
    for (int k = 1; k < kAnzahlKugeln; ++k) {  // die Weiße ist nie Hindernis
        if (k == ausnahme1 || k == ausnahme2) continue;
        const Kugel& kugel = stand.kugeln[k];
        if (kugel.inloch) continue;
        const Vektor m = Lage(kugel);
        if (Ausserhalb(box, m)) continue;
        if (!(AbstandZurEinheitsgeraden(von, u, m) >= grenze)) return true;  // NaN: zu nah
    }
    return false;
}

void Bandenecken(const Tischkontext& tk, Vektor e[12]) {
    // Im Umriss genau (double); float davon ist dieselbe Zahl wie die
    // Differenz in float, etwa hoehe − bande_y.
    for (int i = 0; i < 12; ++i)
        e[i] = {static_cast<float>(tk.umriss.ecken[i].x), static_cast<float>(tk.umriss.ecken[i].y), 0.0f};
}

bool BandeneckeImWeg(const Tischkontext& tk, const Spielstand& stand, Vektor von, Vektor nach) {
    const float r = stand.kugeln[0].radius;
    const float grenze = r + tk.tisch.tol_abstand;
    const Box box = BoxUm(von, nach, r);
    const Vektor u = Normiere(Subtrahiere(nach, von));
    Vektor ecken[12];
    Bandenecken(tk, ecken);
    for (const Vektor& e : ecken) {
        if (Ausserhalb(box, e)) continue;
        if (!(AbstandZurEinheitsgeraden(von, u, e) >= grenze)) return true;
    }
    return false;
}

float WinkelAmPunkt(Vektor a, Vektor b, Vektor c) {
    return Winkel({a.x - b.x, a.y - b.y, 0.0f}, {c.x - b.x, c.y - b.y, 0.0f});
}

void BandenPunkte(const Tisch& t, Vektor von, Vektor nach, Vektor p[4]) {
    const float bx = t.bande_x, by = t.bande_y;
    const float oben = t.hoehe - by, rechts = t.breite - bx;
    const float dx = nach.x - von.x, dy = nach.y - von.y;
    float a, b;
    a = von.x - bx;
    b = nach.x - bx;
    p[0] = {bx, von.y + dy * a / (a + b), 0};
    a = oben - von.y;
    b = oben - nach.y;
    p[1] = {von.x + dx * a / (a + b), oben, 0};
    a = rechts - von.x;
    b = rechts - nach.x;
    p[2] = {rechts, von.y + dy * a / (a + b), 0};
    a = von.y - by;
    b = nach.y - by;
    p[3] = {von.x + dx * a / (a + b), by, 0};
}

bool AufBande(const Tisch& t, Vektor p, bool laengsseite) {
    if (laengsseite) return (t.xb < p.x && p.x < t.xc) || (t.xg < p.x && p.x < t.xh);
    return t.yb < p.y && p.y < t.yc;
}

bool EigeneAufDemTisch(const Spielstand& stand) {
    bool eigene[kAnzahlKugeln] = {};
    EigeneKugeln(stand, eigene);
    for (int i = 1; i < kAnzahlKugeln; ++i)
        if (eigene[i] && !stand.kugeln[i].inloch) return true;
    return false;
}
