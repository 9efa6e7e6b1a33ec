// Die Wahl mit zwei Halbzügen: die Siegtafel gegen ihre geschlossene Form,
// ein Tisch, auf dem der Wert den Lochstoß nimmt, einer, auf dem er den
// Sicherheitsstoß nimmt, dieselbe Entscheidung unter dem Budget und ein
// Versteck hinter einer Wand eigener Kugeln.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "hilfen.h"
#include "planner/regeln.h"
#include "planner/sicherheitsstoss.h"
#include "planner/siegchance.h"
#include "planner/versteckstoss.h"
#include "sim/rauschen.h"
#include "sim/simulation.h"

namespace {

const Tischkontext& tk = Vorgabetisch();

struct Plan {
    Planergebnis p;
    std::string log;
};

Plan Tiefe(const Spielstand& s, int tiefe, std::int64_t stoesse = -1, double rauschen = 1.0) {
    Planerkontext pk = PlanerkontextAus(IniDatei{});
    pk.einstellung.rauschen = rauschen;
    pk.einstellung.modus = Planermodus::robust;
    pk.einstellung.tiefe = tiefe;
    pk.einstellung.zeitgrenze = 0;
    pk.einstellung.stoesse = stoesse;
    Plan x{SucheStossRobust(tk, pk, s), {}};
    for (const std::string& z : x.p.protokoll) x.log += z;
    return x;
}

}  // namespace

TEST(Siegtafel, GeschlosseneFormUndFixpunkt) {
    for (double p : {0.3, 0.75, 0.95}) {
        const Siegtafel t = BaueSiegtafel(p);
        // Einer gegen einen: w = p + (1−p)(1−w).
        EXPECT_NEAR(t.w[1][1], 1.0 / (2.0 - p), 1e-12) << p;
        for (int n = 1; n <= kHoechstZuLochen; ++n)
            for (int m = 1; m <= kHoechstZuLochen; ++m) {
                // Mit dem typischen Stoß ist der Blattwert die Tafel selbst.
                EXPECT_NEAR(Blattwert(p, n, m, t), t.w[n][m], 1e-12) << p << " " << n << " " << m;
                if (n > 1) {
                    EXPECT_LT(t.w[n][m], t.w[n - 1][m]);
                }
                EXPECT_LT(Blattwert(0.2, n, m, t), Blattwert(0.8, n, m, t));
            }
    }
}

TEST(Siegtafel, ZuLochenUndRaender) {
    // Wer noch wie viele braucht: die Gruppe, die kleinere auf dem offenen
    // Tisch, die Schwarze zählt mit, solange sie liegt.
    Spielstand s = LeererStand(30.0f, 30.0f, halbe);
    for (int k : {1, 2, 3, 9, 8}) SetzeKugel(s, k, 10.0f + 5.0f * static_cast<float>(k), 20.0f);
    const struct { std::int32_t gruppe; bool schwarzeWeg; int erwartet; } faelle[] = {
        {halbe, false, 2}, {volle, false, 4}, {alle, false, 2}, {halbe, true, 1}, {volle, true, 3}};
    for (const auto& f : faelle) {
        s.kugeln[8].inloch = f.schwarzeWeg;
        EXPECT_EQ(NochZuLochen(s, f.gruppe), f.erwartet) << f.gruppe << " " << f.schwarzeWeg;
    }
    // Am Rand: wer nichts mehr braucht, hat gewonnen; wessen Gegner nichts mehr braucht, verloren.
    const Siegtafel t = BaueSiegtafel(0.75);
    EXPECT_EQ(Blattwert(0.0, 0, 3, t), 1.0);
    EXPECT_EQ(Blattwert(1.0, 3, 0, t), 0.0);
    EXPECT_EQ(Blattwert(1.0, 1, 3, t), 1.0);
}

TEST(ZweiHalbzuege, LochtWoEsLeichtIst) {
    // Die 9 gerade vor der Ecke, die Weiße dahinter; die Vollen weit weg.
    Spielstand s = LeererStand(22.0f, 22.0f, halbe);
    SetzeKugel(s, 9, 10.0f, 10.0f);
    SetzeKugel(s, 10, 80.0f, 40.0f);
    SetzeKugel(s, 1, 60.0f, 45.0f);
    SetzeKugel(s, 2, 90.0f, 15.0f);
    SetzeKugel(s, 8, 55.0f, 28.0f);
    const Plan x = Tiefe(s, 2);
    EXPECT_FALSE(x.p.bericht.sicherheit) << x.log;
    EXPECT_NE(x.log.find("Tiefe 2: Siegchance"), std::string::npos) << x.log;
    EXPECT_GT(x.p.bericht.erfolge * 10, x.p.bericht.proben * 9) << x.log;

    // Die Schranke, nach der die Wahl Kandidaten auslässt, darf den Wert nie
    // unterschreiten, sonst fiele ein besserer Stoß ungeprüft weg.
    Planerkontext pk = PlanerkontextAus(IniDatei{});
    const Tischgeometrie g = BaueTischgeometrie(tk);
    std::vector<double> zr(32), zs(32);
    std::mt19937_64 zufall(7);
    for (std::size_t i = 0; i < zr.size(); ++i) Normalpaar(zufall, zr[i], zs[i]);
    Frist frist = StarteFrist(0);
    Durchspiel d{tk, s, g, pk.welt, 1.0, zr.data(), zs.data(), frist, {}};
    const Siegtafel t = BaueSiegtafel(TypischeQuote(1.0));
    for (const Vektor stoss : {x.p.stoss, Vektor{-1.5f, 0.3f, 0.0f}}) {
        const Siegwert w = BewerteSiegchance(d, stoss, 32, Zweitzug{2, 8, true}, t, pk.physik, pk.radius);
        ASSERT_TRUE(w.ganz);
        EXPECT_LE(w.wert, Hoechstwert(static_cast<double>(w.erfolge) / w.proben, s, t) + 1e-12) << stoss.x;
    }
}

