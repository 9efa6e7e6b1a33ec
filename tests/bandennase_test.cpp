// Das zweite Bandengesetz: geschlossene Formen für eine Nase in Höhe der
// Mitte, dazu Energie, Richtung und Spiegelbild für alle Lagen der Nase.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "sim/bandennase.h"
#include "sim/bandentuch.h"

namespace {

Welt Nase(double sinus, double reibung) {
    Welt w{};
    w.modell = Modell::R;
    w.bandenart = Bandenart::nase;
    w.naseSinus = sinus;
    w.naseReibung = reibung;
    return w;
}

double Energie(V2 v, V2 s) { return Quadrat(v) + 0.4 * Quadrat(s); }  // ×2/m; Rollen: 2/5 · |s|²

}  // namespace

// Nase in Höhe der Mitte (die Drehung ändert das Gleiten dort nur senkrecht),
// Kugel ohne Drall, unter 40° in die untere Bande (n = +y).
TEST(Bandennase, GeschlosseneFormenInHoeheDerMitte) {
    const double h = 40.0 * std::numbers::pi / 180.0;
    const V2 v0{std::sin(h), -std::cos(h)};
    const double e = 0.8, vt = v0.x, vn = -v0.y;
    const struct {
        const char* name;
        double reibung;
        double vtNachher;
    } faelle[] = {
        {"ohne Reibung", 0.0, vt},
        {"gleitet durch", 0.1, vt - 0.1 * (1.0 + e) * vn},  // μ·(1 + e)·c < Haften
        {"haftet", 10.0, vt * 5.0 / 7.0},                    // wie eine Kugel, die an der Bande abrollt
    };
    for (const auto& f : faelle) {
        V2 v = v0, s{0.0, 0.0};
        AbprallNase(v, s, {0.0, 1.0}, Nase(0.0, f.reibung), e);
        EXPECT_NEAR(v.y, e * vn, 1e-12) << f.name;
        EXPECT_NEAR(v.x, f.vtNachher, 1e-12) << f.name;
        // Der Reibungsstoß längs der Bande dreht nur um die Senkrechte: kein Drall im Tuch.
        EXPECT_NEAR(Betrag(s), 0.0, 1e-12) << f.name;
    }
}

// Für jede Höhe der Nase, Reibung, Stoßzahl, jeden Winkel und Drall: die
// Kugel verlässt die Bande, verliert Energie (nie gewinnt sie welche), und
// das Spiegelbild längs der Bande gibt das gespiegelte Ergebnis.
TEST(Bandennase, EnergieRichtungUndSpiegelbild) {
    const V2 n = Einheit(V2{0.3, 1.0});
    const V2 t = Senkrecht(n);
    for (double sinus : {0.0, 0.27, 0.5})
        for (double reibung : {0.0, 0.2, 1.0})
            for (double e : {0.5, 1.0})
                for (double grad : {0.0, 30.0, 60.0, 85.0})
                    for (int drallart = 0; drallart < 4; ++drallart) {
                        const double h = grad * std::numbers::pi / 180.0;
                        const V2 v0 = t * (2.0 * std::sin(h)) - n * (2.0 * std::cos(h));
                        const V2 drall[] = {{0.0, 0.0}, v0, v0 * -1.0, Senkrecht(v0)};  // ohne, rollend, Rücklauf, quer
                        const V2 s0 = drall[drallart];
                        SCOPED_TRACE(::testing::Message() << "sin " << sinus << ", μ " << reibung << ", e " << e
                                                          << ", " << grad << "°, Drall " << drallart);
                        V2 v = v0, s = s0;
                        AbprallNase(v, s, n, Nase(sinus, reibung), e);
                        EXPECT_GE(Skalar(v, n), 0.0);
                        EXPECT_LE(Energie(v, s), Energie(v0, s0) * (1.0 + 1e-12));
                        auto spiegel = [&](V2 a) { return a - t * (2.0 * Skalar(a, t)); };
                        V2 vs = spiegel(v0), ss = spiegel(s0);
                        AbprallNase(vs, ss, n, Nase(sinus, reibung), e);
                        EXPECT_NEAR(Betrag(vs - spiegel(v)), 0.0, 1e-12);
                        EXPECT_NEAR(Betrag(ss - spiegel(s)), 0.0, 1e-12);
                    }
}

// Der integrierte Stoß mit Reibung am Tuch: ohne Last auf dem Tuch (Nase in
// Höhe der Mitte) und ohne Drall dasselbe wie der starre; ohne Reibung der
// Stoß quer zur Bande mit e, längs nichts; sonst verliert die Kugel Energie,
// verlässt die Bande und das Spiegelbild gibt das gespiegelte Ergebnis.
TEST(Bandentuch, WieDieNaseOhneLastUndEnergieSonst) {
    const V2 n = Einheit(V2{0.3, 1.0});
    const V2 t = Senkrecht(n);
    auto tuch = [](double sinus, double nase, double tuchReibung) {
        Welt w = Nase(sinus, nase);
        w.bandenart = Bandenart::tuch;
        w.tuchReibung = tuchReibung;
        return w;
    };
    for (double e : {0.5, 0.98})
        for (double grad : {0.0, 30.0, 60.0, 85.0}) {
            const double h = grad * std::numbers::pi / 180.0;
            const V2 v0 = t * (2.0 * std::sin(h)) - n * (2.0 * std::cos(h));
            for (double reibung : {0.05, 0.2, 10.0}) {
                V2 va = v0, sa{0.0, 0.0}, vb = v0, sb{0.0, 0.0};
                AbprallNase(va, sa, n, Nase(0.0, reibung), e);
                AbprallTuch(vb, sb, n, tuch(0.0, reibung, 0.5), e);
                EXPECT_NEAR(Betrag(vb - va), 0.0, 1e-9) << grad << "°, μ " << reibung << ", e " << e;
                EXPECT_NEAR(Betrag(sb - sa), 0.0, 1e-9);
            }
            const V2 drall[] = {{0.0, 0.0}, v0, v0 * -1.0, Senkrecht(v0)};
            for (const V2 s0 : drall) {
                V2 v = v0, s = s0;
                AbprallTuch(v, s, n, tuch(0.4, 0.0, 0.0), e);
                EXPECT_NEAR(Skalar(v, n), e * Skalar(v0, n) * -1.0, 1e-6) << grad << "°, e " << e;
                EXPECT_NEAR(Skalar(v, t), Skalar(v0, t), 1e-12);
                EXPECT_NEAR(Betrag(s - s0), 0.0, 1e-12);
                for (double sinus : {0.27, 0.4})
                    for (double reibung : {0.14, 1.0}) {
                        SCOPED_TRACE(::testing::Message() << "sin " << sinus << ", μ " << reibung << ", " << grad << "°");
                        V2 vr = v0, sr = s0;
                        AbprallTuch(vr, sr, n, tuch(sinus, reibung, 0.21), e);
                        EXPECT_GE(Skalar(vr, n), 0.0);
                        EXPECT_LE(Energie(vr, sr), Energie(v0, s0) * (1.0 + 1e-12));
                        auto spiegel = [&](V2 a) { return a - t * (2.0 * Skalar(a, t)); };
                        V2 vs = spiegel(v0), ss = spiegel(s0);
                        AbprallTuch(vs, ss, n, tuch(sinus, reibung, 0.21), e);
                        EXPECT_NEAR(Betrag(vs - spiegel(vr)), 0.0, 1e-9);
                        EXPECT_NEAR(Betrag(ss - spiegel(sr)), 0.0, 1e-9);
                    }
            }
        }
}
