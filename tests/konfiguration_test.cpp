#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>

#include "hilfen.h"
#include "model/ini_datei.h"
#include "model/konfiguration.h"
#include "sim/welt.h"

namespace {

std::uint32_t Lies(const std::string& text, const char* sektion, const char* schluessel, int vorgabe) {
    IniDatei ini;
    ini.text = text;
    ZerlegeIniText(ini);
    return IniGanzzahl(ini, sektion, schluessel, vorgabe);
}

// Wie ein Programm beim Start: die Datei einmal gelesen, Tisch und Netz daraus.
struct Geladen {
    int fehler;
    Tisch tisch;
    Netzeinstellung netz;
    Physik physik;
    float radius;
};
Geladen Lade(const std::string& pfad) {
    IniDatei ini;
    Geladen g{};
    g.fehler = LeseKonfiguration(pfad, ini);
    TischAus(ini, g.tisch);
    g.netz = NetzAus(ini);
    g.physik = PhysikAus(ini);
    g.radius = KugelradiusAus(ini);
    return g;
}

}  // namespace

TEST(IniDatei, ZahlenWieAtoiVorzeichenlos) {
    EXPECT_EQ(LeseGanzzahl("12abc"), 12u);
    EXPECT_EQ(LeseGanzzahl("abc"), 0u);
    EXPECT_EQ(LeseGanzzahl(""), 0u);
    EXPECT_EQ(LeseGanzzahl("+7"), 7u);
    EXPECT_EQ(LeseGanzzahl("-1"), 4294967295u);
    EXPECT_EQ(LeseGanzzahl("- 5"), 0u);
    EXPECT_EQ(LeseGanzzahl("4294967296"), 0u);  // läuft modulo 2^32 um, nie undefiniert
}

TEST(IniDatei, TrimmenFallUndErsteFundstelle) {
    const std::string text =
        "; Kommentar\r\n"
        "vorher=9\r\n"
        "  [ Tisch ]  \r\n"
        "   BREITE   =  1234  \r\n"
        "breite=999\r\n"
        "leer=\r\n"
        "ohne gleich\r\n"
        ";hoehe=77\r\n"
        "[physik]\r\n"
        "u=31\r\n"
        "[tisch]\r\n"
        "hoehe=4242\r\n";
    EXPECT_EQ(Lies(text, "tisch", "breite", 1), 1234u);   // erster Schlüssel gewinnt
    EXPECT_EQ(Lies(text, "TISCH", "Breite", 1), 1234u);
    EXPECT_EQ(Lies(text, "tisch", "leer", 5), 0u);        // leerer Wert ist 0, nicht die Vorgabe
    EXPECT_EQ(Lies(text, "tisch", "hoehe", 5550), 5550u);  // nur die erste Sektion "tisch" zählt
    EXPECT_EQ(Lies(text, "physik", "u", 30), 31u);
    EXPECT_EQ(Lies(text, "physik", "vorher", 3), 3u);       // Zeilen vor jeder Sektion gehören zu keiner
    EXPECT_EQ(Lies(text, "fehlt", "u", -1), 4294967295u);
}

TEST(IniDatei, EingerueckteZeileIstEigenerSchluessel) {
    EXPECT_EQ(Lies("[kugeln]\nk0_x=100\n    k0_y=200\n", "kugeln", "k0_y", 0), 200u);
}

