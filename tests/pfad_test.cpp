#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "hilfen.h"
#include "planner/pfad.h"

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

class Pfad : public ::testing::Test {
protected:
    Tischkontext tk = VorgabeKontext();  // je Test frisch: manche ändern Toleranzen
};

}  // namespace

TEST_F(Pfad, EigeneKugelnNachGruppe) {
    Spielstand s{};
    bool e[16];
    s.gruppe = halbe;
    EigeneKugeln(s, e);
    for (int i = 1; i <= 7; ++i) EXPECT_FALSE(e[i]) << i;
    for (int i = 9; i <= 15; ++i) EXPECT_TRUE(e[i]) << i;
    EXPECT_FALSE(e[8]);

    s.gruppe = volle;
    s.kugeln[3].inloch = 1;
    EigeneKugeln(s, e);
    for (int i = 1; i <= 7; ++i) EXPECT_EQ(e[i], i != 3) << i;
    for (int i = 9; i <= 15; ++i) EXPECT_FALSE(e[i]) << i;
    EXPECT_FALSE(e[8]);

    // Alle vollen weg: die Schwarze wird eigen, ihr eigenes inloch zählt nicht.
    for (int i = 1; i <= 7; ++i) s.kugeln[i].inloch = 1;
    s.kugeln[8].inloch = 1;
    EigeneKugeln(s, e);
    EXPECT_TRUE(e[8]);
}

TEST_F(Pfad, EigeneKugelnBeiAlleUndUnbekannterGruppe) {
    Spielstand s{};
    bool e[16];
    s.gruppe = alle;
    EigeneKugeln(s, e);
    for (int i = 1; i <= 15; ++i) EXPECT_EQ(e[i], i != 8) << i;
    // Bei "alle" entscheiden nur die halben über die Schwarze.
    for (int i = 9; i <= 15; ++i) s.kugeln[i].inloch = 1;
    EigeneKugeln(s, e);
    EXPECT_TRUE(e[8]);
    EXPECT_TRUE(e[1]);

    Spielstand t{};
    t.gruppe = 7;
    EigeneKugeln(t, e);
    for (int i = 1; i <= 15; ++i) EXPECT_EQ(e[i], i == 8) << i;
}

TEST_F(Pfad, TascheErlaubt) {
    Spielstand s{};
    s.kugeln[4].zieltasche = 2;
    for (int j = 0; j < 18; ++j) EXPECT_EQ(TascheErlaubt(s, 4, j), j >= 3 && j <= 5) << j;
    s.kugeln[4].zieltasche = 0;
    for (int j = 0; j < 18; ++j) EXPECT_TRUE(TascheErlaubt(s, 4, j));
    for (int zt : {7, -1, 100}) {
        s.kugeln[4].zieltasche = zt;
        for (int j = 0; j < 18; ++j) EXPECT_FALSE(TascheErlaubt(s, 4, j));
    }
}

TEST_F(Pfad, AnspielpunktLiegtZweiRadienHinterDerKugel) {
    Vektor g = Anspielpunkt({53.5f, 12.5f, 0}, {53.5f, 2.5f, 0}, 1.75f);
    EXPECT_FLOAT_EQ(g.x, 53.5f);
    EXPECT_FLOAT_EQ(g.y, 16.0f);
    EXPECT_EQ(g.z, 0.0f);
    g = Anspielpunkt({10, 10, 0}, {13, 14, 0}, 2.5f);  // Richtung (-3,-4)/5 · 5
    EXPECT_FLOAT_EQ(g.x, 7.0f);
    EXPECT_FLOAT_EQ(g.y, 6.0f);
}

TEST_F(Pfad, WinkelZulaessigStreng) {
    EXPECT_FALSE(WinkelZulaessig(tk.tisch, 95.0f));
    EXPECT_TRUE(WinkelZulaessig(tk.tisch, 95.001f));
    EXPECT_TRUE(WinkelZulaessig(tk.tisch, 180.0f));
    EXPECT_FALSE(WinkelZulaessig(tk.tisch, kNaN));
}

TEST_F(Pfad, ImSpielfeldStrengUndOhneNaN) {
    const float r = 1.75f;
    EXPECT_TRUE(ImSpielfeld(tk.tisch, {50, 20, 0}, r));
    EXPECT_FALSE(ImSpielfeld(tk.tisch, {50, 4.25f, 0}, r));  // genau r von der unteren Bande
    EXPECT_TRUE(ImSpielfeld(tk.tisch, {50, 4.26f, 0}, r));
    EXPECT_FALSE(ImSpielfeld(tk.tisch, {50, 51.25f, 0}, r));
    EXPECT_FALSE(ImSpielfeld(tk.tisch, {4.25f, 20, 0}, r));
    EXPECT_FALSE(ImSpielfeld(tk.tisch, {102.75f, 20, 0}, r));
    EXPECT_FALSE(ImSpielfeld(tk.tisch, {kNaN, 20, 0}, r));
    EXPECT_FALSE(ImSpielfeld(tk.tisch, {50, kNaN, 0}, r));
}

