#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "anzeige/anzeige.h"
#include "hilfen.h"
#include "planner/stossstaerke.h"
#include "planner/stoss_linien.h"
#include "planner/suche.h"

namespace {
const Tischkontext& tk = Vorgabetisch();
}  // namespace

namespace {

class Suche : public ::testing::Test {};

const Physik kVorgabe{5.0f, 0.1f, 0.3f, 9.81f, 0.2f};

// Die vorgegebene Suche mit der Vorgabe-Physik.
Planergebnis Sucht(const Spielstand& s) { return SucheStoss(tk, s, kVorgabe, 1.75f); }

// Nur die Schwarze ist eigen (keine halbe mehr auf dem Tisch; ihr inloch zählt
// dabei nicht), sie liegt bei (0, 0) außerhalb der Banden, und Kugel 1 sperrt
// den Weg dorthin: so findet keine Art etwas außer dem blinden Stoß.
Spielstand NichtsSpielbar(float x, float y) {
    Spielstand s = LeererStand(x, y, halbe);
    SetzeKugel(s, 1, x / 2, y / 2);
    return s;
}

}  // namespace

TEST_F(Suche, NurDerUngewisseStoss) {
    Spielstand s = NichtsSpielbar(30.0f, 20.0f);
    const Planergebnis p = Sucht(s);
    const Vektor stoss = p.stoss;
    EXPECT_EQ(p.protokoll, (std::vector<std::string>{
                               "\r\ncntWeisseKugelLoch=0\r\n", "cntWeisseBandeKugelLoch=0\r\n",
                               "cntWeisseKugelBandeLoch=0\r\n", "cntWeisseKugelKugelLoch=0\r\n",
                               "cntNurAnspielen=0\r\n", "cntUngewisserStoss=1\r\n", "Anzahl möglicher Stöße: 1\r\n"}));
    // Gespiegelt durch die Mitte: Richtung (107 − 60, 55.5 − 40).
    Stoss blind{};
    blind.art = UngewisserStoss;
    blind.weiss = {30, 20, 0};
    blind.ziel = {77, 35.5f, 0};
    const float staerke = BerechneStossstaerke(blind, kVorgabe, 1.75f);
    const Vektor d = Normiere({47, 15.5f, 0});
    EXPECT_FLOAT_EQ(stoss.x, d.x * staerke);
    EXPECT_FLOAT_EQ(stoss.y, d.y * staerke);
    EXPECT_EQ(stoss.z, 0.0f);
    ASSERT_EQ(p.linien.size(), 1u);
    EXPECT_EQ(p.linien[0].farbe, kGrau);
}

TEST_F(Suche, WeisseGenauInDerMitteStoesstEntlangX) {
    Spielstand s = NichtsSpielbar(53.5f, 27.75f);
    const Vektor stoss = Sucht(s).stoss;
    const float staerke = StartGeschwindigkeit(-3.5f, 0.1f, kVorgabe);  // Ziel = Weiße
    EXPECT_FLOAT_EQ(stoss.x, staerke);
    EXPECT_EQ(stoss.y, 0.0f);
    EXPECT_EQ(stoss.z, 0.0f);
}

TEST_F(Suche, VektorHatDieLaengeDerStaerkeUndZeigtNachArt) {
    for (int gruppe : {halbe, volle, alle}) {
        Spielstand s;
        SetzeStandardaufstellung(tk.tisch, s);
        s.gruppe = gruppe;
        const Planergebnis p = Sucht(s);
        const Vektor stoss = p.stoss;
        const Suchbericht& b = p.bericht;
        EXPECT_EQ(stoss.z, 0.0f);
        EXPECT_NEAR(Laenge(stoss), BerechneStossstaerke(b.bester, kVorgabe, 1.75f), 1e-5f);
        const Vektor d = Normiere(Stossrichtung(b.bester));
        EXPECT_NEAR(stoss.x / Laenge(stoss), d.x, 1e-5f);
        EXPECT_NEAR(stoss.y / Laenge(stoss), d.y, 1e-5f);
    }
    Stoss s{};
    s.weiss = {1, 1, 5};
    s.ziel = {2, 1, 0};
    s.zwischenziel = {1, 3, 0};
    s.bande = {1, 0, 0};
    const std::pair<int, Vektor> faelle[] = {{0, {1, 0, 0}}, {1, {0, -1, 0}}, {2, {1, 0, 0}}, {3, {0, 2, 0}},
                                             {4, {1, 0, 0}}, {5, {1, 0, 0}}, {17, {1, 0, 0}}};
    for (auto [art, erwartet] : faelle) {
        s.art = art;
        const Vektor d = Stossrichtung(s);
        EXPECT_EQ(d.x, erwartet.x) << art;
        EXPECT_EQ(d.y, erwartet.y) << art;
        EXPECT_EQ(d.z, 0.0f) << art;
    }
}

