#include <gtest/gtest.h>

#include <cmath>

#include "geometry/vektor.h"

TEST(Vektor, WinkelSonderfallUndBekannteWerte) {
    EXPECT_EQ(Winkel({1, 0, 0}, {0, 1, 0}), 90.0f);
    EXPECT_EQ(Winkel({0, 0, 0}, {3, 4, 0}), 90.0f);  // Nullvektor: kein Teilen durch 0
    EXPECT_EQ(Winkel({0, 0, 0}, {0, 0, 0}), 90.0f);
    EXPECT_FLOAT_EQ(Winkel({1, 0, 0}, {-1, 0, 0}), 180.0f);
    EXPECT_FLOAT_EQ(Winkel({1, 0, 0}, {1, 1, 0}), 45.0f);
    EXPECT_FLOAT_EQ(Winkel({2, 0, 0}, {5, 0, 0}), 0.0f);
}

TEST(Vektor, WinkelOhneBegrenzungDesKosinus) {
    // Sucht ein Paar, bei dem der gerundete Kosinus über 1 liegt: dann NaN.
    bool gefunden = false;
    for (int i = 1; i < 2000 && !gefunden; ++i) {
        Vektor a{0.1f * static_cast<float>(i), 0.3f, 0.0f};
        Vektor b = Skaliere(a, 1.7f);
        float s = Skalarprodukt(a, b) / (Laenge(a) * Laenge(b));
        if (s > 1.0f) {
            EXPECT_TRUE(std::isnan(Winkel(a, b)));
            gefunden = true;
        }
    }
    EXPECT_TRUE(gefunden);
}

TEST(Vektor, AbstandZurGeraden) {
    EXPECT_FLOAT_EQ(AbstandZurGeraden({0, 0, 0}, {2, 0, 0}, {5, 3, 0}), 3.0f);
    // Die Lage entlang der Geraden zählt nicht: auch hinter dem Ende gilt die Verlängerung.
    EXPECT_FLOAT_EQ(AbstandZurGeraden({0, 0, 0}, {2, 0, 0}, {-50, 3, 0}), 3.0f);
    EXPECT_FALSE(std::isfinite(AbstandZurGeraden({0, 0, 0}, {0, 0, 0}, {5, 3, 0})));
}

TEST(Vektor, GrundrechenartenUndNormiere) {
    Vektor v = Addiere({1, 2, 3}, {4, 5, 6});
    EXPECT_EQ(v.x, 5.0f);
    EXPECT_EQ(v.y, 7.0f);
    EXPECT_EQ(v.z, 9.0f);
    v = Subtrahiere({1, 2, 3}, {4, 6, 8});
    EXPECT_EQ(v.x, -3.0f);
    EXPECT_EQ(v.y, -4.0f);
    EXPECT_EQ(v.z, -5.0f);
    EXPECT_EQ(Laenge({3, 4, 0}), 5.0f);
    EXPECT_EQ(Abstand({1, 1, 0}, {4, 5, 0}), 5.0f);
    Vektor n = Normiere({3, 4, 0});
    EXPECT_FLOAT_EQ(n.x, 0.6f);
    EXPECT_FLOAT_EQ(n.y, 0.8f);
    Vektor s = Skaliere({1, -2, 0.5f}, 2.0f);
    EXPECT_EQ(s.x, 2.0f);
    EXPECT_EQ(s.y, -4.0f);
    EXPECT_EQ(s.z, 1.0f);
    Vektor null = Normiere({0, 0, 0});
    EXPECT_FALSE(std::isfinite(null.x));
}
