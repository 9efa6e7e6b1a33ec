#include <gtest/gtest.h>

#include <cmath>
#include <utility>

#include "anzeige/anzeige.h"
#include "hilfen.h"
#include "planner/robuste_kandidaten.h"
#include "planner/robuste_suche.h"
#include "planner/robuste_zielfenster.h"
#include "planner/schiedsrichter.h"
#include "sim/simulation.h"
#include "sim/tischgeometrie.h"
#include "sim/welt.h"

namespace {
const Tischkontext& tk = Vorgabetisch();
}  // namespace

namespace {

Planereinstellung Vorgaben() {
    IniDatei leer;
    return PlanerAus(leer);
}

// Die Vorgaben ohne Zeitgrenze: die Antworten hängen dann nicht von der Maschine ab.
Planereinstellung OhneZeitgrenze() {
    Planereinstellung e = Vorgaben();
    e.zeitgrenze = 0;
    return e;
}

struct Plan {
    Vektor stoss;
    Suchbericht bericht;
    std::string log;
};

// In Welt P, deren Physik feststeht: dort sind Stöße und Zeilen genau vorherzusagen.
Planereinstellung InWeltP() {
    Planereinstellung e = OhneZeitgrenze();
    e.welt = Modell::P;
    return e;
}

// Die robuste Wahl mit den Einstellungen e und Physik, Welt aus ini.
Plan Robust(const Spielstand& s, const Planereinstellung& e = OhneZeitgrenze(), const IniDatei& ini = {}) {
    Planerkontext pk = PlanerkontextAus(ini);
    pk.einstellung = e;
    pk.welt = WeltAus(ini, e.welt);
    const Planergebnis r = SucheStossRobust(tk, pk, s);
    std::string log;
    for (const std::string& z : r.protokoll) log += z;
    return {r.stoss, r.bericht, log};
}

Plan Vorgegeben(const Spielstand& s) {
    const Planergebnis r = PlaneVorgegeben(s);
    std::string log;
    for (const std::string& z : r.protokoll) log += z;
    return {r.stoss, r.bericht, log};
}

}  // namespace

TEST(Robust, EinstellungenUndVorgaben) {
    const Planereinstellung v = Vorgaben();
    EXPECT_EQ(v.modus, Planermodus::vorgegeben);
    EXPECT_EQ(v.kandidaten, 6);
    EXPECT_EQ(v.proben, 32);
    EXPECT_DOUBLE_EQ(v.rauschen, 1.0);
    EXPECT_EQ(v.welt, Modell::R);
    EXPECT_DOUBLE_EQ(v.stellung, 0.5);

    // Die ausgelieferte config.ini nennt jeden Schlüssel, mit dem Wert der Vorgabe.
    IniDatei datei;
    ASSERT_TRUE(LeseIniDatei(VerzeichnisDesProgramms() + "config.ini", datei));
    for (const char* k : {"modus", "kandidaten", "proben", "rauschen", "welt", "stellung", "zeitgrenze", "sicherheit",
                          "sicherheit_schwelle"})
        EXPECT_NE(IniGanzzahl(datei, "planer", k, 12345), 12345u) << k;
    const Planereinstellung d = PlanerAus(datei);
    EXPECT_EQ(d.modus, v.modus);
    EXPECT_EQ(d.kandidaten, v.kandidaten);
    EXPECT_EQ(d.proben, v.proben);
    EXPECT_EQ(d.rauschen, v.rauschen);
    EXPECT_EQ(d.welt, v.welt);
    EXPECT_EQ(d.stellung, v.stellung);
    EXPECT_EQ(d.zeitgrenze, v.zeitgrenze);
    EXPECT_EQ(d.sicherheit, v.sicherheit);
    EXPECT_EQ(d.sicherheitSchwelle, v.sicherheitSchwelle);

    IniDatei ini;
    ini.text = "[planer]\nmodus=1\nkandidaten=-1\nproben=12\nrauschen=150\nwelt=0\nstellung=0\nzeitgrenze=-1\nsicherheit=0\n"
                "sicherheit_schwelle=250\n";
    ZerlegeIniText(ini);
    const Planereinstellung e = PlanerAus(ini);
    EXPECT_EQ(e.modus, Planermodus::robust);
    EXPECT_EQ(e.kandidaten, 20);  // −1 ist vorzeichenlos riesig: begrenzt
    EXPECT_EQ(e.proben, 12);
    EXPECT_DOUBLE_EQ(e.rauschen, 1.5);
    EXPECT_EQ(e.welt, Modell::P);
    EXPECT_DOUBLE_EQ(e.stellung, 0.0);
    EXPECT_EQ(e.zeitgrenze, 600000);  // höchstens zehn Minuten
    EXPECT_FALSE(e.sicherheit);
    EXPECT_DOUBLE_EQ(e.sicherheitSchwelle, 1.0);
}