TEST(Konfiguration, LeeresVerzeichnisGibtVorgabetisch) {
    TempVerzeichnis dir;
    const Geladen g = Lade((dir.pfad / "config.ini").string());
    const Tisch& t = g.tisch;
    const Netzeinstellung& n = g.netz;
    EXPECT_FLOAT_EQ(t.breite, 107.0f);
    EXPECT_FLOAT_EQ(t.hoehe, 55.5f);
    EXPECT_FLOAT_EQ(t.radius, 1.75f);
    EXPECT_FLOAT_EQ(t.tol_winkel, 5.0f);
    EXPECT_FLOAT_EQ(t.tol_ecke, 1.7f);
    EXPECT_FLOAT_EQ(t.tol_abstand, 0.4f);
    EXPECT_FLOAT_EQ(t.xe, 53.5f);
    EXPECT_FLOAT_EQ(t.xi, 101.5f);
    EXPECT_FLOAT_EQ(t.yd, 50.0f);
    EXPECT_EQ(n.port, 2222);
    EXPECT_EQ(n.bport, 2222);
    EXPECT_EQ(n.wartezeit, 5000u);
    EXPECT_EQ(n.gesamtzeit, 60000u);
    EXPECT_EQ(n.sender, 32u);
    EXPECT_EQ(n.verbindungen, 64u);
    EXPECT_EQ(n.sender_je_ziel, 4u);
    const float erwartet[16][2] = {{41.3f, 6.7f},  {30, 4.75f},   {14, 12.75f}, {90, 20.75f},
                                   {50, 10.75f},   {30, 34.75f},  {5, 48.75f},  {65, 50.75f},
                                   {20, 27.75f},   {80, 35.75f},  {85, 5.75f},  {5, 27.75f},
                                   {9, 5.75f},     {75, 15.75f},  {40, 49.75f}, {55, 39.75f}};
    for (int i = 0; i < 16; ++i) {
        EXPECT_FLOAT_EQ(t.kugeln[i].x, erwartet[i][0]) << i;
        EXPECT_FLOAT_EQ(t.kugeln[i].y, erwartet[i][1]) << i;
        EXPECT_EQ(t.kugeln[i].inloch, 0);
        EXPECT_EQ(t.kugeln[i].zieltasche, 0);
        EXPECT_EQ(t.kugeln[i].radius, 0.0f);  // nur der Spielstand bekommt den Radius
    }
    const Physik& p = g.physik;
    EXPECT_FLOAT_EQ(p.g, 9.81f);
    EXPECT_FLOAT_EQ(p.u, 0.3f);
    EXPECT_FLOAT_EQ(p.k, 0.2f);
    EXPECT_FLOAT_EQ(p.vend, 0.1f);
    EXPECT_FLOAT_EQ(p.vmax, 5.0f);
}

TEST(Konfiguration, MitgelieferteDateiEntsprichtDenVorgaben) {
    // Die ausgelieferte config.ini liegt neben dem Testprogramm.
    const Geladen v = Lade("/nonexistent/config.ini"), d = Lade(VerzeichnisDesProgramms() + "config.ini");
    const Tisch &vorgabe = v.tisch, &datei = d.tisch;
    IniDatei ini;
    ASSERT_TRUE(LeseIniDatei(VerzeichnisDesProgramms() + "config.ini", ini));
    EXPECT_GT(ini.eintraege.size(), 80u);
    // Jedes Maß einzeln: ein neues Feld, das die Datei anders setzt, fiele sonst nicht auf.
    constexpr float Tisch::*kMasse[] = {&Tisch::xa, &Tisch::xb, &Tisch::xc, &Tisch::xd, &Tisch::xe, &Tisch::xf,
                                        &Tisch::xg, &Tisch::xh, &Tisch::xi, &Tisch::ya, &Tisch::yb, &Tisch::yc,
                                        &Tisch::yd, &Tisch::breite, &Tisch::hoehe, &Tisch::bande_x, &Tisch::bande_y,
                                        &Tisch::tol_winkel, &Tisch::tol_ecke, &Tisch::tol_abstand, &Tisch::radius};
    for (std::size_t i = 0; i < std::size(kMasse); ++i) EXPECT_EQ(vorgabe.*kMasse[i], datei.*kMasse[i]) << i;
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(vorgabe.kugeln[i].x, datei.kugeln[i].x);
        EXPECT_EQ(vorgabe.kugeln[i].y, datei.kugeln[i].y);
        EXPECT_EQ(vorgabe.kugeln[i].inloch, datei.kugeln[i].inloch);
        EXPECT_EQ(vorgabe.kugeln[i].zieltasche, datei.kugeln[i].zieltasche);
    }
    EXPECT_EQ(v.netz.port, d.netz.port);
    EXPECT_EQ(v.netz.bport, d.netz.bport);
    EXPECT_EQ(v.netz.wartezeit, d.netz.wartezeit);
    EXPECT_EQ(v.netz.gesamtzeit, d.netz.gesamtzeit);
    EXPECT_EQ(v.netz.sender, d.netz.sender);
    EXPECT_EQ(v.netz.verbindungen, d.netz.verbindungen);
    EXPECT_EQ(v.netz.sender_je_ziel, d.netz.sender_je_ziel);
    // Die Schlüssel stehen wirklich in der Datei, nicht nur als Vorgabe.
    for (const char* schluessel : {"wartezeit", "gesamtzeit", "verbindungen", "sender", "sender_je_ziel"})
        EXPECT_NE(IniGanzzahl(ini, "netzwerk", schluessel, 0), 0u) << schluessel;
    // Auch die Welten der Simulation: [simulation] steht mit den Vorgaben in der Datei.
    for (const char* schluessel : {"gleitreibung", "kugelreibung", "bande_drall", "staerke_faktor"})
        EXPECT_NE(IniGanzzahl(ini, "simulation", schluessel, 0), 0u) << schluessel;
    for (Modell m : {Modell::P, Modell::R}) {
        const Welt w = WeltAus(ini, m), v = WeltAus(IniDatei{}, m);
        EXPECT_TRUE(w.bandengesetz == v.bandengesetz && w.aRollen == v.aRollen && w.k == v.k &&
                    w.aGleiten == v.aGleiten && w.eKugel == v.eKugel && w.eNormal == v.eNormal &&
                    w.eTangential == v.eTangential && w.bandeDrall == v.bandeDrall &&
                    w.bandeAbfall == v.bandeAbfall && w.kugelReibung == v.kugelReibung &&
                    w.staerkeFaktor == v.staerkeFaktor && w.richtungVersatz == v.richtungVersatz)
            << Modellname(m);
    }
}

