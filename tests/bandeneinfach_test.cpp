// Das einfache Bandengesetz mit dem Winkelgesetz: geschlossene Formen je
// Einfallswinkel und Drall.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "sim/bandeneinfach.h"

namespace {

Welt Bande(double normalFlach, double tangentialFlach, double drallFlach, double gleitenNormal, double gleitenDrall,
           double gleitenLaengs) {
    Welt w{};
    w.modell = Modell::R;
    w.eNormal = 0.8;
    w.eTangential = 0.9;
    w.bandeDrall = 0.2;
    w.bandeNormalFlach = normalFlach;
    w.bandeTangentialFlach = tangentialFlach;
    w.bandeDrallFlach = drallFlach;
    w.bandeGleitenNormal = gleitenNormal;
    w.bandeGleitenDrall = gleitenDrall;
    w.bandeGleitenLaengs = gleitenLaengs;
    return w;
}

}  // namespace

// In die untere Bande (n = +y) mit Betrag 1. Gerade hinein und rollend gilt
// das feste Gesetz, welche Werte das Winkelgesetz auch hat; unter 60° ist
// 1 − cos h = 1/2, und eine Kugel ohne Drall gleitet mit cos h auf die Bande zu.
TEST(Bandeneinfach, WinkelUndGleitenInGeschlossenerForm) {
    const Welt fest = Bande(0, 0, 0, 0, 0, 0);
    const Welt winkel = Bande(-0.2, 0.1, -1.0, -0.1, 0.3, -0.4);
    const double s60 = std::sin(std::numbers::pi / 3.0), c60 = 0.5;
    const struct {
        const char* name;
        const Welt& w;
        double grad;
        bool rollt;
        V2 v, s;  // erwartet nachher
    } faelle[] = {
        {"fest, rollend", fest, 60, true, {0.9 * s60, 0.8 * c60}, {0.9 * s60, 0.2 * 0.8 * c60}},
        {"gerade hinein, rollend", winkel, 0, true, {0.0, 0.8}, {0.0, 0.2 * 0.8}},
        // eN 0.7, eT 0.95, Drall 0.2 − 0.5 = −0.3: die Bande kehrt ihn um.
        {"60°, rollend", winkel, 60, true, {0.95 * s60, 0.7 * c60}, {0.95 * s60, -0.3 * 0.7 * c60}},
        // Gleiten g = cos h: quer −0.1·g zur Geschwindigkeit, 0.3·g Drall, längs −0.4·g·sin h.
        {"60°, gleitend", winkel, 60, false, {0.95 * s60, 0.7 * c60 - 0.1 * c60}, {-0.4 * c60 * s60, 0.3 * c60}},
    };
    for (const auto& f : faelle) {
        const double h = f.grad * std::numbers::pi / 180.0;
        V2 v{std::sin(h), -std::cos(h)};
        V2 s = f.rollt ? v : V2{0.0, 0.0};
        AbprallEinfach(v, s, {0.0, 1.0}, f.w);
        EXPECT_NEAR(v.x, f.v.x, 1e-12) << f.name;
        EXPECT_NEAR(v.y, f.v.y, 1e-12) << f.name;
        EXPECT_NEAR(s.x, f.s.x, 1e-12) << f.name;
        EXPECT_NEAR(s.y, f.s.y, 1e-12) << f.name;
    }
}