TEST(Robust, VorgabeBleibtDerVorgegebenePlaner) {
    // Ohne [planer] plant PlaneStoss genau wie SucheStoss: Stoß und Protokoll.
    Spielstand s;
    SetzeStandardaufstellung(tk.tisch, s);
    const Plan v = Vorgegeben(s);
    const Planergebnis p = PlaneStoss(tk, PlanerkontextAus(IniDatei{}), s);
    std::string log;
    for (const std::string& z : p.protokoll) log += z;
    EXPECT_EQ(p.stoss.x, v.stoss.x);
    EXPECT_EQ(p.stoss.y, v.stoss.y);
    EXPECT_EQ(log, v.log);
}

TEST(Robust, GleicheAnfrageGleicheAntwortUndProtokoll) {
    Spielstand s;
    SetzeStandardaufstellung(tk.tisch, s);
    const Plan a = Robust(s), b = Robust(s);
    EXPECT_EQ(a.stoss.x, b.stoss.x);
    EXPECT_EQ(a.stoss.y, b.stoss.y);
    EXPECT_EQ(a.log, b.log);
    // Die sieben Zeilen der Suche, dann zwei eigene.
    const Plan v = Vorgegeben(s), p = Robust(s, InWeltP());
    ASSERT_EQ(p.log.rfind(v.log, 0), 0u) << p.log;
    const std::string rest = p.log.substr(v.log.size());
    EXPECT_EQ(rest, "Robust: Kugel 15 in Tasche 4 (WeisseKugelLoch), Stärke 1.31\r\nErfolg 32 von 32 Proben\r\n");
}

TEST(Robust, SpieltDenGeradenStossStattDesDuennenSchnitts) {
    // Halbe; die Liste nimmt die 10 mit 80° Schnitt (kurze Wege), robust
    // spielt die 9 fast gerade über den halben Tisch.
    Spielstand s = LeererStand(36, 30, halbe);
    SetzeKugel(s, 9, 86, 12);
    SetzeKugel(s, 10, 33, 45);
    SetzeKugel(s, 8, 53.5f, 27.75f);
    const Plan v = Vorgegeben(s), r = Robust(s, InWeltP());
    EXPECT_EQ(v.bericht.bester.art, WeisseKugelLoch);
    EXPECT_LT(v.bericht.bester.winkel, 105.0f);
    EXPECT_EQ(r.bericht.bester.art, WeisseKugelLoch);
    EXPECT_GT(r.bericht.bester.winkel, 170.0f);
    EXPECT_EQ(r.bericht.erfolge, r.bericht.proben);
}

TEST(Robust, SchwarzeNurInIhreZieltasche) {
    // Nur noch die Schwarze; die Ecke 1 liegt gerade vor ihr, ihre Zieltasche
    // ist aber die untere Mitte (3): dort hinein, nie in die Ecke.
    Spielstand s = LeererStand(20, 20, halbe);
    SetzeKugel(s, 8, 10, 10);
    s.kugeln[8].zieltasche = 3;
    SetzeKugel(s, 1, 60, 30);
    SetzeKugel(s, 2, 80, 40);
    const Plan r = Robust(s);
    EXPECT_NE(r.log.find("Robust: Kugel 8 in Tasche 3"), std::string::npos) << r.log;
    Simergebnis e;
    Simuliere(BaueTischgeometrie(tk), WeltAus(IniDatei{}, Modell::R), s, r.stoss, e);
    EXPECT_EQ(e.tasche[8], 2) << r.log;
}

TEST(Robust, OhneMoeglichenErfolgBleibtDerBesteDerListe) {
    // Volle, alle Vollen und die Schwarze schon eingelocht: keine eigene Kugel liegt.
    Spielstand s = LeererStand(30, 20, volle);
    for (int i : {9, 10, 11}) SetzeKugel(s, i, 20.0f + 10.0f * i, 35.0f);
    const Plan v = Vorgegeben(s), r = Robust(s);
    EXPECT_EQ(r.stoss.x, v.stoss.x);
    EXPECT_EQ(r.stoss.y, v.stoss.y);
    EXPECT_EQ(r.bericht.erfolge, 0);
    EXPECT_NE(r.log.find("Robust: kein Stoß gelingt in den Proben, gespielt wird der beste der Liste.\r\n"),
              std::string::npos);
}

TEST(Robust, ZeitgrenzeKapptDieSucheUndSpieltDenBestenBisDahin) {
    // Sechzehn Kugeln in einer Reihe, jede berührt die nächste: in Welt R
    // dauert die ganze Suche Hunderte Millisekunden, 1 ms kappt sie sicher.
    const float d = 2.0f * tk.tisch.radius, y = tk.tisch.hoehe / 2.0f;
    Spielstand s = LeererStand(22.0f, y, halbe);
    for (int i = 1; i < kAnzahlKugeln; ++i) SetzeKugel(s, i, 22.0f + d * static_cast<float>(i), y);
    Planereinstellung e = Vorgaben();
    e.welt = Modell::R;
    e.zeitgrenze = 1;
    const Plan p = Robust(s, e);
    EXPECT_NE(p.log.find("Robust: Zeitgrenze von 1 ms erreicht, gespielt wird der beste bis dahin gefundene Stoß.\r\n"),
              std::string::npos)
        << p.log;
    EXPECT_TRUE(std::isfinite(p.stoss.x) && std::isfinite(p.stoss.y));
    EXPECT_GT(Laenge(p.stoss), 0.0f);
    EXPECT_LE(Laenge(p.stoss), 5.0f);
}