TEST_F(Pfad, KugelImWegGrenzeGenau) {
    // Mit tol_abstand 0 ist die Grenze 2r = 3.5 genau darstellbar.
    tk.tisch.tol_abstand = 0.0f;
    Spielstand s = LeererStand(10, 40, volle);
    const Vektor von{30, 20, 0}, nach{50, 20, 0};
    SetzeKugel(s, 5, 40, 23.5f);
    EXPECT_FALSE(KugelImWeg(tk, s, von, nach, -1, -1));  // genau an der Grenze: frei
    SetzeKugel(s, 5, 40, 23.49f);
    EXPECT_TRUE(KugelImWeg(tk, s, von, nach, -1, -1));
    EXPECT_FALSE(KugelImWeg(tk, s, von, nach, 5, -1));
    EXPECT_FALSE(KugelImWeg(tk, s, von, nach, -1, 5));
    s.kugeln[5].inloch = 1;
    EXPECT_FALSE(KugelImWeg(tk, s, von, nach, -1, -1));
}

TEST_F(Pfad, KugelImWegNurInDerBoxVonZweiRadien) {
    // Die Box reicht 2r weit, die Grenze 2r + tol_abstand: eine Kugel seitlich
    // zwischen beiden liegt außerhalb der Box und stört einen achsparallelen Weg nicht.
    Spielstand s = LeererStand(10, 40, volle);
    SetzeKugel(s, 5, 40, 23.6f);
    EXPECT_FALSE(KugelImWeg(tk, s, {30, 20, 0}, {50, 20, 0}, -1, -1));
    // Schräg liegt sie in der Box, und dann zählt die volle Grenze 3.9:
    // Abstand etwa 3.66, also nur wegen tol_abstand im Weg.
    SetzeKugel(s, 5, 40, 27.1f);
    EXPECT_TRUE(KugelImWeg(tk, s, {30, 20, 0}, {50, 26.5f, 0}, -1, -1));
    tk.tisch.tol_abstand = 0.0f;
    EXPECT_FALSE(KugelImWeg(tk, s, {30, 20, 0}, {50, 26.5f, 0}, -1, -1));
}

TEST_F(Pfad, KugelImWegInDerBoxAuchNebenDerVerlaengerung) {
    Spielstand s = LeererStand(10, 40, volle);
    const Vektor von{30, 20, 0}, nach{50, 20, 0};
    SetzeKugel(s, 2, 53.5f, 21);  // 2r hinter dem Ende, Rand gehört zur Box
    EXPECT_TRUE(KugelImWeg(tk, s, von, nach, -1, -1));
    SetzeKugel(s, 2, 53.6f, 21);  // außerhalb der Box
    EXPECT_FALSE(KugelImWeg(tk, s, von, nach, -1, -1));
}

TEST_F(Pfad, DieWeisseIstNieHindernis) {
    Spielstand s = LeererStand(40, 20, volle);
    EXPECT_FALSE(KugelImWeg(tk, s, {30, 20, 0}, {50, 20, 0}, -1, -1));
}

TEST_F(Pfad, KugelImWegNaNIstZuNah) {
    Spielstand s = LeererStand(10, 40, volle);
    SetzeKugel(s, 3, 40, 30);
    // Weg der Länge 0: Richtung nicht normierbar, Abstand NaN, also im Weg.
    EXPECT_TRUE(KugelImWeg(tk, s, {40, 30, 0}, {40, 30, 0}, -1, -1));
    // Ein NaN-Punkt (Bandenpunkt auf der Linie) lässt nichts durch.
    EXPECT_TRUE(KugelImWeg(tk, s, {kNaN, 30, 0}, {40, 30, 0}, -1, -1));
}

TEST_F(Pfad, BandeneckeAnDerMitteltasche) {
    Spielstand s = LeererStand(10, 40, volle);
    EXPECT_TRUE(BandeneckeImWeg(tk, s, {40, 4.25f, 0}, {60, 4.25f, 0}));
    EXPECT_FALSE(BandeneckeImWeg(tk, s, {40, 20, 0}, {60, 20, 0}));
    // Knapp außerhalb der Grenze r + tol_abstand = 2.15
    EXPECT_FALSE(BandeneckeImWeg(tk, s, {40, 4.66f, 0}, {47.75f, 4.66f, 0}));
    Vektor e[12];
    Bandenecken(tk, e);
    EXPECT_FLOAT_EQ(e[0].x, 2.5f);
    EXPECT_FLOAT_EQ(e[0].y, 47.75f);
    EXPECT_FLOAT_EQ(e[5].x, 99.25f);
    EXPECT_FLOAT_EQ(e[5].y, 53.0f);
    EXPECT_FLOAT_EQ(e[7].x, 104.5f);
    EXPECT_FLOAT_EQ(e[11].x, 47.75f);
    EXPECT_FLOAT_EQ(e[11].y, 2.5f);
}

TEST_F(Pfad, WinkelAmPunkt) {
    EXPECT_FLOAT_EQ(WinkelAmPunkt({0, 0, 0}, {1, 0, 0}, {2, 0, 0}), 180.0f);
    EXPECT_FLOAT_EQ(WinkelAmPunkt({0, 0, 5}, {1, 0, 0}, {1, 1, -3}), 90.0f);  // z zählt nicht
}

