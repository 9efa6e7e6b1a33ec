#include "sim/tischgeometrie.h"

namespace {

// Die Normale zeigt zu dem Punkt, auf dessen Seite gespielt wird.
Strecke Baue(V2 a, V2 b, V2 spielseite) {
    Strecke s;
    s.a = a;
    s.b = b;
    s.laenge = Betrag(b - a);
    s.richtung = Einheit(b - a);
    s.normale = Senkrecht(s.richtung);
    if (Skalar(s.normale, spielseite - a) < 0.0) s.normale = -s.normale;
    return s;
}

}  // namespace

Tischgeometrie BaueTischgeometrie(const Tisch& t) {
    Tischgeometrie g;
    const double W = t.breite, H = t.hoehe, BX = t.bande_x, BY = t.bande_y;
    const double R = W - BX, O = H - BY;
    const V2 mitte{W / 2, H / 2};
    g.radius = t.radius;

    // Dieselben zwölf Punkte wie Bandenecken() im Planer.
    const V2 e[12] = {{BX, t.yc}, {BX, t.yb}, {t.xb, O}, {t.xc, O}, {t.xg, O}, {t.xh, O},
                      {R, t.yb},  {R, t.yc},  {t.xh, BY}, {t.xg, BY}, {t.xc, BY}, {t.xb, BY}};
    for (int i = 0; i < 12; ++i) g.ecken[i] = e[i];

    g.banden[0] = Baue(e[1], e[0], mitte);
    g.banden[1] = Baue(e[6], e[7], mitte);
    g.banden[2] = Baue(e[11], e[10], mitte);
    g.banden[3] = Baue(e[9], e[8], mitte);
    g.banden[4] = Baue(e[2], e[3], mitte);
    g.banden[5] = Baue(e[4], e[5], mitte);

    // Taschenmäuler zwischen den beiden Ecken jeder Tasche; Tasche wie im Tischmodell.
    const V2 maul[6][2] = {{e[1], e[11]}, {e[0], e[2]}, {e[10], e[9]}, {e[3], e[4]}, {e[6], e[8]}, {e[7], e[5]}};
    for (int p = 0; p < 6; ++p) g.maeuler[p] = Baue(maul[p][0], maul[p][1], mitte);

    // Die Backen: von der Bandenecke hinaus zur Tischkante, wie die
    // Bandenvielecke der Ansicht. Gespielt wird auf der Seite des Mauls.
    struct Backe {
        V2 ecke, kante;
        int tasche;
    };
    const Backe b[12] = {
        {e[1], {0, t.ya}, 0},  {e[11], {t.xa, 0}, 0},  {e[0], {0, t.yd}, 1},  {e[2], {t.xa, H}, 1},
        {e[10], {t.xd, 0}, 2}, {e[9], {t.xf, 0}, 2},   {e[3], {t.xd, H}, 3},  {e[4], {t.xf, H}, 3},
        {e[6], {W, t.ya}, 4},  {e[8], {t.xi, 0}, 4},   {e[7], {W, t.yd}, 5},  {e[5], {t.xi, H}, 5},
    };
    for (int i = 0; i < 12; ++i) {
        const Strecke& m = g.maeuler[b[i].tasche];
        g.backen[i] = Baue(b[i].ecke, b[i].kante, (m.a + m.b) * 0.5);
    }
    return g;
}

int TascheJenseits(const Tischgeometrie& g, V2 p) {
    for (int t = 0; t < 6; ++t) {
        const Strecke& m = g.maeuler[t];
        const double laengs = Skalar(p - m.a, m.richtung);
        if (Skalar(p - m.a, m.normale) < 0.0 && laengs >= 0.0 && laengs <= m.laenge) return t;
    }
    return -1;
}
