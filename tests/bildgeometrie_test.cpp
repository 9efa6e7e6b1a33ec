// Die Pixelrechnung der Tischansicht an der Ansicht von 828 × 439 Pixeln.
#include <gtest/gtest.h>

#include <cmath>

#include "anzeige/bildgeometrie.h"
#include "hilfen.h"

namespace {

const Tischkontext& tk = Vorgabetisch();
const Ansicht kAnsicht = AnsichtVon(tk.tisch, 828, 439);

class Bildgeometrie : public ::testing::Test {};

}  // namespace

TEST_F(Bildgeometrie, RundenGehtBeiDerHaelfteNachOben) {
    EXPECT_EQ(Runde(219.5), 220);
    EXPECT_EQ(Runde(219.4999), 219);
    EXPECT_EQ(Runde(-0.5), 0);
    EXPECT_EQ(Runde(-1.5), -1);
    // Kugeln weit draußen: kein Überlauf, auch nicht in den Kästen darum.
    EXPECT_EQ(Runde(5e31), 1000000000);
    EXPECT_EQ(Runde(-5e31), -1000000000);
    EXPECT_EQ(Runde(std::nan("")), 0);
    EXPECT_EQ(Rx(kAnsicht, 1.75f), 14);  // 13.54
    EXPECT_EQ(Ry(kAnsicht, 1.75f), 14);  // 13.84
    EXPECT_EQ(Rx(kAnsicht, 3.5f), 27);   // 27.08
    EXPECT_EQ(Ry(kAnsicht, 3.5f), 28);   // 27.68
}

TEST_F(Bildgeometrie, KugelInDerTischmitte) {
    // H · 27.75 / 55.5 = 219.5 rundet zu 220, gespiegelt 438 − 220.
    EXPECT_EQ(Kugelmitte(kAnsicht, 53.5f, 27.75f), (Punkt{414, 218}));
    EXPECT_EQ(TischZuPixel(kAnsicht, 53.5f, 27.75f), (Punkt{414, 218}));
    const Kasten k = Kugelkasten(kAnsicht, 53.5f, 27.75f, 1.75f);
    EXPECT_EQ(k, (Kasten{400, 204, 427, 232}));
    EXPECT_EQ(Ringeinzug(kAnsicht), 4);
    EXPECT_EQ(Eingezogen(k, 4), (Kasten{404, 208, 423, 228}));
}

TEST_F(Bildgeometrie, TischYWaechstNachOben) {
    EXPECT_EQ(TischZuPixel(kAnsicht, 0, 0), (Punkt{0, 438}));
    EXPECT_EQ(TischZuPixel(kAnsicht, 107, 55.5f), (Punkt{828, -1}));
    // Maus zurück zum Tisch: die unterste Pixelzeile ist y = 0.
    const Vektor unten = PixelZuTisch(kAnsicht, 0, 438);
    EXPECT_EQ(unten.x, 0.0f);
    EXPECT_EQ(unten.y, 0.0f);
    EXPECT_EQ(unten.z, 0.0f);
    const Vektor mitte = PixelZuTisch(kAnsicht, 414, 218);
    EXPECT_FLOAT_EQ(mitte.x, 53.5f);
    EXPECT_FLOAT_EQ(mitte.y, 220.0f * 55.5f / 439.0f);
    // Hin und zurück bleibt man auf dem Pixel.
    for (int px : {3, 200, 414, 827})
        for (int py : {0, 17, 218, 438}) {
            const Vektor t = PixelZuTisch(kAnsicht, px, py);
            EXPECT_EQ(TischZuPixel(kAnsicht, t.x, t.y), (Punkt{px, py})) << px << "," << py;
        }
}

TEST_F(Bildgeometrie, BandenUndTaschennummern) {
    const auto b = Bandenvierecke(kAnsicht, tk.umriss);
    // links: ya..yd von oben gezählt, bande_x = 2.5 → 19 Pixel
    EXPECT_EQ(b[0], (Viereck{{{0, 44}, {19, 61}, {19, 378}, {0, 395}}}));
    // oben links und rechts
    EXPECT_EQ(b[1], (Viereck{{{43, 0}, {387, 0}, {370, 20}, {60, 20}}}));
    EXPECT_EQ(b[2], (Viereck{{{441, 0}, {785, 0}, {768, 20}, {458, 20}}}));
    // rechts: an der letzten Pixelspalte W − 1 gespiegelt
    EXPECT_EQ(b[3], (Viereck{{{808, 61}, {827, 44}, {827, 395}, {808, 378}}}));
    // unten: an der letzten Pixelzeile H − 1 gespiegelt
    EXPECT_EQ(b[4], (Viereck{{{441, 438}, {458, 418}, {768, 418}, {785, 438}}}));
    EXPECT_EQ(b[5], (Viereck{{{43, 438}, {60, 418}, {370, 418}, {387, 438}}}));

    const auto t = Taschenbeschriftungen(kAnsicht, tk.tisch.xe);
    EXPECT_EQ(t[0], (Kasten{10, 409, 30, 429}));
    EXPECT_EQ(t[1], (Kasten{10, 10, 30, 30}));
    EXPECT_EQ(t[2], (Kasten{404, 409, 424, 429}));
    EXPECT_EQ(t[3], (Kasten{404, 10, 424, 30}));
    EXPECT_EQ(t[4], (Kasten{797, 409, 817, 429}));
    EXPECT_EQ(t[5], (Kasten{797, 10, 817, 30}));
}

TEST_F(Bildgeometrie, FindeKugelNimmtDieNiedrigsteUndUebergehtEingelochte) {
    Spielstand s = LeererStand(53.5f, 27.75f, halbe);
    EXPECT_EQ(FindeKugel(s, kAnsicht, 414, 218, tk.tisch.radius), 0);
    EXPECT_EQ(FindeKugel(s, kAnsicht, 414 + 13, 218, tk.tisch.radius), 0);   // 1.68 < 1.75
    EXPECT_EQ(FindeKugel(s, kAnsicht, 414 + 14, 218, tk.tisch.radius), -1);  // 1.81
    SetzeKugel(s, 5, 53.5f, 27.75f);
    SetzeKugel(s, 3, 53.5f, 27.75f);
    EXPECT_EQ(FindeKugel(s, kAnsicht, 414, 218, tk.tisch.radius), 0);
    s.kugeln[0].inloch = 1;
    EXPECT_EQ(FindeKugel(s, kAnsicht, 414, 218, tk.tisch.radius), 3);
    s.kugeln[3].inloch = 1;
    s.kugeln[5].inloch = 1;
    EXPECT_EQ(FindeKugel(s, kAnsicht, 414, 218, tk.tisch.radius), -1);
}

TEST(Dialogeinheiten, SechsViertelUndDreizehnAchtel) {
    EXPECT_EQ(DialogX(678), 1017);
    EXPECT_EQ(DialogY(437), 710);  // 710.125
    EXPECT_EQ(DialogX(552), 828);
    EXPECT_EQ(DialogY(270), 439);  // 438.75
    EXPECT_EQ(DialogX(7), 11);     // 10.5: die Hälfte von der Null weg
    EXPECT_EQ(DialogY(7), 11);     // 11.375
    EXPECT_EQ(DialogY(4), 7);      // 6.5
    EXPECT_EQ(DialogX(-7), -11);
    EXPECT_EQ(DialogY(-4), -7);
    EXPECT_EQ(DialogX(0), 0);
}