TEST(ZweiHalbzuege, SicherheitWoKeinLochstossTraegt) {
    // Kein Lochstoß gelingt, der blinde der Liste ist ein Foul.
    const Spielstand s = NeunZwischenEinsUndZwei();
    const Plan x = Tiefe(s, 2, -1, 5.0);
    ASSERT_TRUE(x.p.bericht.sicherheit) << x.log;
    EXPECT_NE(x.log.find("Tiefe 2: gespielt wird ein Sicherheitsstoß"), std::string::npos) << x.log;
    Simergebnis e;
    Simuliere(BaueTischgeometrie(tk), WeltAus(IniDatei{}, Modell::R), s, x.p.stoss, e);
    EXPECT_EQ(PruefeFoul(s, e), Foul::keins) << x.log;
}

TEST(ZweiHalbzuege, UnterDemBudgetJedesMalDasselbe) {
    Spielstand s = LeererStand(30.0f, 30.0f, volle);
    const float lage[][3] = {{1, 70, 20}, {2, 40, 45}, {3, 95, 40}, {9, 60, 30}, {10, 20, 15}, {8, 80, 12}};
    for (const auto& k : lage) SetzeKugel(s, static_cast<int>(k[0]), k[1], k[2]);
    const Plan a = Tiefe(s, 2, 1500), b = Tiefe(s, 2, 1500);
    EXPECT_TRUE(a.p.bericht.gekappt);
    EXPECT_EQ(a.p.bericht.stoesse, 1500);
    EXPECT_EQ(a.log, b.log);
    EXPECT_EQ(a.p.stoss.x, b.p.stoss.x);
    EXPECT_EQ(a.p.stoss.y, b.p.stoss.y);
}

TEST(Versteck, HinterDerWandStattImBreitestenFenster) {
    // Eine Wand eigener Kugeln; die einzige des Gegners rechts unten vor der
    // Ecke, von der Weißen aus offen. Sanft links um die Wand versteckt sie
    // sich; die breitesten Fenster gültiger Stöße lassen sie offen liegen.
    Spielstand s = LeererStand(58.0f, 29.0f, halbe);
    const float lage[][3] = {{9, 50, 20}, {10, 50, 26}, {11, 50, 32}, {12, 50, 38}, {1, 85, 10}, {8, 20, 45}};
    for (const auto& k : lage) SetzeKugel(s, static_cast<int>(k[0]), k[1], k[2]);
    const Welt welt = WeltAus(IniDatei{}, Modell::R);
    const Tischgeometrie g = BaueTischgeometrie(tk);
    Frist frist = StarteFrist(0);
    Durchspiel d{tk, s, g, welt, 5.0, nullptr, nullptr, frist, {}};
    auto offenDanach = [&](Vektor stoss, bool& sicher) {
        Simergebnis e;
        Simuliere(g, welt, s, stoss, e);
        sicher = Sicher(s, e);
        Spielstand n = Endstand(s, e);
        n.gruppe = volle;
        return Offenheit(tk, n);
    };
    Spielstand gegner = s;
    gegner.gruppe = volle;
    ASSERT_GT(Offenheit(tk, gegner), 0.0f);

    std::vector<Vektor> verstecke, breiteste;
    ASSERT_TRUE(Versteckstoesse(d, 8.0f, verstecke));
    ASSERT_TRUE(Sicherheitsrichtungen(d, 8.0f, breiteste));
    ASSERT_GE(verstecke.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        bool sicher = false;
        EXPECT_EQ(offenDanach(verstecke[i], sicher), 0.0f) << i;
        EXPECT_TRUE(sicher) << i;
    }
    for (const Vektor stoss : breiteste) {
        bool sicher = false;
        EXPECT_GT(offenDanach(stoss, sicher), 0.0f) << stoss.x << " " << stoss.y;
    }
}
