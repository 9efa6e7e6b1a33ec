#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "anzeige/bildgeometrie.h"
#include "hilfen.h"
#include "model/tisch.h"
#include "planner/pfad.h"
#include "sim/tischgeometrie.h"

namespace {
const Tischkontext& tk = Vorgabetisch();
}  // namespace

TEST(Tisch, TaschenpunkteDesVorgabetischs) {
    EXPECT_FLOAT_EQ(tk.taschenpunkte[7].x, 55.2f);
    EXPECT_FLOAT_EQ(tk.taschenpunkte[7].y, 2.5f);
    EXPECT_FLOAT_EQ(tk.taschenpunkte[17].x, 104.5f);
    EXPECT_FLOAT_EQ(tk.taschenpunkte[17].y, 51.3f);
    // Der erste Punkt jeder Tasche ist die Tasche selbst.
    const float taschen[6][2] = {{2.5f, 2.5f}, {2.5f, 53.f}, {53.5f, 2.5f}, {53.5f, 53.f}, {104.5f, 2.5f}, {104.5f, 53.f}};
    for (int p = 0; p < 6; ++p) {
        EXPECT_FLOAT_EQ(tk.taschenpunkte[3 * p].x, taschen[p][0]);
        EXPECT_FLOAT_EQ(tk.taschenpunkte[3 * p].y, taschen[p][1]);
    }
    for (const Vektor& v : tk.taschenpunkte) EXPECT_EQ(v.z, 0.0f);
}

TEST(Tisch, OhneEckabstandFallenDiePunkteJederTascheZusammen) {
    const Tischkontext tk = Geaendert([](Tisch& t) { t.tol_ecke = 0.0f; });
    for (int j = 0; j < 18; ++j) {
        EXPECT_EQ(tk.taschenpunkte[j].x, tk.taschenpunkte[j / 3 * 3].x);
        EXPECT_EQ(tk.taschenpunkte[j].y, tk.taschenpunkte[j / 3 * 3].y);
    }
}

TEST(Tisch, Standardaufstellung) {
    const Tischkontext tk = Geaendert([](Tisch& t) {
        t.kugeln[5].inloch = 1;
        t.kugeln[5].zieltasche = 4;
    });
    Spielstand s;
    std::memset(&s, 0xAB, sizeof s);
    SetzeStandardaufstellung(tk.tisch, s);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(s.kugeln[i].radius, tk.tisch.radius);
        EXPECT_EQ(s.kugeln[i].x, tk.tisch.kugeln[i].x);
        EXPECT_EQ(s.kugeln[i].y, tk.tisch.kugeln[i].y);
        EXPECT_EQ(s.kugeln[i].z, 0.0f);
    }
    EXPECT_EQ(s.kugeln[5].inloch, 1);
    EXPECT_EQ(s.kugeln[5].zieltasche, 4);
    EXPECT_EQ(s.gruppe, halbe);
}

// Planer, Simulation und Ansicht sehen denselben Umriss: dieselben zwölf
// Bandenecken, dieselben Backen hinaus zur Tischkante. Die Ansicht zählt y von
// oben (die Banden sind symmetrisch), darum ihr Vergleich auf 2 Pixel.
TEST(Tisch, DieDreiUmrisseStimmenUeberein) {
    auto gleich = [](auto a, auto b, double toleranz) { return std::abs(a.x - b.x) <= toleranz && std::abs(a.y - b.y) <= toleranz; };
    for (const float verschiebung : {0.0f, 1.5f}) {
        const Tischkontext tk = Geaendert([&](Tisch& t) {
            t.bande_x += verschiebung;
            t.xb += verschiebung;
            t.xh -= verschiebung;
            t.yb += verschiebung;
            t.yc -= verschiebung;
        });
        Vektor planer[12];
        Bandenecken(tk, planer);
        const Tischgeometrie g = BaueTischgeometrie(tk);
        std::vector<V2> umriss(std::begin(g.ecken), std::end(g.ecken));
        for (const Strecke& b : g.backen) umriss.push_back(b.b);
        for (const Vektor& e : planer)
            EXPECT_EQ(std::count_if(std::begin(g.ecken), std::end(g.ecken), [&](V2 s) { return gleich(s, V2{e.x, e.y}, 0.0); }), 1)
                << e.x << " " << e.y;

        const Ansicht a = AnsichtVon(tk.tisch, 828, 439);  // die Tischansicht des Fensters
        std::vector<Punkt> pixel;
        for (const V2& p : umriss) pixel.push_back(TischZuPixel(a, static_cast<float>(p.x), static_cast<float>(p.y)));
        std::size_t ecken = 0;
        for (const Viereck& v : Bandenvierecke(a, tk.umriss))
            for (const Punkt& p : v) {
                ++ecken;
                EXPECT_TRUE(std::any_of(pixel.begin(), pixel.end(), [&](Punkt q) { return gleich(p, q, 2); }))
                    << "Ansicht " << p.x << "," << p.y;
            }
        EXPECT_EQ(ecken, umriss.size());
    }
}