TEST_F(Suche, ZaehlerUndLogJeSuche) {
    Spielstand s;
    SetzeStandardaufstellung(tk.tisch, s);
    s.gruppe = alle;
    const Planergebnis p = Sucht(s);
    const Suchbericht& b = p.bericht;
    int summe = 0;
    for (int a = 0; a < 6; ++a) summe += b.anzahl[a];
    EXPECT_EQ(b.anzahl[6], summe);
    EXPECT_EQ(b.anzahl[5], 1);
    EXPECT_GT(b.anzahl[3], 0);
    // Genau sieben Zeilen, die erste beginnt mit einem Zeilenumbruch; gezeichnet wird der Beste.
    ASSERT_EQ(p.protokoll.size(), 7u);
    EXPECT_EQ(p.protokoll[0].rfind("\r\ncntWeisseKugelLoch=", 0), 0u);
    EXPECT_EQ(p.protokoll[6], "Anzahl möglicher Stöße: " + std::to_string(summe) + "\r\n");
    const std::vector<Linie> linien = StossLinien(b.bester);
    ASSERT_EQ(p.linien.size(), linien.size());
    for (std::size_t i = 0; i < linien.size(); ++i) EXPECT_EQ(p.linien[i].x2, linien[i].x2) << i;
}

TEST_F(Suche, GleicheBewertungGewinntDieFruehereArt) {
    std::vector<Stoss> liste(3);
    liste[0].art = WeisseKugelLoch;
    liste[0].bewertung = 700;
    liste[1].art = WeisseBandeKugelLoch;
    liste[1].bewertung = 600;
    liste[2].art = NurAnspielen;
    liste[2].bewertung = 600;
    SortiereStoesse(liste.data(), 3);
    EXPECT_EQ(liste[0].art, WeisseBandeKugelLoch);
    EXPECT_EQ(liste[1].art, NurAnspielen);
    // Der blinde Stoß verdrängt keinen anderen mit 3000.
    Stoss a{}, b{};
    a.art = NurAnspielen;
    a.bewertung = 3000;
    b.art = UngewisserStoss;
    b.bewertung = 3000;
    Stoss zwei[2] = {a, b};
    SortiereStoesse(zwei, 2);
    EXPECT_EQ(zwei[0].art, NurAnspielen);
}

TEST_F(Suche, SortierungGleichtDemBlasensort) {
    std::mt19937 zufall(12345);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (int runde = 0; runde < 300; ++runde) {
        const int n = static_cast<int>(zufall() % 200);
        std::vector<Stoss> a(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i) {
            a[i] = Stoss{};
            a[i].art = i;  // Herkunft merken, um Stabilität zu sehen
            const unsigned w = zufall() % 100;
            if (w < 8) a[i].bewertung = nan;
            else if (w < 12) a[i].bewertung = -0.0f;
            else if (w < 16) a[i].bewertung = 0.0f;
            else if (w < 18) a[i].bewertung = std::numeric_limits<float>::infinity();
            else a[i].bewertung = static_cast<float>(zufall() % 20);  // viele Gleichstände
        }
        std::vector<Stoss> b = a;
        SortiereStoesse(a.data(), n);
        SortiereStoesseBlasensort(b.data(), n);
        for (int i = 0; i < n; ++i) ASSERT_EQ(a[i].art, b[i].art) << "Runde " << runde << ", Platz " << i;
    }
}
