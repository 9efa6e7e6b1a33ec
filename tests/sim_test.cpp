#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "anzeige/anzeige.h"
#include "hilfen.h"
#include "planner/suche.h"
#include "sim/nullstellen.h"
#include "sim/rauschen.h"
#include "sim/simulation.h"
#include "spiel/zufallstisch.h"

namespace {
const Tischkontext& tk = Vorgabetisch();
}  // namespace

namespace {

struct SimUmgebung {
    Tischgeometrie g;
    Welt p, r;
    SimUmgebung() {
        g = BaueTischgeometrie(tk);
        IniDatei leer;
        p = WeltAus(leer, Modell::P);
        r = WeltAus(leer, Modell::R);
    }
};

// Alle Zustände nach jedem Ereignis, für die Prüfungen der Invarianten.
struct Mitschrift {
    std::vector<Ereignis> ereignisse;
    std::vector<std::vector<Kugelzustand>> zustaende;
};

void Schreibe(void* daten, const Ereignis& e, const Kugelzustand* k) {
    auto* m = static_cast<Mitschrift*>(daten);
    m->ereignisse.push_back(e);
    m->zustaende.emplace_back(k, k + kAnzahlKugeln);
}

Simergebnis& Spiele(const Welt& w, const Spielstand& s, Vektor stoss, Mitschrift* m = nullptr) {
    static SimUmgebung u;
    static Simergebnis e;
    Simbeobachter b{Schreibe, m};
    EXPECT_TRUE(Simuliere(u.g, w, s, stoss, e, nullptr, m ? &b : nullptr));
    return e;
}

const SimUmgebung& Umgebung() {
    static SimUmgebung u;
    return u;
}

int Zaehle(const Simergebnis& e, Ereignisart art) {
    int n = 0;
    for (int i = 0; i < e.anzahl; ++i) n += e.ereignisse[i].art == art;
    return n;
}

// Zufällige gültige Tische mit 8 bis 15 Kugeln, wie sie spieltisch erzeugt.
Spielstand Zufallsstand(std::mt19937& z) {
    const Zufallstisch t = ErzeugeZufallstisch(tk.tisch, z);
    Spielstand s;
    SetzeStandardaufstellung(tk.tisch, s);
    for (int i = 0; i < kAnzahlKugeln; ++i) {
        s.kugeln[i].x = t.kugeln[i].x;
        s.kugeln[i].y = t.kugeln[i].y;
        s.kugeln[i].inloch = t.kugeln[i].bagcount != -1 && i != 0;
        s.kugeln[i].zieltasche = t.kugeln[i].target;
    }
    s.gruppe = t.player;
    return s;
}

}  // namespace

TEST(Simulation, FreierLaufBisZumHalt) {
    const auto& u = Umgebung();
    const double a = u.p.aRollen;
    EXPECT_NEAR(a, 0.35 * 0.3 * 9.81 * 0.01, 1e-8);
    const Spielstand s = LeererStand(20.0f, 20.0f, halbe);
    const Vektor stoss{0.3f, 0.4f, 0.0f};
    const double v = std::hypot(double(stoss.x), double(stoss.y));
    Simergebnis& e = Spiele(u.p, s, stoss);
    ASSERT_EQ(e.anzahl, 1);
    EXPECT_EQ(e.ereignisse[0].art, Ereignisart::halt);
    EXPECT_NEAR(e.ereignisse[0].t, v / a, 1e-9);
    EXPECT_NEAR(e.lage[0].x, 20.0 + stoss.x * v / (2 * a), 1e-9);
    EXPECT_NEAR(e.lage[0].y, 20.0 + stoss.y * v / (2 * a), 1e-9);

    // In R gleitet sie erst und rollt dann mit 5/7, nach 12 v²/(49 a_S).
    Mitschrift m;
    Spiele(u.r, s, {1.0f, 0.0f, 0.0f}, &m);
    ASSERT_GE(m.ereignisse.size(), 2u);
    EXPECT_EQ(m.ereignisse[0].art, Ereignisart::rollen);
    const Kugelzustand& k = m.zustaende[0][0];
    EXPECT_NEAR(k.v.x, 5.0 / 7.0, 1e-9);
    EXPECT_NEAR(k.p.x - 20.0, 12.0 / (49.0 * u.r.aGleiten), 1e-6);
    EXPECT_EQ(k.s.x, k.v.x);
}

