// Die Grenze einer robusten Entscheidung in Stößen: genau so viele simulierte
// Stöße, wie das Budget sagt, in der Frist selbst und in der ganzen Wahl.
#include <gtest/gtest.h>

#include "hilfen.h"
#include "planner/frist.h"
#include "planner/planereinstellung.h"
#include "planner/robuste_suche.h"

TEST(Frist, EinBudgetVonNErlaubtGenauNStoesse) {
    for (const std::int64_t n : {0, 1, 7}) {
        Frist f = StarteFrist(0, n);
        int gespielt = 0;
        while (!Abgelaufen(f) && gespielt < 100) {
            ZaehleStoss(f);
            ++gespielt;
        }
        EXPECT_EQ(gespielt, n);
        EXPECT_EQ(f.gespielt, n);
        EXPECT_TRUE(StoesseVerbraucht(f));
        ZaehleStoss(f);  // wer trotzdem simuliert, macht sie nicht wieder frei
        EXPECT_TRUE(Abgelaufen(f));
    }
    Frist ohne = StarteFrist(0);
    for (int i = 0; i < 1000; ++i) ZaehleStoss(ohne);
    EXPECT_FALSE(Abgelaufen(ohne));
    EXPECT_FALSE(StoesseVerbraucht(ohne));
    EXPECT_EQ(ohne.gespielt, 1000);
}

TEST(Frist, ZeitgrenzeWirdBudget) {
    IniDatei ini;
    ini.text = "[planer]\nzeitgrenze=50\n";
    ZerlegeIniText(ini);
    const Planereinstellung e = StossbudgetStattZeit(PlanerAus(ini));
    EXPECT_EQ(e.zeitgrenze, 0);
    EXPECT_EQ(e.stoesse, 50 * kStoesseJeMillisekunde);
    // Ohne Zeitgrenze bleibt es unbegrenzt, und nichts in config.ini setzt ein Budget.
    ini.text = "[planer]\nzeitgrenze=0\nstoesse=5\n";
    ZerlegeIniText(ini);
    EXPECT_EQ(PlanerAus(ini).stoesse, -1);
    EXPECT_EQ(StossbudgetStattZeit(PlanerAus(ini)).stoesse, -1);
}

TEST(Frist, DieRobusteWahlSimuliertGenauDasBudget) {
    // Die Grundaufstellung (der Anstoß) braucht ohne Grenze weit mehr als 300 Stöße.
    Spielstand s;
    SetzeStandardaufstellung(Vorgabetisch().tisch, s);
    Planerkontext pk = PlanerkontextAus(IniDatei{});
    pk.einstellung.zeitgrenze = 0;
    const Planergebnis ganz = SucheStossRobust(Vorgabetisch(), pk, s);
    ASSERT_GT(ganz.bericht.stoesse, 300);
    EXPECT_FALSE(ganz.bericht.gekappt);
    for (const std::int64_t n : {100, 300}) {
        pk.einstellung.stoesse = n;
        const Planergebnis p = SucheStossRobust(Vorgabetisch(), pk, s);
        EXPECT_EQ(p.bericht.stoesse, n);
        EXPECT_TRUE(p.bericht.gekappt);
    }
}
