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

Tischgeometrie BaueTischgeometrie(const Tischkontext& tk) {
    Tischgeometrie g;
    const Tisch& t = tk.tisch;
    const Umriss& u = tk.umriss;
    const V2 mitte{static_cast<double>(t.breite) / 2, static_cast<double>(t.hoehe) / 2};
    g.radius = t.radius;

    // Die Ecken des Umrisses; hier liegen die beiden unten links (10, 11) vertauscht.
    V2 e[12], kante[12];
    for (int i = 0; i < 12; ++i) {
        const int j = i == 10 ? 11 : i == 11 ? 10 : i;
        e[i] = {u.ecken[j].x, u.ecken[j].y};
        kante[i] = {u.kanten[j].x, u.kanten[j].y};
    }
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
        {e[1], kante[1], 0},   {e[11], kante[11], 0}, {e[0], kante[0], 1},  {e[2], kante[2], 1},
        {e[10], kante[10], 2}, {e[9], kante[9], 2},   {e[3], kante[3], 3},  {e[4], kante[4], 3},
        {e[6], kante[6], 4},   {e[8], kante[8], 4},   {e[7], kante[7], 5},  {e[5], kante[5], 5},
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