TEST(Simulation, PlanerstossImModellP) {
    // Freier gerader Stoß: die Objektkugel erreicht das Maul mit mindestens
    // vend und fällt in die geplante Tasche.
    Umgebung();  // lädt den Tisch: der Test läuft unter CTest allein
    Spielstand s = LeererStand(53.5f, 30.0f, volle);
    SetzeKugel(s, 1, 53.5f, 12.5f);
    Vektor stoss;
    stoss = PlaneVorgegeben(s).stoss;
    Mitschrift m;
    Simergebnis& e = Spiele(Umgebung().p, s, stoss, &m);
    EXPECT_EQ(e.ersteBeruehrung, 1);
    EXPECT_EQ(e.tasche[1], 2);
    EXPECT_EQ(e.tasche[0], -1);
    double tStoss = 0, vObjekt = 0;
    for (std::size_t i = 0; i < m.ereignisse.size(); ++i)
        if (m.ereignisse[i].art == Ereignisart::kugel) tStoss = m.ereignisse[i].t, vObjekt = Betrag(m.zustaende[i][1].v);
    const double vMaul = vObjekt - Umgebung().p.aRollen * (e.zeitVersenkt[1] - tStoss);
    EXPECT_GE(vMaul, 0.1 - 1e-6);
    EXPECT_LT(vMaul, 0.2);  // und nicht viel mehr: die Stärke ist knapp bemessen
}

TEST(Simulation, SchnittTeiltNachKosinusUndSinus) {
    // Weiße trifft eine ruhende Kugel unter 30° zur Mittellinie. Ohne Reibung
    // kommt sie genau mit 1 an.
    for (Welt w : {Umgebung().p, Umgebung().r}) {
        w.aRollen = w.aGleiten = 0.0;
        w.kugelReibung = 0.0;  // ohne Wurf
        Spielstand s = LeererStand(30.0f, 27.75f, halbe);
        const double winkel = 30.0 * M_PI / 180.0;
        const V2 n{std::cos(winkel), std::sin(winkel)};
        SetzeKugel(s, 9, static_cast<float>(40.0 + 3.5 * n.x), static_cast<float>(27.75 + 3.5 * n.y));
        Mitschrift m;
        Spiele(w, s, {1.0f, 0.0f, 0.0f}, &m);
        ASSERT_EQ(m.ereignisse[0].art, Ereignisart::kugel);
        const Kugelzustand& weiss = m.zustaende[0][0];
        const Kugelzustand& neun = m.zustaende[0][9];
        const double e = w.eKugel, vn = std::cos(winkel);
        EXPECT_NEAR(Skalar(neun.v, n), 0.5 * (1 + e) * vn, 1e-6) << Modellname(w.modell);
        EXPECT_NEAR(Kreuz(n, neun.v), 0.0, 1e-9);
        EXPECT_NEAR(Kreuz(n, weiss.v), -std::sin(winkel), 1e-6);
        // Impuls bleibt, Energie sinkt nur um den Verlust der Stoßzahl.
        EXPECT_NEAR(weiss.v.x + neun.v.x, 1.0, 1e-9);
        EXPECT_NEAR(weiss.v.y + neun.v.y, 0.0, 1e-9);
        EXPECT_NEAR(Quadrat(weiss.v) + Quadrat(neun.v), 1.0 - 0.5 * (1 - e * e) * vn * vn, 1e-6);
    }
}

TEST(Simulation, Bandengesetze) {
    // Unter 30° zur Normalen in die untere Bande.
    const double h = 30.0 * M_PI / 180.0;
    const Vektor stoss{static_cast<float>(std::sin(h)), static_cast<float>(-std::cos(h)), 0.0f};
    struct Fall {
        Modell modell;
        Bandengesetz gesetz;
        double vt, vn;  // erwartet nach der Bande, als Anteil der Geschwindigkeit davor
        double reibung = 0.0;  // R: Bandenreibung
    };
    const double k = 0.2, sn = std::sin(h), cs = std::cos(h);
    const double betrag = std::sqrt(sn * sn + k * k * cs * cs);
    const Fall faelle[] = {
        {Modell::P, Bandengesetz::spiegel, sn * betrag, cs * betrag},
        {Modell::P, Bandengesetz::komponenten, sn, k * cs},
        {Modell::R, Bandengesetz::spiegel, 0.95 * sn, 0.85 * cs},
        // Reibung, die nicht greift, ist die alte Bande; eine, die greift, nimmt μ·(1 + e)·|v quer|.
        {Modell::R, Bandengesetz::spiegel, 0.95 * sn, 0.85 * cs, 1e9},
        {Modell::R, Bandengesetz::spiegel, sn - 0.01 * 1.85 * cs, 0.85 * cs, 0.01},
    };
    for (const Fall& f : faelle) {
        Welt w = f.modell == Modell::P ? Umgebung().p : Umgebung().r;
        w.bandengesetz = f.gesetz;
        w.bandeReibung = f.reibung;
        w.aRollen = w.aGleiten = 0.0;  // ohne Reibung ist die Geschwindigkeit vor der Bande genau 1
        Mitschrift m;
        Spiele(w, LeererStand(30.0f, 12.0f, halbe), stoss, &m);
        ASSERT_FALSE(m.ereignisse.empty());
        ASSERT_EQ(m.ereignisse[0].art, Ereignisart::bande);
        const Kugelzustand& z = m.zustaende[0][0];
        EXPECT_NEAR(z.p.y, 2.5 + 1.75, 1e-9);
        EXPECT_NEAR(z.v.x, f.vt, 1e-6) << Modellname(f.modell);  // der Stoß ist float
        EXPECT_NEAR(z.v.y, f.vn, 1e-6) << Modellname(f.modell);
    }
}

