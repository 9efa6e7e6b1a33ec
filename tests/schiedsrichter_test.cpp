#include <gtest/gtest.h>

#include "hilfen.h"
#include "planner/schiedsrichter.h"

namespace {

// Ein Stoßergebnis von Hand: welche Kugeln fielen, was die Weiße zuerst traf.
Simergebnis Ergebnis(int erste, std::initializer_list<int> versenkt) {
    Simergebnis e{};
    e.ersteBeruehrung = erste;
    for (int i = 0; i < kAnzahlKugeln; ++i) e.tasche[i] = -1;
    for (int i : versenkt) e.tasche[i] = 2;
    return e;
}

}  // namespace

TEST(Schiedsrichter, RegelnJeFall) {
    // Halbe spielen; 9 und 10 liegen noch, 3 und die Schwarze auch.
    Spielstand offen = LeererStand(50, 20, halbe);
    for (int i : {3, 8, 9, 10}) SetzeKugel(offen, i, 10.0f * i, 30.0f);
    // Nur noch die Schwarze ist eigene.
    Spielstand schwarz = LeererStand(50, 20, halbe);
    for (int i : {3, 8}) SetzeKugel(schwarz, i, 10.0f * i, 30.0f);
    // Alle: die halben sind weg, volle liegen noch – die Schwarze ist schon eigene.
    Spielstand alleOhneHalbe = schwarz;
    alleOhneHalbe.gruppe = alle;
    // Zieltaschen (die Kugeln fallen hier in Tasche 2, also Zieltasche 3):
    // eine Kugel zählt nur in ihrer, die Schwarze in einer anderen verliert.
    Spielstand gezielt = offen;
    gezielt.kugeln[9].zieltasche = 3;
    gezielt.kugeln[10].zieltasche = 1;
    Spielstand schwarzFremd = schwarz, schwarzRichtig = schwarz;
    schwarzFremd.kugeln[8].zieltasche = 1;
    schwarzRichtig.kugeln[8].zieltasche = 3;

    struct Fall {
        const char* name;
        const Spielstand* vorher;
        int erste;
        std::initializer_list<int> versenkt;
        Ursache ursache;
        int eigene;
        bool geraeumt;
    };
    const Fall faelle[] = {
        {"gelungen", &offen, 9, {9}, Ursache::keine, 1, false},
        {"zwei eigene", &offen, 10, {9, 10}, Ursache::keine, 2, false},
        {"fremde fällt mit", &offen, 9, {9, 3}, Ursache::keine, 1, false},
        {"verfehlt", &offen, 9, {}, Ursache::verfehlt, 0, false},
        {"nur fremde", &offen, 9, {3}, Ursache::verfehlt, 0, false},
        {"Weiße versenkt", &offen, 9, {9, 0}, Ursache::weisse_versenkt, 1, false},
        {"falsche erste", &offen, 3, {9}, Ursache::falsche_erste, 1, false},
        {"Schwarze zuerst", &offen, 8, {9}, Ursache::falsche_erste, 1, false},
        {"keine Berührung", &offen, -1, {}, Ursache::keine_beruehrung, 0, false},
        {"Schwarze zu früh", &offen, 9, {9, 8}, Ursache::schwarze_zu_frueh, 1, false},
        {"Schwarze zu früh vor Weiße", &offen, 9, {0, 8}, Ursache::schwarze_zu_frueh, 0, false},
        {"Schwarze zuletzt: geräumt", &schwarz, 8, {8}, Ursache::keine, 1, true},
        {"Schwarze zuletzt, Weiße folgt", &schwarz, 8, {8, 0}, Ursache::weisse_versenkt, 1, false},
        {"alle: Schwarze vor den vollen", &alleOhneHalbe, 8, {8}, Ursache::keine, 1, false},
        {"alle: volle und Schwarze", &alleOhneHalbe, 3, {3, 8}, Ursache::keine, 2, true},
        {"in ihrer Zieltasche", &gezielt, 9, {9}, Ursache::keine, 1, false},
        {"nicht in ihrer Zieltasche", &gezielt, 10, {10}, Ursache::verfehlt, 0, false},
        {"Schwarze nicht in ihrer Zieltasche", &schwarzFremd, 8, {8}, Ursache::schwarze_zu_frueh, 0, false},
        {"Schwarze in ihrer Zieltasche", &schwarzRichtig, 8, {8}, Ursache::keine, 1, true},
    };
    for (const Fall& f : faelle) {
        const Urteil u = BeurteileStoss(*f.vorher, Ergebnis(f.erste, f.versenkt));
        EXPECT_EQ(u.ursache, f.ursache) << f.name;
        EXPECT_EQ(u.erfolg, f.ursache == Ursache::keine) << f.name;
        EXPECT_EQ(u.eigeneVersenkt, f.eigene) << f.name;
        EXPECT_EQ(u.geraeumt, f.geraeumt) << f.name;
    }
    EXPECT_STREQ(Ursachenname(Ursache::schwarze_zu_frueh), "schwarze_zu_frueh");
}

