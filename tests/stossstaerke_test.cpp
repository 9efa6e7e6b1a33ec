#include <gtest/gtest.h>

#include "hilfen.h"
#include "planner/planerkontext.h"
#include "planner/stossstaerke.h"

namespace {

const Physik kVorgabe{5.0f, 0.1f, 0.3f, 9.81f, 0.2f};
constexpr float kR = 1.75f;

// Punkte auf einer Geraden entlang x: so sind die Strecken genau.
Stoss Direkt(float winkel) {
    Stoss s{};
    s.art = WeisseKugelLoch;
    s.weiss = {10, 20, 0};
    s.ziel = {60, 20, 0};
    s.tasche = {90, 20, 0};
    s.winkel = winkel;
    return s;
}

}  // namespace

TEST(Stossstaerke, DirekterStoss) {
    EXPECT_NEAR(StartGeschwindigkeit(30.0f - 3.5f, 0.1f, kVorgabe), 0.7456f, 5e-5f);
    EXPECT_NEAR(BerechneStossstaerke(Direkt(180), kVorgabe, kR), 1.2594f, 5e-5f);
    EXPECT_NEAR(GeschwindigkeitVorStoss(150, StartGeschwindigkeit(26.5f, 0.1f, kVorgabe)), 0.8610f, 6e-5f);
    EXPECT_NEAR(BerechneStossstaerke(Direkt(150), kVorgabe, kR), 1.3309f, 5e-5f);
}

TEST(Stossstaerke, Kombination) {
    Stoss s{};
    s.art = WeisseKugelKugelLoch;
    s.weiss = {0, 20, 0};
    s.zwischenziel = {40, 20, 0};
    s.ziel = {60, 20, 0};
    s.tasche = {90, 20, 0};
    s.winkel = 150;
    s.winkel2 = 170;
    EXPECT_NEAR(BerechneStossstaerke(s, kVorgabe, kR), 1.3924f, 5e-5f);
    s.winkel = s.winkel2 = 180;
    EXPECT_NEAR(BerechneStossstaerke(s, kVorgabe, kR), 1.3114f, 5e-5f);
}

TEST(Stossstaerke, Bandenkontakt) {
    // Gerade hinein und zurück: geteilt durch k; entlang der Bande: unverändert.
    EXPECT_NEAR(GeschwindigkeitVorBande({0, 5, 0}, {0, 3, 0}, 1.0f, kVorgabe), 5.0f, 1e-5f);
    EXPECT_NEAR(GeschwindigkeitVorBande({-4, 0, 0}, {6, 0, 0}, 1.0f, kVorgabe), 1.0f, 1e-5f);
    // Dazwischen: v / sqrt(sin² h + k² cos² h)
    const double h = 30.0 * 3.14159265358979 / 180.0;
    EXPECT_NEAR(GeschwindigkeitVorBande({-1, 1.7320508f, 0}, {1, 1.7320508f, 0}, 1.0f, kVorgabe),
                1.0 / std::sqrt(std::sin(h) * std::sin(h) + 0.04 * std::cos(h) * std::cos(h)), 1e-4);
}

TEST(Stossstaerke, NotstoesseUndUnbekannteArt) {
    Stoss s{};
    s.art = NurAnspielen;
    s.weiss = {10, 10, 0};
    s.ziel = {13.5f, 10, 0};  // genau D entfernt: Strecke 0, also vend
    EXPECT_FLOAT_EQ(BerechneStossstaerke(s, kVorgabe, kR), 0.1f);
    s.ziel = {12, 10, 0};  // näher als D: negative Strecke zählt als 0
    EXPECT_FLOAT_EQ(BerechneStossstaerke(s, kVorgabe, kR), 0.1f);
    s.art = 9;
    s.ziel = {90, 40, 0};
    EXPECT_FLOAT_EQ(BerechneStossstaerke(s, kVorgabe, kR), 0.1f);
    s.art = -1;
    EXPECT_FLOAT_EQ(BerechneStossstaerke(s, kVorgabe, kR), 0.1f);
}

TEST(Stossstaerke, BandenstoesseGehenRueckwaertsUeberDieBande) {
    // Weiße – Bande – Kugel – Loch, Bande senkrecht getroffen (×5), dann gerade weiter.
    Stoss s{};
    s.art = WeisseBandeKugelLoch;
    s.weiss = {50, 20, 0};
    s.bande = {50, 2.5f, 0};
    s.ziel = {50, 30, 0};
    s.tasche = {50, 53, 0};
    s.winkel = 180;
    float v = StartGeschwindigkeit(23.0f - 3.5f, 0.1f, kVorgabe);
    v = StartGeschwindigkeit(27.5f - kR, v, kVorgabe);
    v = v / 0.2f;
    v = StartGeschwindigkeit(17.5f - kR, v, kVorgabe);
    EXPECT_NEAR(BerechneStossstaerke(s, kVorgabe, kR), v, 1e-4f);

    s.art = WeisseKugelBandeLoch;  // Weiße – Kugel – Bande – Loch
    s.weiss = {50, 45, 0};
    s.ziel = {50, 30, 0};
    s.bande = {50, 2.5f, 0};
    s.tasche = {50, 20, 0};
    v = StartGeschwindigkeit(17.5f - kR, 0.1f, kVorgabe);
    v = v / 0.2f;
    v = StartGeschwindigkeit(27.5f - 3 * kR, v, kVorgabe);
    v = StartGeschwindigkeit(15.0f, v, kVorgabe);
    EXPECT_NEAR(BerechneStossstaerke(s, kVorgabe, kR), v, 1e-4f);
}

TEST(Stossstaerke, NimmtPhysikUndRadiusDerAnfrage) {
    auto aus = [](const char* text) {
        IniDatei ini;
        ini.text = text;
        ZerlegeIniText(ini);
        return PlanerkontextAus(ini);
    };
    const Planerkontext klein = aus("[physik]\nvmax=1\n");
    const float vorher = BerechneStossstaerke(Direkt(180), klein.physik, klein.radius);
    EXPECT_NEAR(vorher, 1.2594f, 5e-5f);  // vmax begrenzt nicht
    const Planerkontext anders = aus("[physik]\nu=60\nvend=20\n[kugeln]\ndurchmesser=400\n");
    const Physik p{5.0f, 0.2f, 0.6f, 9.81f, 0.2f};
    EXPECT_FLOAT_EQ(BerechneStossstaerke(Direkt(180), anders.physik, anders.radius), BerechneStossstaerke(Direkt(180), p, 2.0f));
    EXPECT_GT(BerechneStossstaerke(Direkt(180), anders.physik, anders.radius), vorher);
}