TEST(Simulation, TaschenUndBacken) {
    const auto& u = Umgebung();
    struct Fall {
        const char* name;
        float wx, wy, ox, oy;  // Weiße und Objektkugel
        float zx, zy;          // wohin die Objektkugel laufen soll
        int tasche;            // −1: fällt nicht
    };
    const Fall faelle[] = {
        // Gerade in die Ecke 0 und die Mitteltasche 2.
        {"Ecke", 40.0f, 40.0f, 25.0f, 25.0f, 2.5f, 2.5f, 0},
        {"Mitte", 53.5f, 40.0f, 53.5f, 20.0f, 53.5f, 2.5f, 2},
        // Flach auf die ferne Bandenecke der Mitteltasche gezielt: prallt ab.
        {"Backe", 25.0f, 12.0f, 40.0f, 8.0f, 59.25f, 2.5f, -1},
    };
    for (const Fall& f : faelle) {
        Spielstand s = LeererStand(f.wx, f.wy, halbe);
        SetzeKugel(s, 9, f.ox, f.oy);
        // Gerade Linie Weiße – Objektkugel – Ziel: die Weiße zielt auf den Anspielpunkt.
        const V2 o{f.ox, f.oy}, z{f.zx, f.zy}, w{f.wx, f.wy};
        const V2 anspiel = o + Einheit(o - z) * 3.5;
        const V2 v = Einheit(anspiel - w) * 2.5;
        for (const Welt* welt : {&u.p, &u.r}) {
            Simergebnis& e = Spiele(*welt, s, {static_cast<float>(v.x), static_cast<float>(v.y), 0.0f});
            EXPECT_EQ(e.ersteBeruehrung, 9) << f.name;
            EXPECT_EQ(e.tasche[9], f.tasche) << f.name << " " << Modellname(welt->modell);
            EXPECT_TRUE(f.tasche >= 0 || Zaehle(e, Ereignisart::ecke) + Zaehle(e, Ereignisart::backe) > 0) << f.name;
        }
    }
}

TEST(Simulation, LaengsDerBandeAnDerMitteltascheVorbei) {
    // Eine Kugel rollt knapp über der Bandenlinie an der Mitteltasche vorbei
    // und berührt nichts; schräg zur Tasche hin fällt sie; etwas tiefer als
    // die Ecke erlaubt schlägt sie an der fernen Bandenecke an.
    const auto& u = Umgebung();
    struct Fall {
        float x, y, vx, vy;
        int tasche;
        bool ecke;
    };
    const float r = 1.75f, by = 2.5f;
    const Fall faelle[] = {
        {30.0f, by + r + 0.01f, 0.9f, 0.0f, -1, false},
        {45.0f, 5.0f, 0.485f, -0.121f, 2, false},
        {40.0f, 4.5f, 0.9f, -0.0234f, -1, true},
    };
    for (const Fall& f : faelle) {
        Simergebnis& e = Spiele(u.p, LeererStand(f.x, f.y, halbe), {f.vx, f.vy, 0.0f});
        EXPECT_EQ(e.tasche[0], f.tasche) << f.y;
        EXPECT_EQ(Zaehle(e, Ereignisart::ecke) > 0, f.ecke) << f.y;
        EXPECT_EQ(Zaehle(e, Ereignisart::bande), 0) << f.y;
    }
}

