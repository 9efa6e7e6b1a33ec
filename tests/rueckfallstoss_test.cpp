// Kappt die Grenze die robuste Wahl, trifft der gespielte Stoß trotzdem
// zuerst eine eigene Kugel, wenn es einen solchen Stoß gibt: auf schweren
// Tischen aus Partien (auch mit Ball in der Hand), hinter einer Wand fremder
// Kugeln und auf dem vollen Dreieck.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "hilfen.h"
#include "planner/regeln.h"
#include "planner/robuste_suche.h"
#include "sim/simulation.h"

namespace {

const Tischkontext& tk = Vorgabetisch();

// Eine Lage, wie das Protokoll von spieltisch sie schreibt: x, y, eingelocht.
struct Tischlage {
    const char* name;
    std::int32_t gruppe;
    float kugeln[kAnzahlKugeln][3];
};

// Drei Lagen aus Partien, in denen die gekappte Wahl nichts traf (die letzte
// mit Ball in der Hand: der Tisch legte die Weiße hinter eine Kugel), und
// eine Weiße hinter einer Wand fremder Kugeln: dort geht es nur über Banden.
const Tischlage kLagen[] = {
    {"Partie3",
     volle,
     {{95.173f, 8.325f, 0}, {102.842f, 49.408f, 1}, {100.901f, 51.349f, 1}, {103.228f, 6.478f, 1},
      {102.682f, 5.932f, 1}, {101.554f, 4.804f, 1}, {80.125f, 24.978f, 0}, {50.194f, 53.0f, 1},
      {82.565f, 27.723f, 0}, {87.509f, 27.217f, 0}, {30.097f, 17.173f, 0}, {76.153f, 22.849f, 0},
      {82.298f, 19.635f, 0}, {83.057f, 37.718f, 0}, {88.624f, 21.579f, 0}, {97.923f, 26.027f, 0}}},
    {"Partie18",
     volle,
     {{9.283f, 23.321f, 0}, {91.193f, 27.743f, 0}, {78.143f, 29.26f, 0}, {88.194f, 25.94f, 0},
      {82.059f, 29.862f, 0}, {4.619f, 5.631f, 1}, {82.043f, 25.93f, 0}, {91.287f, 31.252f, 0},
      {85.059f, 27.722f, 0}, {99.937f, 11.608f, 0}, {102.352f, 5.602f, 1}, {88.668f, 33.594f, 0},
      {88.155f, 29.486f, 0}, {85.545f, 31.83f, 0}, {85.094f, 24.213f, 0}, {97.371f, 25.304f, 0}}},
    {"BallInDerHand",
     volle,
     {{76.875f, 18.672f, 0}, {85.535f, 23.672f, 0}, {85.092f, 31.283f, 0}, {4.355f, 49.605f, 1},
      {91.213f, 24.266f, 0}, {88.679f, 21.835f, 0}, {82.042f, 29.562f, 0}, {102.228f, 50.022f, 1},
      {85.072f, 27.754f, 0}, {91.219f, 27.767f, 0}, {100.802f, 43.146f, 0}, {98.074f, 25.689f, 0},
      {78.126f, 26.205f, 0}, {82.058f, 25.682f, 0}, {88.236f, 29.598f, 0}, {88.14f, 26.02f, 0}}},
    {"HinterDerWand",
     halbe,
     {{20.0f, 27.75f, 0}, {27.0f, 21.75f, 0}, {27.0f, 24.75f, 0}, {27.0f, 27.75f, 0},
      {27.0f, 30.75f, 0}, {27.0f, 33.75f, 0}, {1, 1, 1}, {1, 1, 1},
      {60.0f, 45.0f, 0}, {90.0f, 27.75f, 0}, {1, 1, 1}, {1, 1, 1},
      {1, 1, 1}, {1, 1, 1}, {1, 1, 1}, {1, 1, 1}}},
};

Spielstand StandAus(const Tischlage& l) {
    Spielstand s = LeererStand(l.kugeln[0][0], l.kugeln[0][1], l.gruppe);
    for (int i = 1; i < kAnzahlKugeln; ++i)
        if (l.kugeln[i][2] == 0) SetzeKugel(s, i, l.kugeln[i][0], l.kugeln[i][1]);
    return s;
}

// Die erste Kugel, die der Stoß ohne Rauschen in der Welt des Planers trifft.
int ErsteKugel(const Spielstand& s, Vektor stoss) {
    Simergebnis e;
    Simuliere(BaueTischgeometrie(tk), WeltAus(IniDatei{}, Modell::R), s, stoss, e);
    return e.ersteBeruehrung;
}

bool Erlaubt(const Spielstand& s, int kugel) {
    bool erlaubt[kAnzahlKugeln];
    ErlaubteErste(s, erlaubt);
    return kugel > 0 && erlaubt[kugel];
}

// Gibt es einen Stoß, der zuerst eine erlaubte Kugel trifft? Rundum in
// ganzen Grad, sanft und fest.
bool KontaktMoeglich(const Spielstand& s) {
    for (float staerke : {1.6f, 4.5f})
        for (int a = 0; a < 360; ++a) {
            const double w = a * std::numbers::pi / 180.0;
            const Vektor v{static_cast<float>(staerke * std::cos(w)), static_cast<float>(staerke * std::sin(w)), 0.0f};
            if (Erlaubt(s, ErsteKugel(s, v))) return true;
        }
    return false;
}

// Die robuste Wahl mit einer Zeitgrenze in ms oder einem Budget an Stößen.
Planergebnis Gekappt(const Spielstand& s, int zeitgrenze, std::int64_t stoesse) {
    Planerkontext pk = PlanerkontextAus(IniDatei{});
    pk.einstellung.zeitgrenze = zeitgrenze;
    pk.einstellung.stoesse = stoesse;
    return SucheStossRobust(tk, pk, s);
}

}  // namespace