#include "planner/regeln.h"

namespace {

// Ereignisse von Hand: "K a b" Kugelstoß, "B a" Bande, "E a" Ecke, "T a" Tasche.
Simergebnis Verlauf(std::initializer_list<std::pair<char, std::pair<int, int>>> folge) {
    Simergebnis e = Ergebnis(-1, {});
    for (const auto& [art, kugeln] : folge) {
        const auto [a, b] = kugeln;
        Ereignis x{0.1 * e.anzahl, Ereignisart::halt, static_cast<std::int8_t>(a), -1, -1};
        if (art == 'K') {
            x.art = Ereignisart::kugel, x.andere = static_cast<std::int8_t>(b);
            if (e.ersteBeruehrung < 0 && a == 0) e.ersteBeruehrung = b;
        }
        if (art == 'B') x.art = Ereignisart::bande;
        if (art == 'E') x.art = Ereignisart::ecke;
        if (art == 'T') x.art = Ereignisart::tasche, e.tasche[a] = 1;
        e.ereignisse[e.anzahl++] = x;
    }
    return e;
}

}  // namespace

TEST(Regeln, FoulsUndAnstoss) {
    Spielstand offen = LeererStand(50, 20, alle);  // offener Tisch
    for (int i : {3, 8, 9}) SetzeKugel(offen, i, 10.0f * i, 30.0f);
    Spielstand halb = offen;
    halb.gruppe = halbe;
    Spielstand nurSchwarz = LeererStand(50, 20, volle);
    for (int i : {8, 9}) SetzeKugel(nurSchwarz, i, 10.0f * i, 30.0f);

    struct Fall {
        const char* name;
        const Spielstand* vorher;
        Simergebnis e;
        Foul foul;
    };
    const Fall faelle[] = {
        {"offen: volle zuerst, Bande", &offen, Verlauf({{'K', {0, 3}}, {'B', {3, 0}}}), Foul::keins},
        {"offen: Schwarze zuerst", &offen, Verlauf({{'K', {0, 8}}, {'B', {8, 0}}}), Foul::falsche_erste},
        {"halbe: volle zuerst", &halb, Verlauf({{'K', {0, 3}}, {'T', {3, 0}}}), Foul::falsche_erste},
        {"eine fällt, keine Bande", &halb, Verlauf({{'K', {0, 9}}, {'T', {9, 0}}}), Foul::keins},
        {"Weiße an der Bande danach", &halb, Verlauf({{'K', {0, 9}}, {'E', {0, 0}}}), Foul::keins},
        {"Bande nur vor der Berührung", &halb, Verlauf({{'B', {0, 0}}, {'K', {0, 9}}}), Foul::keine_bande},
        {"keine Berührung", &halb, Verlauf({{'B', {0, 0}}}), Foul::keine_beruehrung},
        {"Weiße fällt", &halb, Verlauf({{'K', {0, 9}}, {'T', {9, 0}}, {'T', {0, 0}}}), Foul::weisse_versenkt},
        {"Gruppe geräumt: Schwarze erlaubt", &nurSchwarz, Verlauf({{'K', {0, 8}}, {'B', {8, 0}}}), Foul::keins},
        {"Gruppe geräumt: fremde zuerst", &nurSchwarz, Verlauf({{'K', {0, 9}}, {'B', {9, 0}}}),
         Foul::falsche_erste},
    };
    for (const Fall& f : faelle) EXPECT_EQ(PruefeFoul(*f.vorher, f.e), f.foul) << f.name;

    // Anstoß: vier verschiedene Objektkugeln an einer Bande oder eine gefallene.
    const Simergebnis vier = Verlauf({{'K', {0, 1}}, {'B', {1, 0}}, {'B', {1, 0}}, {'B', {2, 0}}, {'E', {3, 0}},
                                      {'B', {0, 0}}, {'B', {4, 0}}});
    const Simergebnis drei = Verlauf({{'K', {0, 1}}, {'B', {1, 0}}, {'B', {1, 0}}, {'B', {2, 0}}, {'E', {3, 0}},
                                      {'B', {0, 0}}});
    EXPECT_EQ(KugelnAnBande(vier), 4);
    EXPECT_TRUE(AnstossGueltig(vier));
    EXPECT_FALSE(AnstossGueltig(drei));
    EXPECT_TRUE(AnstossGueltig(Verlauf({{'K', {0, 1}}, {'T', {5, 0}}})));
}
