// Die Kommandozeile der Programme: --version und --help aller, und bei
// stosswerk-plan Ausgaben, JSON, Fehler und Rückgabewerte.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "hilfen.h"
#include "prozess.h"
#include "stosswerk_version.h"

namespace {

std::string Bin(const char* programm) { return VerzeichnisDesProgramms() + programm; }

Ergebnis Plan(std::vector<std::string> argumente) {
    argumente.insert(argumente.begin(), Bin("stosswerk-plan"));
    return Fuehreaus(argumente);
}

}  // namespace

// Jedes Programm nennt auf --version seinen Namen und die Version des Pakets,
// und seine Hilfe erwähnt die Option. Ein neues Programm gehört in die Liste.
TEST(Programme, VersionUndHilfe) {
    for (const char* programm : {"stosswerk", "stosswerk-plan", "stosswerk-sim", "spieltisch"}) {
        SCOPED_TRACE(programm);
        Ergebnis version = Fuehreaus({Bin(programm), "--version"});
        EXPECT_EQ(version.rueckgabe, 0);
        EXPECT_EQ(version.ausgabe, std::string(programm) + " " + kStosswerkVersion + "\n");
        Ergebnis hilfe = Fuehreaus({Bin(programm), "--help"});
        EXPECT_EQ(hilfe.rueckgabe, 0);
        EXPECT_NE(hilfe.ausgabe.find("--version"), std::string::npos);
    }
}

TEST(StosswerkPlan, TextausgabeMitSiebenZeilenUndVektor) {
    Ergebnis e = Plan({});
    ASSERT_EQ(e.rueckgabe, 0);
    EXPECT_EQ(e.ausgabe.rfind("\r\ncntWeisseKugelLoch=", 0), 0u);
    EXPECT_NE(e.ausgabe.find("Anzahl möglicher Stöße: 14\r\n"), std::string::npos);
    EXPECT_NE(e.ausgabe.find("\nx:\t0.421\ny:\t0.912\nz:\t0.000\nBetrag:\t1.005\n"), std::string::npos) << e.ausgabe;
}

TEST(StosswerkPlan, JsonHatGenauDieVereinbartenSchluessel) {
    Ergebnis e = Plan({"--json", "--gruppe", "2"});
    ASSERT_EQ(e.rueckgabe, 0);
    const auto j = nlohmann::json::parse(e.ausgabe);
    std::vector<std::string> schluessel;
    for (const auto& [k, v] : j.items()) schluessel.push_back(k);
    EXPECT_EQ(schluessel, (std::vector<std::string>{"anzahl", "art", "betrag", "bewertung", "cntNurAnspielen",
                                                    "cntUngewisserStoss", "cntWeisseBandeKugelLoch",
                                                    "cntWeisseKugelBandeLoch", "cntWeisseKugelKugelLoch",
                                                    "cntWeisseKugelLoch", "stoss"}));
    EXPECT_EQ(j["anzahl"], 53);
    EXPECT_EQ(j["cntWeisseKugelKugelLoch"], 24);
    EXPECT_EQ(j["art"], 0);
    EXPECT_NEAR(j["bewertung"].get<double>(), 122.8549, 1e-4);
    EXPECT_NEAR(j["betrag"].get<double>(), 1.00461, 1e-5);
    EXPECT_EQ(j["stoss"]["z"], 0.0);
}

// Mit --budget zählt die robuste Wahl Stöße statt Zeit: eine Millisekunde
// sind genau 40, und zwei Läufe geben dasselbe Byte für Byte.
TEST(StosswerkPlan, BudgetStattUhr) {
    TempVerzeichnis dir;
    const std::string config = dir.Schreibe("config.ini", "[planer]\nmodus=1\nzeitgrenze=1\n");
    Ergebnis a = Plan({"--json", "--budget", "--config", config}), b = Plan({"--json", "--budget", "--config", config});
    ASSERT_EQ(a.rueckgabe, 0);
    EXPECT_EQ(a.ausgabe, b.ausgabe);
    const auto j = nlohmann::json::parse(a.ausgabe)["robust"];
    EXPECT_EQ(j["stoesse"], 40);
    EXPECT_EQ(j["gekappt"], true);
    EXPECT_EQ(j["sicherheit"], false);
    // Ohne --budget bleibt das Objekt, wie es war.
    EXPECT_FALSE(nlohmann::json::parse(Plan({"--json", "--config", config}).ausgabe)["robust"].contains("stoesse"));
}