TEST(Rueckfallstoss, GekapptTrifftZuerstEineEigeneKugel) {
    std::vector<std::pair<std::string, Spielstand>> staende;
    for (const Tischlage& l : kLagen) staende.push_back({l.name, StandAus(l)});
    Spielstand dreieck;
    SetzeStandardaufstellung(tk.tisch, dreieck);
    dreieck.gruppe = alle;
    staende.push_back({"Anstoss", dreieck});
    // 1 ms, ein einziger Stoß, und fünfzig: dann steht schon eine Probe, die nichts belegt.
    const std::pair<int, std::int64_t> grenzen[] = {{1, -1}, {0, 1}, {0, 50}};
    for (const auto& [name, s] : staende) {
        ASSERT_TRUE(KontaktMoeglich(s)) << name;
        for (const auto& [ms, stoesse] : grenzen) {
            const Planergebnis p = Gekappt(s, ms, stoesse);
            const int erste = ErsteKugel(s, p.stoss);
            EXPECT_TRUE(Erlaubt(s, erste)) << name << " " << ms << " ms, " << stoesse << " Stöße: zuerst " << erste;
            if (stoesse > 0) {
                EXPECT_TRUE(p.bericht.gekappt) << name;
            }
        }
    }
}

TEST(Rueckfallstoss, UngekapptBleibtDieWahlUnberuehrt) {
    // Ohne Grenze zählt der Rückfallstoß nicht: kein Satz über ihn im Protokoll.
    for (const Tischlage& l : kLagen) {
        const Planergebnis p = Gekappt(StandAus(l), 0, -1);
        std::string log;
        for (const std::string& z : p.protokoll) log += z;
        EXPECT_FALSE(p.bericht.gekappt) << l.name;
        EXPECT_EQ(log.find("Rückfallstoß"), std::string::npos) << l.name << log;
    }
}
