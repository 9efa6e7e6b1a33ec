// Welt R gegen geschlossene Formen und Lehrbuchmechanik: Drall einer
// rollenden Kugel, Gleiten, Banden mit Drall, Wurf, natürlicher Winkel.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "anzeige/anzeige.h"
#include "hilfen.h"
#include "sim/simulation.h"

namespace {
const Tischkontext& tk = Vorgabetisch();
}  // namespace

namespace {

constexpr double kGrad = M_PI / 180.0;

struct Umgebung {
    Tischgeometrie g;
    Welt r;
    Umgebung() {
        g = BaueTischgeometrie(tk);
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
    ini.text = "[simulation]\ngleitreibung=20\nbande_drall=100\nkugelreibung=0\n";
    ZerlegeIniText(ini);
    const std::vector<double> summen = Pruefsummen(WeltAus(ini, Modell::R));
    const double erwartet[] = {18040.97218458421,  17762.933861216479, 17755.239771400746, 17180.266411790304,
                               17127.134012515929, 17193.259578147052, 17849.672675786882, 17888.538687823042};
    ASSERT_EQ(summen.size(), std::size(erwartet));
    for (std::size_t i = 0; i < summen.size(); ++i) EXPECT_NEAR(summen[i], erwartet[i], 1e-9) << i;
}

// Gleiten bis zum Rollen nach 2 v0 / (7 a_S) mit 5/7 v0, dann Rollen bis zum
// Halt: der ganze Weg ist 12 v0² / (49 a_S) + (5/7 v0)² / (2 a_R). Auf echtem
// Tuch gleitet die Kugel 13- bis 15-mal so stark gebremst, wie sie rollt.
TEST(WeltR, GleitenUndRollenInGeschlossenerForm) {
    const Welt& w = U().r;
    EXPECT_NEAR(w.aGleiten / w.aRollen, 1.4 / 0.105, 1e-6);
    for (const double gewuenscht : {0.3, 0.8, 1.4}) {
        const double v0 = static_cast<float>(gewuenscht);  // der Stoß ist float
        Mitschrift m;
        const Simergebnis e = Spiele(w, LeererStand(10.0f, 27.75f, halbe), {v0, 0.0}, &m);
        ASSERT_EQ(m.ereignisse.size(), 2u) << v0;
        EXPECT_EQ(m.ereignisse[0].art, Ereignisart::rollen);
        EXPECT_NEAR(m.ereignisse[0].t, 2 * v0 / (7 * w.aGleiten), 1e-9) << v0;
        EXPECT_NEAR(m.zustaende[0][0].v.x, 5.0 / 7.0 * v0, 1e-9) << v0;
        const double weg = 12 * v0 * v0 / (49 * w.aGleiten) + std::pow(5.0 / 7.0 * v0, 2) / (2 * w.aRollen);
        EXPECT_NEAR(e.lage[0].x - 10.0, weg, 1e-6) << v0;
    }
}

// Eine rollende Weiße verlässt die Objektkugel längs der Tangente und biegt
// dann in ihren natürlichen Winkel zur alten Linie ein:
// tan θ = sin φ cos φ / (sin² φ + 2/5) (ohne Wurf, ohne Verlust).
TEST(WeltR, NatuerlicherWinkelDerRollendenWeissen) {
    Welt w = U().r;
    w.eKugel = 1.0;
    w.kugelReibung = 0.0;
    const double erwartet[] = {28.0, 34.0, 29.0, 21.0};  // gerundet, zum Vergleich mit der Literatur
    int n = 0;
    for (const double phi : {15.0, 30.0, 45.0, 60.0}) {
        const double p = phi * kGrad;
        Spielstand s = LeererStand(10.0f, 27.75f, halbe);
        const V2 mitte{40.0 + 3.5 * std::cos(p), 27.75 - 3.5 * std::sin(p)};
        SetzeKugel(s, 9, static_cast<float>(mitte.x), static_cast<float>(mitte.y));
        Mitschrift m;
        Spiele(w, s, {AnfangFuer(w, 1.0, 30.0), 0.0}, &m);
        std::size_t k = 0;
        while (k < m.ereignisse.size() && m.ereignisse[k].art != Ereignisart::kugel) ++k;
        ASSERT_LT(k, m.ereignisse.size()) << phi;
        const V2 linie = Einheit(V2{m.zustaende[k][9].p.x, m.zustaende[k][9].p.y} - m.zustaende[k][0].p);
        EXPECT_NEAR(Skalar(m.zustaende[k][0].v, linie), 0.0, 1e-9) << phi;  // längs der Tangente
        while (++k < m.ereignisse.size() && !(m.ereignisse[k].art == Ereignisart::rollen && m.ereignisse[k].kugel == 0)) {
        }
        ASSERT_LT(k, m.ereignisse.size()) << phi;
        const V2 v = m.zustaende[k][0].v;
        const double theta = std::atan2(v.y, v.x) / kGrad;
        const double gesetz = std::atan(std::sin(p) * std::cos(p) / (std::sin(p) * std::sin(p) + 0.4)) / kGrad;
        EXPECT_NEAR(theta, gesetz, 1e-3) << phi;
        EXPECT_NEAR(theta, erwartet[n++], 0.6) << phi;
    }
}

// Wurf: die Objektkugel läuft um θ neben der Mittellinie, zur Seite, in die
// die Weiße quer läuft, mit tan θ = min(μ N, g/7) · (g_quer / g) / N
// (N Normalstoß, g Gleiten der Oberflächen: quer v sin φ, senkrecht der
// Drall der Weißen mal cos φ). Ohne Drall wirft ein Schnitt mehr als rollend.
namespace {

// Wurfwinkel (Bogenmaß, positiv zur Seite der Weißen) bei einem Schnitt um
// phi, die Weiße mit v gleitend ohne Drall oder rollend; dazu das Gesetz.
std::pair<double, double> Wurfwinkel(bool rollend, double v, double phi, Welt w = U().r) {
    if (!rollend) w.aGleiten = w.aRollen = 0.0;  // gleitet ohne Drall bis zur Kugel
    const double p = phi * kGrad;
    Spielstand s = LeererStand(10.0f, 27.75f, halbe);
    SetzeKugel(s, 9, static_cast<float>(40.0 + 3.5 * std::cos(p)), static_cast<float>(27.75 - 3.5 * std::sin(p)));
    Mitschrift m;
    const double anfang = rollend ? AnfangFuer(w, v, 30.0) : v;
    Spiele(w, s, {anfang, 0.0}, &m);
    std::size_t k = 0;
    while (k < m.ereignisse.size() && m.ereignisse[k].art != Ereignisart::kugel) ++k;
    EXPECT_LT(k, m.ereignisse.size());
    if (k == m.ereignisse.size()) return {0.0, 1.0};
    const V2 n = Einheit(m.zustaende[k][9].p - m.zustaende[k][0].p);
    const V2 v9 = m.zustaende[k][9].v;
    // Die Weiße kommt mit v an (als float gestoßen: ohne Reibung genau dieser Wert).
    const double an = rollend ? v : static_cast<float>(anfang);
    const double normal = 0.5 * (1 + w.eKugel) * an * std::cos(p);
    const double quer = an * std::sin(p), senkrecht = rollend ? an * std::cos(p) : 0.0;
    const double gleiten = std::hypot(quer, senkrecht);
    const double mu = w.wurfart == Wurfart::schnell ? 0.00995 + 0.108 * std::exp(-w.wurfAbfall * gleiten) : w.kugelReibung;
    return {std::atan2(Kreuz(n, v9), Skalar(n, v9)), std::atan(std::min(mu * normal, gleiten / 7) * quer / gleiten / normal)};
}

}  // namespace

TEST(WeltR, WurfNachDemGesetz) {
    // Das zweite Gesetz (wurf_art=1): die Reibung fällt mit dem Gleiten.
    Welt schnell = U().r;
    schnell.wurfart = Wurfart::schnell;
    for (const Welt& w : {U().r, schnell})
        for (const bool rollend : {false, true})
            for (const double v : {0.4, 2.5})
                for (const double phi : {5.0, 30.0, 50.0}) {
                    const auto [wurf, gesetz] = Wurfwinkel(rollend, v, phi, w);
                    EXPECT_NEAR(wurf, gesetz, 2e-6) << static_cast<int>(w.wurfart) << " " << rollend << " " << v << " " << phi;
                }
    // Bei 30°: ohne Drall gut 3°, rollend halb so viel.
    const double gleitend = Wurfwinkel(false, 1.0, 30.0).first / kGrad;
    const double rollend = Wurfwinkel(true, 1.0, 30.0).first / kGrad;
    EXPECT_GT(gleitend, 3.0);
    EXPECT_LT(rollend, 0.6 * gleitend);
    // Mit dem zweiten Gesetz wirft ein langsamer Schnitt mehr als ein schneller.
    EXPECT_GT(Wurfwinkel(false, 0.4, 30.0, schnell).first, 2.0 * Wurfwinkel(false, 2.5, 30.0, schnell).first);
}

// Rollend in die Bande: sie verlässt die Bande in der Richtung des Gesetzes
// (tan h' = e_t tan h / e_n), gleitet dann, krümmt sich weiter von der
// Normalen weg und rollt langsamer weiter; schneller wird sie nie.
TEST(WeltR, BandeNimmtDenDrall) {
    const Welt& w = U().r;
    for (const double h : {0.0, 20.0, 40.0, 60.0}) {
        const double l = 30.0, p = h * kGrad;
        Mitschrift m;
        const V2 u{std::sin(p), -std::cos(p)};
        Spiele(w, LeererStand(10.0f, static_cast<float>(4.25 + l * std::cos(p)), halbe), u * AnfangFuer(w, 1.0, l), &m);
        std::size_t k = 0;
        while (k < m.ereignisse.size() && m.ereignisse[k].art != Ereignisart::bande) ++k;
        ASSERT_LT(k, m.ereignisse.size()) << h;
        const V2 ab = m.zustaende[k][0].v;
        const double winkelAb = std::atan2(ab.x, ab.y) / kGrad;
        EXPECT_NEAR(winkelAb, std::atan(w.eTangential * std::tan(p) / w.eNormal) / kGrad, 1e-4) << h;
        double tempo = Betrag(ab);
        while (++k < m.ereignisse.size() && m.ereignisse[k].art != Ereignisart::rollen) {
            ASSERT_LE(Betrag(m.zustaende[k][0].v), tempo) << h;
        }
        ASSERT_LT(k, m.ereignisse.size()) << h;
        const V2 rollt = m.zustaende[k][0].v;
        EXPECT_LT(Betrag(rollt), Betrag(ab) - 0.01) << h;
        if (h > 0) EXPECT_GT(std::atan2(rollt.x, rollt.y) / kGrad, winkelAb + 1.0) << h;
        else EXPECT_NEAR(rollt.x, 0.0, 1e-9);
    }
}

// Der Queue des Tisches dreht und skaliert den Stoß; bande_abfall lässt die
// Stoßzahl quer zur Bande mit der Geschwindigkeit fallen.
TEST(WeltR, QueueUndAbfallenderBandenstoss) {
    IniDatei ini;
    ini.text = "[simulation]\nstaerke_faktor=80\nrichtung_versatz=2000\nbande_abfall=50\n";
    ZerlegeIniText(ini);
    const Welt w = WeltAus(ini, Modell::R);
    Mitschrift m;
    Spiele(w, LeererStand(30.0f, 27.75f, halbe), {1.0, 0.0}, &m);
    ASSERT_FALSE(m.zustaende.empty());
    // Nach dem Gleiten rollt sie mit 5/7 der Anfangsgeschwindigkeit: 0.8 unter 20°.
    const V2 v = m.zustaende[0][0].v;
    EXPECT_NEAR(Betrag(v), 5.0 / 7.0 * 0.8, 1e-7);
    EXPECT_NEAR(std::atan2(v.y, v.x) / kGrad, 20.0, 1e-5);
    // Gerade in die untere Bande mit 1.0 quer: e_n / (1 + 0.5 · 1.0).
    Welt ohneReibung = w;
    ohneReibung.aGleiten = ohneReibung.aRollen = 0.0;
    ohneReibung.richtungVersatz = 0.0;
    ohneReibung.staerkeFaktor = 1.0;
    Mitschrift b;
    Spiele(ohneReibung, LeererStand(30.0f, 27.75f, halbe), {0.0, -1.0}, &b);
    ASSERT_FALSE(b.zustaende.empty());
    EXPECT_NEAR(b.zustaende[0][0].v.y, w.eNormal / 1.5, 1e-9);
}
