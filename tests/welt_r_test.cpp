// Welt R gegen geschlossene Formen und Lehrbuchmechanik: Drall einer
// rollenden Kugel, Gleiten, Banden mit Drall, Wurf, natürlicher Winkel.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "anzeige/anzeige.h"
#include "hilfen.h"
#include "sim/simulation.h"

namespace {

constexpr double kGrad = M_PI / 180.0;

struct Umgebung {
    Tischgeometrie g;
    Welt r;
    Umgebung() {
        LadeVorgabetisch();
        InstalliereAnzeige(StilleAnzeige());
        g = BaueTischgeometrie(tisch);
        IniDatei leer;
        r = WeltAus(leer, Modell::R);
    }
};
const Umgebung& U() {
    static Umgebung u;
    return u;
}

struct Mitschrift {
    std::vector<Ereignis> ereignisse;
    std::vector<std::vector<Kugelzustand>> zustaende;
};
void Schreibe(void* daten, const Ereignis& e, const Kugelzustand* k) {
    auto* m = static_cast<Mitschrift*>(daten);
    m->ereignisse.push_back(e);
    m->zustaende.emplace_back(k, k + kAnzahlKugeln);
}

Simergebnis Spiele(const Welt& w, const Spielstand& s, V2 stoss, Mitschrift* m = nullptr) {
    static Simergebnis e;
    Simbeobachter b{Schreibe, m};
    EXPECT_TRUE(Simuliere(U().g, w, s, {static_cast<float>(stoss.x), static_cast<float>(stoss.y), 0.0f}, e, nullptr,
                          m ? &b : nullptr));
    return e;
}

// Die Anfangsgeschwindigkeit, mit der eine mittig gestoßene Kugel nach dem
// Weg l mit v rollend ankommt: Gleiten bis 5/7 v0 über 12 v0²/(49 a_S), dann Rollen.
double AnfangFuer(const Welt& w, double v, double l) {
    return std::sqrt((v * v + 2.0 * w.aRollen * l) / ((25.0 + 24.0 * w.aRollen / w.aGleiten) / 49.0));
}

}  // namespace

// Eine rollend ankommende Kugel verhält sich gleich, wie lang ihr Anlauf auch
// war: ihr Drall ist in jedem Augenblick ihre Geschwindigkeit.
TEST(WeltR, RollendeKugelVergisstIhrenAnlauf) {
    Welt w = U().r;
    w.aGleiten = 14.0 * w.aRollen;
    const float y = 27.75f;
    for (const double v : {0.6, 1.2}) {
        double nachlauf[2], bandenRast[2];
        const double anlauf[2] = {10.0, 60.0};
        for (int n = 0; n < 2; ++n) {
            // Voll auf eine ruhende Kugel: die Weiße läuft nach.
            Spielstand s = LeererStand(6.0f, y, halbe);
            const float x9 = static_cast<float>(6.0 + anlauf[n] + 3.5);
            SetzeKugel(s, 9, x9, y);
            const Simergebnis e = Spiele(w, s, {AnfangFuer(w, v, anlauf[n]), 0.0});
            ASSERT_EQ(e.ersteBeruehrung, 9);
            nachlauf[n] = e.lage[0].x - (x9 - 3.5);
            // Gerade in die rechte Bande (Mittelpunkt dort bei 102.75): wo sie danach liegen bleibt.
            const float x0 = static_cast<float>(102.75 - anlauf[n]);
            const Simergebnis b = Spiele(w, LeererStand(x0, y, halbe), {AnfangFuer(w, v, anlauf[n]), 0.0});
            bandenRast[n] = b.lage[0].x;
        }
        EXPECT_GT(nachlauf[0], 0.5) << v;
        EXPECT_NEAR(nachlauf[1], nachlauf[0], 1e-6) << v;
        EXPECT_NEAR(bandenRast[1], bandenRast[0], 1e-4) << v;
    }
}

// Die Bewegungsenergie mit dem Drall, den die Kugel wirklich hat (eine
// rollende Kugel: ihre Geschwindigkeit), steigt nie, auch nicht an der Bande:
// die Kugel kommt nach dem Anlauf l mit v rollend an, also mit 0.7 v².
TEST(WeltR, EnergieMitWahremDrallSteigtNie) {
    Welt w = U().r;
    w.aGleiten = 14.0 * w.aRollen;
    const double v = 1.0, l = 40.0;
    for (const double winkel : {0.0, 30.0, 60.0}) {
        Mitschrift m;
        const V2 u{std::sin(winkel * kGrad), -std::cos(winkel * kGrad)};
        const double y0 = 4.25 + l * std::cos(winkel * kGrad);
        Spiele(w, LeererStand(10.0f, static_cast<float>(y0), halbe), u * AnfangFuer(w, v, l), &m);
        double energie = 0.7 * v * v;
        bool bande = false;
        for (std::size_t k = 0; k < m.ereignisse.size(); ++k) {
            bande |= m.ereignisse[k].art == Ereignisart::bande;
            if (!bande) continue;
            const double e = Bewegungsenergie(m.zustaende[k][0]);
            ASSERT_LE(e, energie * (1 + 1e-9)) << winkel << " Ereignis " << k;
            energie = e;
        }
        EXPECT_TRUE(bande) << winkel;
    }
}

namespace {

// Feste Stöße auf einem gerüttelten Raster von 15 Kugeln, mit Banden und
// Kugelstößen: ihre Endlagen als eine Prüfsumme je Stoß.
std::vector<double> Pruefsummen(const Welt& w) {
    std::vector<double> summen;
    std::uint32_t z = 12345;
    auto zufall = [&z] { return (z = z * 1664525u + 1013904223u) / 4294967296.0; };
    for (int n = 0; n < 8; ++n) {
        Spielstand s = LeererStand(static_cast<float>(15 + 10 * zufall()), static_cast<float>(10 + 35 * zufall()), alle);
        for (int i = 1; i < kAnzahlKugeln; ++i)
            SetzeKugel(s, i, static_cast<float>(40 + 11 * ((i - 1) % 5) + 4 * zufall()),
                       static_cast<float>(12 + 13 * ((i - 1) / 5) + 4 * zufall()));
        const double phi = 2 * M_PI * zufall(), v = 1.0 + 3.0 * zufall();
        const Simergebnis e = Spiele(w, s, {v * std::cos(phi), v * std::sin(phi)});
        double summe = 0;
        for (int i = 0; i < kAnzahlKugeln; ++i) summe += (i + 1) * (e.lage[i].x + 2 * e.lage[i].y);
        summen.push_back(summe);
    }
    return summen;
}

}  // namespace

// Mit den alten Werten und ohne die neuen Wirkungen rechnet Welt R wie vor
// Gleitreibung, Bandendrall und Wurf (nur der Drall des Rollens ist berichtigt).
TEST(WeltR, AlteWerteGebenDieAltenErgebnisse) {
    IniDatei ini;
    ini.text = "[simulation]\ngleitreibung=20\n";
    ZerlegeIniText(ini);
    const std::vector<double> summen = Pruefsummen(WeltAus(ini, Modell::R));
    const double erwartet[] = {18040.97218458421,  17762.933861216479, 17755.239771400746, 17180.266411790304,
                               17127.134012515929, 17193.259578147052, 17849.672675786882, 17888.538687823042};
    ASSERT_EQ(summen.size(), std::size(erwartet));
    for (std::size_t i = 0; i < summen.size(); ++i) EXPECT_NEAR(summen[i], erwartet[i], 1e-9) << i;
}