TEST(Robust, NieStaerkerAlsVmax) {
    // Auf der Grundaufstellung spielt die robuste Wahl in R stärker als 1.6;
    // mit vmax 1.60 wird daraus höchstens 1.6, auch nach dem Runden der
    // Antwort auf vier Stellen (mit 1.5 erreicht die Kugel die Tasche nicht
    // mehr). Die vorgegebene Suche bleibt unbegrenzt.
    Spielstand s;
    SetzeStandardaufstellung(tk.tisch, s);
    for (int vmax : {500, 160, 0}) {
        IniDatei ini;
        ini.text = "[physik]\nvmax=" + std::to_string(vmax) + "\n";
        ZerlegeIniText(ini);
        const Plan p = Robust(s, OhneZeitgrenze(), ini);
        const double grenze = vmax * 0.01;
        EXPECT_LE(std::hypot(std::round(p.stoss.x * 1e4) * 1e-4, std::round(p.stoss.y * 1e4) * 1e-4), grenze) << vmax;
        EXPECT_GT(Laenge(p.stoss) + 0.001, std::min(grenze, 1.6)) << vmax;  // gekürzt, nicht verworfen
    }
    IniDatei klein;
    klein.text = "[physik]\nvmax=1\n";
    ZerlegeIniText(klein);
    EXPECT_GT(Laenge(SucheStoss(tk, s, PhysikAus(klein), tk.tisch.radius).stoss), 0.5f);
}

TEST(Robust, ZielfensterGleichtDenWurfAus) {
    // Ein Schnitt von 30° in die Ecke, die Weiße 12 Einheiten vor der Geisterkugel.
    // Der Wurf drückt die Objektkugel zur Laufrichtung der Weißen hin, sie fällt
    // voller aus, als die Geometrie sagt: das Fenster muss dünner liegen als
    // ohne Wurf, und seine Mitte muss gelingen.
    const float r = tk.tisch.radius, s2 = std::sqrt(0.5f);
    const Vektor zurTasche{-s2, -s2, 0.0f}, objekt{tk.taschenpunkte[0].x + 15.0f, tk.taschenpunkte[0].y + 15.0f, 0.0f};
    const Vektor geist = Addiere(objekt, Skaliere(zurTasche, -2.0f * r));
    const Vektor lauf = Gedreht(zurTasche, 30.0f);
    const Vektor weiss = Addiere(geist, Skaliere(lauf, -12.0f));
    Spielstand s = LeererStand(weiss.x, weiss.y, halbe);
    SetzeKugel(s, 9, objekt.x, objekt.y);
    SetzeKugel(s, 8, 90.0f, 40.0f);

    const Tischgeometrie g = BaueTischgeometrie(tk);
    const double null[1] = {0.0};
    auto fenster = [&](const char* kugelreibung) {
        IniDatei ini;
        ini.text = std::string("[simulation]\nkugelreibung=") + kugelreibung + "\n";
        ZerlegeIniText(ini);
        const Welt w = WeltAus(ini, Modell::R);
        Frist f = StarteFrist(0);
        Durchspiel d{tk, s, g, w, 0.0, null, null, f, {}};
        const Vektor stoss = Skaliere(lauf, 2.0f);
        const Zielfenster z = SucheZielfenster(d, stoss, 0.0f, 5.0f);
        EXPECT_TRUE(z.gefunden) << kugelreibung;
        // Die Ränder sind halbiert bis auf ein Achtel der Breite: innen wie außen
        // ein halbes Grad davon muss das Urteil stimmen.
        const std::pair<float, bool> proben[] = {
            {Mitte(z), true}, {z.von + 0.5f, true}, {z.bis - 0.5f, true}, {z.von - 0.5f, false}, {z.bis + 0.5f, false}};
        for (const auto& [grad, gelingt] : proben) {
            Simuliere(g, w, s, Gedreht(stoss, grad), d.e);
            EXPECT_EQ(BeurteileStoss(s, d.e).erfolg, gelingt) << kugelreibung << " bei " << grad << "°";
        }
        return z;
    };
    const Zielfenster mitWurf = fenster("6"), ohneWurf = fenster("0");
    // Dünner heißt: von der Objektkugel weg gedreht.
    const Vektor zurKugel = Normiere(Subtrahiere(objekt, weiss));
    const float duenner = lauf.x * zurKugel.y - lauf.y * zurKugel.x > 0.0f ? -1.0f : 1.0f;
    EXPECT_GT(duenner * (Mitte(mitWurf) - Mitte(ohneWurf)), 0.1f);
}