TEST(Konfiguration, InlochNurBeiEinsUndVorzeichenlos) {
    TempVerzeichnis dir;
    std::string pfad = dir.Schreibe("config.ini",
                                    "[kugeln]\nk3_inloch=2\nk4_inloch=1\nk5_x=-1\nk6_x=12abc\nk7_y=abc\n"
                                    "k8_zieltasche=-1\ndurchmesser=400\n[tisch]\nbreite=-1\n"
                                    "[netzwerk]\nport=5000\n");
    const Geladen g = Lade(pfad);
    const Tisch& t = g.tisch;
    EXPECT_EQ(t.kugeln[3].inloch, 0);
    EXPECT_EQ(t.kugeln[4].inloch, 1);
    EXPECT_NEAR(t.kugeln[5].x, 42949672.0f, 8.0f);
    EXPECT_GT(t.breite, 4.0e7f);
    EXPECT_FLOAT_EQ(t.kugeln[6].x, 0.12f);
    EXPECT_EQ(t.kugeln[7].y, 0.0f);
    EXPECT_EQ(t.kugeln[8].zieltasche, -1);
    EXPECT_FLOAT_EQ(t.radius, 2.0f);
    EXPECT_EQ(g.netz.port, 5000);
    EXPECT_EQ(g.netz.bport, 2222);
    EXPECT_FLOAT_EQ(g.radius, 2.0f);
}

TEST(Konfiguration, UnlesbareDateiWirdGemeldetFehlendeNicht) {
    TempVerzeichnis dir;
    dir.Schreibe("lesbar.ini", "[netzwerk]\nport=4711\n");
    std::filesystem::create_directory(dir.pfad / "verzeichnis.ini");  // öffnen geht, lesen nicht (auch für root)
    const struct {
        const char* pfad;
        int fehler;
        int port;
    } faelle[] = {
        {"lesbar.ini", 0, 4711},
        {"fehlt.ini", 0, 2222},
        {"lesbar.ini/config.ini", 0, 2222},  // ein Verzeichnis davor ist eine Datei: fehlt auch
        {"verzeichnis.ini", EISDIR, 2222},
    };
    for (const auto& f : faelle) {
        const Geladen g = Lade((dir.pfad / f.pfad).string());
        EXPECT_EQ(g.fehler, f.fehler) << f.pfad;
        EXPECT_EQ(g.netz.port, f.port) << f.pfad;
        EXPECT_FLOAT_EQ(g.tisch.breite, 107.0f) << f.pfad;
    }
}

TEST(Konfiguration, Programmverzeichnis) {
    std::string dir = VerzeichnisDesProgramms();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.back(), '/');
    EXPECT_TRUE(std::filesystem::exists(dir + "stosswerk_tests"));
}