TEST(Simulation, InvariantenAufZufallstischen) {
    const auto& u = Umgebung();
    const double r = tk.tisch.radius, bx = tk.tisch.bande_x, by = tk.tisch.bande_y;
    std::mt19937 z(20261207);
    std::mt19937 staerke(7);
    int pruefungen = 0;
    for (int n = 0; n < 3000; ++n) {
        const Spielstand s = Zufallsstand(z);
        Vektor stoss;
        if (n % 2 == 0) {
            stoss = PlaneVorgegeben(s).stoss;
        } else {  // auch harte Stöße in alle Richtungen
            const double phi = staerke() * 2 * M_PI / 4294967296.0, v = 0.2 + 4.0 * (staerke() / 4294967296.0);
            stoss = {static_cast<float>(v * std::cos(phi)), static_cast<float>(v * std::sin(phi)), 0.0f};
        }
        for (const Welt* w : {&u.p, &u.r}) {
            Mitschrift m;
            Simergebnis& e = Spiele(*w, s, stoss, &m);
            ASSERT_FALSE(e.ereignisgrenze) << n;
            double energie = 0.5 * (stoss.x * stoss.x + stoss.y * stoss.y);
            for (const auto& zustand : m.zustaende) {
                double summe = 0;
                for (int i = 0; i < kAnzahlKugeln; ++i) {
                    const Kugelzustand& k = zustand[i];
                    if (!k.aufDemTisch) continue;
                    summe += Bewegungsenergie(k);
                    // Innerhalb der Banden, außer in den Taschenöffnungen.
                    const bool eckeLinks = k.p.y < tk.tisch.yb || k.p.y > tk.tisch.yc;
                    const bool laengsOffen = k.p.x < tk.tisch.xb || k.p.x > tk.tisch.xh || (k.p.x > tk.tisch.xc && k.p.x < tk.tisch.xg);
                    ASSERT_TRUE(eckeLinks || (k.p.x >= bx + r - 1e-6 && k.p.x <= tk.tisch.breite - bx - r + 1e-6)) << n;
                    ASSERT_TRUE(laengsOffen || (k.p.y >= by + r - 1e-6 && k.p.y <= tk.tisch.hoehe - by - r + 1e-6)) << n;
                    for (int j = i + 1; j < kAnzahlKugeln; ++j)
                        ASSERT_TRUE(!zustand[j].aufDemTisch || Betrag(k.p - zustand[j].p) >= 2 * r - 1e-6) << n;
                }
                ASSERT_LE(summe, energie * (1 + 1e-12) + 1e-15) << n;
                energie = summe;
                ++pruefungen;
            }
            // Gleiche Eingabe, bitgleiche Ausgabe.
            const Simergebnis erstes = e;
            const Simergebnis& zweites = Spiele(*w, s, stoss);
            ASSERT_EQ(zweites.anzahl, erstes.anzahl);
            for (int i = 0; i < kAnzahlKugeln; ++i) {
                ASSERT_EQ(zweites.lage[i].x, erstes.lage[i].x);
                ASSERT_EQ(zweites.lage[i].y, erstes.lage[i].y);
            }
        }
    }
    EXPECT_GT(pruefungen, 30000);
}

