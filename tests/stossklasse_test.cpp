// Die Stoßklasse aus den Ereignissen eines Stoßes, und dass die robuste Wahl
// jede Variante unter dem F ihrer Klasse durchspielt.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "hilfen.h"
#include "planner/robuste_proben.h"
#include "sim/stossklasse.h"

namespace {

Ereignis E(Ereignisart art, int kugel, int andere = -1) {
    return {0.0, art, static_cast<std::int8_t>(kugel), static_cast<std::int8_t>(andere), -1};
}

}  // namespace

TEST(Stossklasse, AusDenEreignissen) {
    using A = Ereignisart;
    const struct {
        const char* name;
        std::vector<Ereignis> ereignisse;
        Stossklasse soll;
    } faelle[] = {
        {"gerade ins Loch", {E(A::kugel, 0, 3), E(A::tasche, 3)}, Stossklasse::direkt},
        {"Weiße erst an die Bande", {E(A::bande, 0), E(A::kugel, 0, 3), E(A::tasche, 3)}, Stossklasse::weisseBande},
        {"Weiße nach der Kugel an der Bande", {E(A::kugel, 0, 3), E(A::bande, 0), E(A::tasche, 3)}, Stossklasse::direkt},
        {"Kugel über die Bande", {E(A::kugel, 0, 3), E(A::bande, 3), E(A::tasche, 3)}, Stossklasse::kugelBande},
        {"Kugel an der Bande, fällt nicht", {E(A::kugel, 0, 3), E(A::bande, 3), E(A::tasche, 5)}, Stossklasse::direkt},
        {"Backe zählt nicht", {E(A::backe, 0), E(A::kugel, 0, 3), E(A::tasche, 3)}, Stossklasse::direkt},
    };
    auto e = std::make_unique<Simergebnis>();
    for (const auto& f : faelle) {
        e->anzahl = 0;
        for (const Ereignis& x : f.ereignisse) e->ereignisse[e->anzahl++] = x;
        EXPECT_EQ(KlasseAus(*e), f.soll) << f.name;
    }
}

// Die Weiße einmal gerade an die 3, einmal schräg erst an die untere Bande:
// dieselben Störungen, aber jede Variante unter dem F ihrer Klasse.
TEST(Stossklasse, JedeVarianteUnterDemRauschenIhrerKlasse) {
    const Tischkontext& tk = Vorgabetisch();
    const Tischgeometrie g = BaueTischgeometrie(tk);
    const Welt w = WeltAus(IniDatei{}, Modell::R);
    Spielstand stand = LeererStand(30.0f, 27.75f, halbe);
    SetzeKugel(stand, 3, 45.0f, 27.75f);
    const double zr[] = {0.5}, zs[] = {0.0};
    const double klassen[kAnzahlStossklassen] = {1.0, 4.0, 2.0};
    Frist frist = StarteFrist(0, -1);
    auto d = std::make_unique<Durchspiel>(Durchspiel{tk, stand, g, w, 1.0, zr, zs, frist, {}, klassen});
    Variante gerade{0, {1.0f, 0.0f, 0.0f}}, schraeg{1, {0.5f, -1.5f, 0.0f}};
    EXPECT_EQ(RauschenFuer(*d, gerade), 1.0);
    EXPECT_EQ(RauschenFuer(*d, schraeg), 4.0);
    EXPECT_EQ(frist.gespielt, 2);  // je Variante ein Stoß ohne Rauschen, einmal
    EXPECT_EQ(RauschenFuer(*d, schraeg), 4.0);
    EXPECT_EQ(frist.gespielt, 2);
    d->klassenrauschen = nullptr;  // ohne Klassenrauschen: kein Stoß mehr, das F des Planers
    Variante dritte{2, {0.5f, -1.5f, 0.0f}};
    EXPECT_EQ(RauschenFuer(*d, dritte), 1.0);
    EXPECT_EQ(frist.gespielt, 2);
}