TEST_F(Pfad, BandenPunkteNachDemSpiegelgesetz) {
    Vektor p[4];
    BandenPunkte(tk.tisch, {10, 10, 0}, {30, 10, 0}, p);
    EXPECT_FLOAT_EQ(p[3].x, 20.0f);
    EXPECT_FLOAT_EQ(p[3].y, 2.5f);
    EXPECT_FLOAT_EQ(p[1].x, 20.0f);
    EXPECT_FLOAT_EQ(p[1].y, 53.0f);
    BandenPunkte(tk.tisch, {10, 10, 0}, {10, 30, 0}, p);
    EXPECT_FLOAT_EQ(p[0].x, 2.5f);
    EXPECT_FLOAT_EQ(p[0].y, 20.0f);
    EXPECT_FLOAT_EQ(p[2].x, 104.5f);
    EXPECT_FLOAT_EQ(p[2].y, 20.0f);
    // Beide Punkte auf der unteren Linie: a + b = 0, der Punkt ist NaN.
    BandenPunkte(tk.tisch, {10, 2.5f, 0}, {30, 2.5f, 0}, p);
    EXPECT_TRUE(std::isnan(p[3].x));
    EXPECT_FALSE(AufBande(tk.tisch, p[3], true));
    EXPECT_FALSE(WinkelZulaessig(tk.tisch, WinkelAmPunkt({20, 20, 0}, {10, 2.5f, 0}, p[3])));
}

TEST_F(Pfad, AufBandeStreng) {
    EXPECT_TRUE(AufBande(tk.tisch, {20, 2.5f, 0}, true));
    EXPECT_FALSE(AufBande(tk.tisch, {7.75f, 2.5f, 0}, true));
    EXPECT_FALSE(AufBande(tk.tisch, {47.75f, 2.5f, 0}, true));
    EXPECT_FALSE(AufBande(tk.tisch, {53.5f, 2.5f, 0}, true));
    EXPECT_TRUE(AufBande(tk.tisch, {60, 53, 0}, true));
    EXPECT_FALSE(AufBande(tk.tisch, {99.25f, 53, 0}, true));
    // kurze Banden: nur y zählt
    EXPECT_TRUE(AufBande(tk.tisch, {2.5f, 20, 0}, false));
    EXPECT_TRUE(AufBande(tk.tisch, {500, 20, 0}, false));
    EXPECT_FALSE(AufBande(tk.tisch, {2.5f, 7.75f, 0}, false));
    EXPECT_FALSE(AufBande(tk.tisch, {2.5f, 47.75f, 0}, false));
    EXPECT_FALSE(AufBande(tk.tisch, {2.5f, kNaN, 0}, false));
}

TEST_F(Pfad, AnteilBildetDasProduktZuerst) {
    EXPECT_FLOAT_EQ(Anteil(250, 27.5f, 117.17f), 250.0f * 27.5f / 117.17f);
    // Produkt zuerst: 3e38 · 10 läuft über, bevor geteilt wird.
    EXPECT_TRUE(std::isinf(Anteil(3e38f, 10.0f, 100.0f)));
}

TEST_F(Pfad, SchnelleWinkelpruefungGleichtDerGenauen) {
    // Der arccos wird nur nahe der Grenze gerechnet; das Ergebnis muss immer
    // dasselbe sein wie WinkelZulaessig(tk.tisch, Winkel(u, v)), auch genau an der Grenze.
    std::mt19937 zufall(99);
    std::uniform_real_distribution<float> koord(-60.0f, 60.0f);
    for (float tol : {5.0f, 0.0f, 30.0f, 85.0f, 88.9f, 89.5f, 90.0f, 100.0f, 42949672.0f}) {
        tk.tisch.tol_winkel = tol;
        const Winkelgrenze g = WinkelgrenzeVon(tk.tisch);
        for (int i = 0; i < 200000; ++i) {
            const Vektor u{koord(zufall), koord(zufall), 0}, v{koord(zufall), koord(zufall), 0};
            ASSERT_EQ(WinkelZulaessig(g, u, v), WinkelZulaessig(tk.tisch, Winkel(u, v))) << i;
        }
        // Paare genau um die Grenze herum
        const double grenze = (90.0 + tol) / 57.29577951308232;
        for (int i = -2000; i <= 2000; ++i) {
            const double w = grenze + i * 1e-8;
            const Vektor u{10, 0, 0}, v{static_cast<float>(7 * std::cos(w)), static_cast<float>(7 * std::sin(w)), 0};
            ASSERT_EQ(WinkelZulaessig(g, u, v), WinkelZulaessig(tk.tisch, Winkel(u, v))) << i;
        }
        ASSERT_EQ(WinkelZulaessig(g, {0, 0, 0}, {1, 0, 0}), WinkelZulaessig(tk.tisch, 90.0f));
        ASSERT_FALSE(WinkelZulaessig(g, {kNaN, 0, 0}, {1, 0, 0}));
    }
}