TEST(Simulation, GespiegelterTischGespiegeltesErgebnis) {
    // Lagen auf einem Raster von 1/1024, damit breite − x genau darstellbar ist.
    const auto& u = Umgebung();
    std::mt19937 z(99);
    const int spiegelTasche[6] = {4, 5, 2, 3, 0, 1};
    int gleich = 0;
    for (int n = 0; n < 500; ++n) {
        Spielstand s = Zufallsstand(z);
        for (Kugel& k : s.kugeln) k.x = std::round(k.x * 1024.0f) / 1024.0f, k.y = std::round(k.y * 1024.0f) / 1024.0f;
        Spielstand g = s;
        for (Kugel& k : g.kugeln) k.x = tk.tisch.breite - k.x;
        Vektor stoss;
        stoss = PlaneVorgegeben(s).stoss;
        for (const Welt* w : {&u.p, &u.r}) {
            const Simergebnis a = Spiele(*w, s, stoss);
            const Simergebnis& b = Spiele(*w, g, {-stoss.x, stoss.y, 0.0f});
            // Jeder Kugelstoß vergrößert kleine Unterschiede (Rundung in
            // breite − x); lange Stöße laufen darum irgendwann auseinander.
            if (a.anzahl > 30) continue;
            ASSERT_EQ(a.anzahl, b.anzahl) << n;
            ASSERT_EQ(a.ersteBeruehrung, b.ersteBeruehrung) << n;
            // Gleichzeitige Ereignisse (etwa zwei Kugeln, die nach einem
            // vollen Stoß im selben Augenblick zu rollen beginnen) ordnet erst
            // die Rundung der Zeit: sie zählen als Menge.
            for (int k = 0; k < a.anzahl;) {
                int ende = k + 1;
                while (ende < a.anzahl && a.ereignisse[ende].t - a.ereignisse[k].t <= 1e-9 * (1 + a.ereignisse[k].t)) ++ende;
                auto schluessel = [](const Ereignis& x) { return (int(x.art) << 16) | (x.kugel << 8) | (x.andere & 0xFF); };
                std::vector<int> sa, sb;
                for (int q = k; q < ende; ++q) sa.push_back(schluessel(a.ereignisse[q])), sb.push_back(schluessel(b.ereignisse[q]));
                std::sort(sa.begin(), sa.end());
                std::sort(sb.begin(), sb.end());
                ASSERT_EQ(sa, sb) << n;
                k = ende;
            }
            for (int i = 0; i < kAnzahlKugeln; ++i) {
                ASSERT_EQ(a.tasche[i] < 0 ? -1 : spiegelTasche[a.tasche[i]], b.tasche[i]) << n;
                ASSERT_NEAR(a.lage[i].x, tk.tisch.breite - b.lage[i].x, 1e-6) << n;
                ASSERT_NEAR(a.lage[i].y, b.lage[i].y, 1e-6) << n;
            }
            ++gleich;
        }
    }
    EXPECT_GT(gleich, 900);
}

TEST(Simulation, EreignisgrenzeUndUngueltigerStoss) {
    // Ohne Reibung und mit voll elastischer Bande läuft eine Kugel quer über
    // die Mitte der kurzen Banden ewig hin und her.
    Welt w = Umgebung().p;
    w.aRollen = 0.0;
    w.k = 1.0;
    const Spielstand s = LeererStand(30.0f, 27.75f, halbe);
    Simergebnis& e = Spiele(w, s, {2.0f, 0.0f, 0.0f});
    EXPECT_TRUE(e.ereignisgrenze);
    EXPECT_EQ(e.anzahl, kMaxEreignisse);

    static Simergebnis f;
    EXPECT_FALSE(Simuliere(Umgebung().g, Umgebung().p, s, {NAN, 0.0f, 0.0f}, f));
    EXPECT_FALSE(Simuliere(Umgebung().g, Umgebung().p, s, {INFINITY, 0.0f, 0.0f}, f));
    EXPECT_EQ(f.anzahl, 0);
}

// Welches Bandengesetz eine Datei wählt: nur 1 und 2 gelten, und nur in R;
// die Reibung am Tuch höchstens 1 (mehr hielte die Kugel fest).
TEST(Simulation, BandenartAusDerDatei) {
    const struct {
        const char* text;
        Bandenart art;
        double tuchReibung;
    } faelle[] = {
        {"bande_art=2\n", Bandenart::tuch, 0.21},
        {"bande_art=2\nbande_tuch_reibung=150\n", Bandenart::tuch, 1.0},
        {"bande_art=1\nbande_tuch_reibung=50\n", Bandenart::nase, 0.21},
        {"bande_art=3\n", Bandenart::einfach, 0.21},
    };
    for (const auto& f : faelle) {
        IniDatei ini;
        ini.text = std::string("[simulation]\n") + f.text;
        ZerlegeIniText(ini);
        const Welt r = WeltAus(ini, Modell::R);
        EXPECT_EQ(r.bandenart, f.art) << f.text;
        EXPECT_NEAR(r.tuchReibung, f.tuchReibung, 1e-7) << f.text;
        EXPECT_EQ(WeltAus(ini, Modell::P).bandenart, Bandenart::einfach) << f.text;
    }
}

