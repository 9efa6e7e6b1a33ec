#include <gtest/gtest.h>

#include "hilfen.h"
#include "model/tisch.h"

TEST(Tisch, TaschenpunkteDesVorgabetischs) {
    LadeVorgabetisch();
    EXPECT_FLOAT_EQ(Taschenpunkte[7].x, 55.2f);
    EXPECT_FLOAT_EQ(Taschenpunkte[7].y, 2.5f);
    EXPECT_FLOAT_EQ(Taschenpunkte[17].x, 104.5f);
    EXPECT_FLOAT_EQ(Taschenpunkte[17].y, 51.3f);
    // Der erste Punkt jeder Tasche ist die Tasche selbst.
    const float taschen[6][2] = {{2.5f, 2.5f}, {2.5f, 53.f}, {53.5f, 2.5f}, {53.5f, 53.f}, {104.5f, 2.5f}, {104.5f, 53.f}};
    for (int p = 0; p < 6; ++p) {
        EXPECT_FLOAT_EQ(Taschenpunkte[3 * p].x, taschen[p][0]);
        EXPECT_FLOAT_EQ(Taschenpunkte[3 * p].y, taschen[p][1]);
    }
    for (const Vektor& v : Taschenpunkte) EXPECT_EQ(v.z, 0.0f);
}

TEST(Tisch, OhneEckabstandFallenDiePunkteJederTascheZusammen) {
    LadeVorgabetisch();
    tisch.tol_ecke = 0.0f;
    BerechneTaschenpunkte();
    for (int j = 0; j < 18; ++j) {
        EXPECT_EQ(Taschenpunkte[j].x, Taschenpunkte[j / 3 * 3].x);
        EXPECT_EQ(Taschenpunkte[j].y, Taschenpunkte[j / 3 * 3].y);
    }
    LadeVorgabetisch();
}

TEST(Tisch, Standardaufstellung) {
    LadeVorgabetisch();
    tisch.kugeln[5].inloch = 1;
    tisch.kugeln[5].zieltasche = 4;
    Spielstand s;
    std::memset(&s, 0xAB, sizeof s);
    SetzeStandardaufstellung(s);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(s.kugeln[i].radius, tisch.radius);
        EXPECT_EQ(s.kugeln[i].x, tisch.kugeln[i].x);
        EXPECT_EQ(s.kugeln[i].y, tisch.kugeln[i].y);
        EXPECT_EQ(s.kugeln[i].z, 0.0f);
    }
    EXPECT_EQ(s.kugeln[5].inloch, 1);
    EXPECT_EQ(s.kugeln[5].zieltasche, 4);
    EXPECT_EQ(s.gruppe, halbe);
    LadeVorgabetisch();
}
