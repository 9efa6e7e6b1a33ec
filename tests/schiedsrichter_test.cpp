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
    LadeVorgabetisch();
    // Halbe spielen; 9 und 10 liegen noch, 3 und die Schwarze auch.
    Spielstand offen = LeererStand(50, 20, halbe);
    for (int i : {3, 8, 9, 10}) SetzeKugel(offen, i, 10.0f * i, 30.0f);
    // Nur noch die Schwarze ist eigene.
    Spielstand schwarz = LeererStand(50, 20, halbe);
    for (int i : {3, 8}) SetzeKugel(schwarz, i, 10.0f * i, 30.0f);
    // Alle: die halben sind weg, volle liegen noch – die Schwarze ist schon eigene.
    Spielstand alleOhneHalbe = schwarz;
    alleOhneHalbe.gruppe = alle;

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