TEST(StosswerkPlan, DokumentAusDateiUndStandardeingabe) {
    const std::string beispiel = Bin("beispiel-anfrage.xml");
    Ergebnis datei = Plan({"--json", beispiel});
    ASSERT_EQ(datei.rueckgabe, 0) << datei.ausgabe;
    Ergebnis eingabe = Fuehreaus({"/bin/sh", "-c", "exec \"$0\" --json - < \"$1\"", Bin("stosswerk-plan"), beispiel});
    ASSERT_EQ(eingabe.rueckgabe, 0);
    EXPECT_EQ(datei.ausgabe, eingabe.ausgabe);
    // Die Beispielanfrage ist die Grundaufstellung mit Gruppe 0.
    const auto j = nlohmann::json::parse(datei.ausgabe), g = nlohmann::json::parse(Plan({"--json"}).ausgabe);
    EXPECT_EQ(j["anzahl"], g["anzahl"]);
    EXPECT_NEAR(j["betrag"].get<double>(), g["betrag"].get<double>(), 1e-4);
}

TEST(StosswerkPlan, FehlerUndRueckgabewerte) {
    TempVerzeichnis dir;
    EXPECT_EQ(Plan({"--help"}).rueckgabe, 0);
    EXPECT_EQ(Plan({"--unbekannt"}).rueckgabe, 2);
    EXPECT_EQ(Plan({"--gruppe"}).rueckgabe, 2);
    EXPECT_EQ(Plan({"--gruppe", "zwei"}).rueckgabe, 2);
    EXPECT_EQ(Plan({"--gruppe", "7"}).rueckgabe, 2);
    // Was sich nicht lesen lässt, ist eine fehlerhafte Eingabe (1), kein Aufruffehler.
    EXPECT_EQ(Plan({"--config", (dir.pfad / "fehlt.ini").string()}).rueckgabe, 1);
    EXPECT_EQ(Plan({"--config", dir.pfad.string()}).rueckgabe, 1);  // ein Verzeichnis
    EXPECT_EQ(Plan({(dir.pfad / "fehlt.xml").string()}).rueckgabe, 1);
    EXPECT_EQ(Plan({"--gruppe", "1", Bin("beispiel-anfrage.xml")}).rueckgabe, 2);
    // Ein fehlerhaftes Dokument ist kein Aufruffehler, sondern 1.
    EXPECT_EQ(Plan({dir.Schreibe("kaputt.xml", "<tablestate><ball></ball></tablestate>")}).rueckgabe, 1);
    // Eine genannte, gültige Konfiguration wirkt: ein anderer Tisch, ein anderes Ergebnis.
    const std::string config = dir.Schreibe("config.ini", "[kugeln]\nk0_x=6000\nk0_y=2000\n");
    Ergebnis anders = Plan({"--json", "--config", config});
    ASSERT_EQ(anders.rueckgabe, 0);
    EXPECT_NE(nlohmann::json::parse(anders.ausgabe)["stoss"], nlohmann::json::parse(Plan({"--json"}).ausgabe)["stoss"]);
}

// Eine Ausgabe, die nicht hinausgeht (volle Platte), ist kein Erfolg: früher 0.
TEST(Programme, VolleStandardausgabeIstEinFehler) {
    TempVerzeichnis dir;
    nlohmann::json kugeln = nlohmann::json::array();
    for (const Kugel& k : Vorgabetisch().tisch.kugeln) kugeln.push_back({k.x, k.y, k.inloch});
    const std::string stapel =
        dir.Schreibe("stapel.jsonl", nlohmann::json{{"kugeln", kugeln}, {"stoss", {1.5, 0.25}}}.dump() + "\n");
    const std::vector<std::vector<std::string>> faelle = {
        {"stosswerk-plan", "--json"},
        {"stosswerk-sim", "--plan"},
        {"stosswerk-sim", "--stapel", stapel},
        {"stosswerk-plan", "--help"},
    };
    for (std::vector<std::string> f : faelle) {
        SCOPED_TRACE(f[0] + " " + f[1]);
        f[0] = Bin(f[0].c_str());
        f.insert(f.begin(), {"/bin/sh", "-c", "exec \"$@\" > /dev/full 2>&1 || exit $?", "sh"});
        EXPECT_EQ(Fuehreaus(f).rueckgabe, 1);
        f[2] = "exec \"$@\" > /dev/null";
        EXPECT_EQ(Fuehreaus(f).rueckgabe, 0);  // dieselbe Ausgabe geht sonst hinaus
    }
}