TEST(Simulation, KonfigurationUndRauschen) {
    IniDatei ini;
    ini.text = "[physik]\nu=60\n[simulation]\nbandengesetz=1\ngleitreibung=40\nstosszahl_kugel=90\nbande_drall=-40\n"
               "bande_reibung=17\nbande_art=1\nbande_nase=190\n";
    ZerlegeIniText(ini);
    const Welt r = WeltAus(ini, Modell::R);
    EXPECT_NEAR(r.aRollen, 2 * Umgebung().p.aRollen, 1e-7);
    EXPECT_EQ(r.bandengesetz, Bandengesetz::komponenten);
    EXPECT_NEAR(r.aGleiten, 0.4 * 9.81 * 0.01, 1e-7);
    EXPECT_NEAR(r.eKugel, 0.9, 1e-7);
    EXPECT_NEAR(r.eNormal, 0.85, 1e-7);  // fehlt: Vorgabe
    EXPECT_NEAR(r.bandeDrall, -0.4, 1e-7);  // mit Vorzeichen
    EXPECT_NEAR(r.bandeReibung, 0.17, 1e-7);
    EXPECT_EQ(r.bandenart, Bandenart::nase);
    EXPECT_EQ(r.naseSinus, 0.5);  // höchstens 1.5 Radien
    EXPECT_NEAR(r.naseReibung, 0.2, 1e-7);
    EXPECT_EQ(WeltAus(ini, Modell::P).bandenart, Bandenart::einfach);
    EXPECT_EQ(WeltAus(ini, Modell::P).eKugel, 1.0);
    EXPECT_EQ(Umgebung().p.bandengesetz, Bandengesetz::spiegel);

    // Rauschen: F = 0 lässt den Stoß, gleiche Saat gibt gleiche Stöße, und die
    // Streuung hat das verlangte Maß (Grad, nicht Bogenmaß).
    std::mt19937_64 a(5), b(5);
    const Vektor stoss{0.0f, 1.0f, 0.0f};
    const Vektor genau = VerrauscheStoss(stoss, 0.0, a);
    EXPECT_EQ(genau.x, stoss.x);
    EXPECT_EQ(genau.y, stoss.y);
    VerrauscheStoss(stoss, 0.0, b);
    double summeW = 0, summeW2 = 0, summeS = 0, summeS2 = 0;
    const int n = 20000;
    for (int i = 0; i < n; ++i) {
        const Vektor v = VerrauscheStoss(stoss, 2.0, a);
        EXPECT_EQ(v.x, VerrauscheStoss(stoss, 2.0, b).x);
        const double w = std::atan2(v.y, v.x) * 180 / M_PI - 90, st = std::hypot(v.x, v.y) - 1;
        summeW += w, summeW2 += w * w, summeS += st, summeS2 += st * st;
    }
    EXPECT_NEAR(std::sqrt(summeW2 / n - (summeW / n) * (summeW / n)), 0.25, 0.01);
    EXPECT_NEAR(std::sqrt(summeS2 / n - (summeS / n) * (summeS / n)), 0.15, 0.005);
    EXPECT_NEAR(summeW / n, 0.0, 0.01);
}

TEST(Simulation, ErsteAnnaeherungGegenFeineAbtastung) {
    // Zufällige Abstandspolynome |C + B·t + A·t²|² − d², gegen Abtastung in
    // long double mit Halbierung: die erste Berührung auf 1e-9 genau.
    std::mt19937 z(3);
    auto zahl = [&](double spanne) { return (z() / 4294967296.0 - 0.5) * spanne; };
    int treffer = 0;
    for (int n = 0; n < 400; ++n) {
        const double cx = zahl(40), cy = zahl(40), bx = zahl(2), by = zahl(2), ax = zahl(0.02), ay = zahl(0.02);
        const double k[5] = {cx * cx + cy * cy - 12.25, 2 * (bx * cx + by * cy), bx * bx + by * by + 2 * (ax * cx + ay * cy),
                             2 * (ax * bx + ay * by), ax * ax + ay * ay};
        if (k[0] <= 0) continue;
        auto f = [&](long double t) {
            const long double x = cx + bx * t + ax * t * t, y = cy + by * t + ay * t * t;
            return x * x + y * y - 12.25L;
        };
        long double erwartet = -1;
        for (int i = 1; i <= 20000 && erwartet < 0; ++i) {
            long double lo = 100.0L * (i - 1) / 20000, hi = 100.0L * i / 20000;
            if (f(hi) > 0) continue;
            for (int j = 0; j < 80; ++j) (f((lo + hi) / 2) > 0 ? lo : hi) = (lo + hi) / 2;
            erwartet = lo;
        }
        const double t = ErsteAnnaeherung(k, 4, 100.0, 0.0, 0.0);
        if (erwartet < 0) {
            EXPECT_EQ(t, kNie) << n;
        } else {
            EXPECT_NEAR(t, static_cast<double>(erwartet), 1e-9) << n;
            ++treffer;
        }
    }
    EXPECT_GT(treffer, 30);
}
