#include <gtest/gtest.h>

#include "anzeige/anzeige.h"
#include "hilfen.h"
#include "planner/stoss_linien.h"

TEST(Anzeige, LogFormate) {
    EXPECT_EQ(FormatiereLog("cntNurAnspielen=%d\r\n", 4), "cntNurAnspielen=4\r\n");
    EXPECT_EQ(FormatiereLog("Server gestartet...   (IP: %s Port: %d) \r\n", "10.0.0.5", 2222),
              "Server gestartet...   (IP: 10.0.0.5 Port: 2222) \r\n");
    EXPECT_EQ(FormatiereLog("%f|%f", 1.0 / 3, -2.5), "0.33|-2.50");
    EXPECT_EQ(FormatiereLog("100%% sicher"), "100% sicher");
    EXPECT_EQ(FormatiereLog("%5d|%x|%.3f", 7), "5d|x|.3f");  // Breiten und Flags gibt es nicht
    EXPECT_EQ(FormatiereLog("Ende%"), "Ende");
    EXPECT_EQ(FormatiereLog(""), "");
    EXPECT_EQ(FormatiereLog(nullptr), "");
    EXPECT_EQ(FormatiereLog("[%s]", static_cast<const char*>(nullptr)), "[(null)]");
    EXPECT_EQ(FormatiereLog("%d", -2147483647 - 1), "-2147483648");
    EXPECT_EQ(FormatiereLog(std::string(2000, 'a').c_str()).size(), 1023u);
    EXPECT_EQ(FormatiereLog("%f", 1e300).size(), 304u);
    EXPECT_EQ(FormatiereLog("%s%s", std::string(1000, 'b').c_str(), std::string(1000, 'c').c_str()).size(), 1023u);
}

TEST(Anzeige, SchreibeLogUndLoescheLogGehenAnDieAnzeige) {
    Aufzeichnung a;
    const Anzeige anzeige = AufzeichnendeAnzeige(a);
    SchreibeLog(anzeige, "a=%d\r\n", 1);
    SchreibeLog(anzeige, "b\r\n");
    EXPECT_EQ(a.log, "a=1\r\nb\r\n");
    LoescheLog(anzeige);
    EXPECT_EQ(a.log, "");
}

TEST(Anzeige, KugelListe) {
    Spielstand s = LeererStand(41.3f, 6.7f, halbe);
    std::string text = KugelnText(s);
    EXPECT_EQ(text.rfind("Kugeln:\n-------------------\nweiß:\t41.300 / 6.700\n 1:\tim Loch!\n", 0), 0u);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 18);  // zwei Kopfzeilen, weiß, 15 Kugeln
    EXPECT_NE(text.find("15:\tim Loch!\n"), std::string::npos);
    SetzeKugel(s, 7, 20.5f, 10.25f);
    EXPECT_NE(KugelnText(s).find("\n 7:\t20.500 / 10.250\n"), std::string::npos);
    // Weit außerhalb des Tisches: gekürzt, nie übergelaufen.
    for (int i = 0; i < 16; ++i) SetzeKugel(s, i, 3e38f, -3e38f);
    EXPECT_EQ(KugelnText(s).size(), 554u);

    EXPECT_EQ(GruppenText(0), "halb");
    EXPECT_EQ(GruppenText(1), "voll");
    EXPECT_EQ(GruppenText(2), "beide");
    EXPECT_EQ(GruppenText(7), "7");
    EXPECT_EQ(GruppenText(-3), "-3");
    s.kugeln[8].zieltasche = 4;
    EXPECT_EQ(ZieltaschenText(s), "4");
}

TEST(Anzeige, VektorFelder) {
    std::string t[4];
    VektorTexte({3, 4, 0}, t);
    EXPECT_EQ(t[0], "3.000");
    EXPECT_EQ(t[1], "4.000");
    EXPECT_EQ(t[2], "0.000");
    EXPECT_EQ(t[3], "5.000");
    VektorTexte({-3e38f, 0, 0}, t);
    EXPECT_EQ(t[0].size(), 19u);
    EXPECT_EQ(t[3].size(), 19u);  // Quadrate in double: 9e76 läuft nicht über
    EXPECT_EQ(t[3].rfind("30000000", 0), 0u);
    Aufzeichnung a;
    ZeigeVektor(AufzeichnendeAnzeige(a), {0.5f, -0.25f, 0});
    EXPECT_EQ(a.felder[FeldX], "0.500");
    EXPECT_EQ(a.felder[FeldY], "-0.250");
    EXPECT_EQ(a.felder[FeldBetrag], "0.559");
}

TEST(Anzeige, StossLinienNachArt) {
    Stoss s{};
    s.weiss = {1, 1, 0};
    s.ziel = {2, 2, 0};
    s.tasche = {3, 3, 0};
    s.bande = {4, 4, 0};
    s.zwischenziel = {5, 5, 0};
    const std::uint32_t farben[6][3] = {{kBlau, kRot}, {kBlau, kRot, kRot}, {kBlau, kBlau, kRot},
                                        {kBlau, kBlau, kRot}, {kRot}, {kGrau}};
    const std::size_t anzahl[6] = {2, 3, 3, 3, 1, 1};
    for (int art = 0; art < 6; ++art) {
        s.art = art;
        auto linien = StossLinien(s);
        ASSERT_EQ(linien.size(), anzahl[art]);
        for (std::size_t i = 0; i < linien.size(); ++i) EXPECT_EQ(linien[i].farbe, farben[art][i]);
        // Die letzte Linie endet immer an der Weißen.
        EXPECT_EQ(linien.back().x2, 1.0f);
    }
    s.art = 6;
    EXPECT_TRUE(StossLinien(s).empty());
}
