// stosswerk-sim auf der Kommandozeile: das JSON-Objekt, der Stoß des Planers,
// das Rauschen und die Rückgabewerte. Das Bild prüfen die Fenstertests (Qt).
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>

#include "hilfen.h"
#include "prozess.h"

namespace {

std::string Bin(const char* programm) { return VerzeichnisDesProgramms() + programm; }

Ergebnis Sim(std::vector<std::string> argumente) {
    argumente.insert(argumente.begin(), Bin("stosswerk-sim"));
    return Fuehreaus(argumente);
}

nlohmann::ordered_json SimJson(std::vector<std::string> argumente) {
    argumente.push_back("--json");
    const Ergebnis e = Sim(argumente);
    EXPECT_EQ(e.rueckgabe, 0);
    return nlohmann::ordered_json::parse(e.ausgabe);
}

}  // namespace

TEST(StosswerkSim, JsonHatDieVereinbartenSchluesselUndTypen) {
    // In P fällt der Planerstoß der Grundaufstellung: Kugel 15 in Tasche 3 (die "4" im Bild).
    const auto j = SimJson({"--plan", "--modell", "P"});
    std::vector<std::string> schluessel;
    for (const auto& [k, v] : j.items()) schluessel.push_back(k);
    EXPECT_EQ(schluessel, (std::vector<std::string>{"modell", "stoss", "ereignisse", "kugeln", "erste_beruehrung",
                                                    "versenkt", "ereignisgrenze"}));
    EXPECT_EQ(j["modell"], "P");
    ASSERT_TRUE(j["stoss"].is_array() && j["stoss"].size() == 2 && j["stoss"][0].is_number());
    EXPECT_EQ(j["erste_beruehrung"], 15);
    EXPECT_EQ(j["ereignisgrenze"], false);

    const std::set<std::string> arten{"kugel", "bande", "backe", "ecke", "tasche", "rollen", "halt"};
    ASSERT_FALSE(j["ereignisse"].empty());
    double vorher = 0.0;
    nlohmann::ordered_json versenkt = nlohmann::ordered_json::array();
    for (const auto& r : j["ereignisse"]) {
        ASSERT_TRUE(r["t"].is_number() && r["art"].is_string()) << r;
        EXPECT_GE(r["t"].get<double>(), vorher);
        vorher = r["t"];
        const std::string art = r["art"];
        EXPECT_TRUE(arten.count(art)) << art;
        EXPECT_EQ(r["kugeln"].size(), art == "kugel" ? 2u : 1u) << r;
        EXPECT_EQ(r.contains("tasche"), art == "tasche") << r;
        if (art == "tasche") versenkt.push_back({{"nr", r["kugeln"][0]}, {"tasche", r["tasche"]}, {"t", r["t"]}});
    }
    EXPECT_EQ(j["versenkt"], versenkt);
    ASSERT_EQ(versenkt.size(), 1u);
    EXPECT_EQ(versenkt[0]["nr"], 15);
    EXPECT_EQ(versenkt[0]["tasche"], 3);

    ASSERT_EQ(j["kugeln"].size(), 16u);
    for (int i = 0; i < 16; ++i) {
        const auto& k = j["kugeln"][i];
        EXPECT_EQ(k["nr"], i);
        EXPECT_TRUE(k["x"].is_number_float() && k["y"].is_number_float());
        EXPECT_EQ(k["inloch"], i == 15 ? 1 : 0);
        EXPECT_EQ(k["tasche"], i == 15 ? 3 : -1);
    }
}

TEST(StosswerkSim, PlanSpieltDenStossVonStosswerkPlan) {
    const std::string beispiel = Bin("beispiel-anfrage.xml");
    for (const std::vector<std::string>& fall :
         {std::vector<std::string>{}, {"--gruppe", "2"}, {"--gruppe", "1"}, {beispiel}}) {
        SCOPED_TRACE(fall.empty() ? "Grundaufstellung" : fall.back());
        std::vector<std::string> plan{Bin("stosswerk-plan"), "--json"};
        plan.insert(plan.end(), fall.begin(), fall.end());
        const auto p = nlohmann::json::parse(Fuehreaus(plan).ausgabe);
        std::vector<std::string> sim{"--plan"};
        sim.insert(sim.end(), fall.begin(), fall.end());
        const auto s = SimJson(sim);
        EXPECT_EQ(s["modell"], "R");  // die Vorgabe
        EXPECT_EQ(s["stoss"][0], p["stoss"]["x"]);
        EXPECT_EQ(s["stoss"][1], p["stoss"]["y"]);
    }
}

TEST(StosswerkSim, RauschenWiederholtSichMitDerSaat) {
    const auto genau = SimJson({"--stoss", "0.5,1"});
    const auto a = SimJson({"--stoss", "0.5,1", "--rauschen", "1", "--saat", "18446744073709551615"});
    const auto b = SimJson({"--stoss", "0.5,1", "--rauschen", "1", "--saat", "18446744073709551615"});
    const auto c = SimJson({"--stoss", "0.5,1", "--rauschen", "1", "--saat", "7"});
    EXPECT_EQ(genau["stoss"], nlohmann::ordered_json::array({0.5, 1.0}));
    EXPECT_EQ(a, b);
    EXPECT_NE(a["stoss"], genau["stoss"]);
    EXPECT_NE(a["stoss"], c["stoss"]);
}

TEST(StosswerkSim, FehlerUndRueckgabewerte) {
    TempVerzeichnis dir;
    const std::string kaputt = dir.Schreibe("kaputt.xml", "<tablestate><ball></ball></tablestate>");
    const std::string beispiel = Bin("beispiel-anfrage.xml");
    const struct {
        std::vector<std::string> argumente;
        int rueckgabe;
    } faelle[] = {
        {{"--help"}, 0},
        {{}, 2},  // weder --stoss noch --plan
        {{"--plan", "--stoss", "1,0"}, 2},
        {{"--stoss", "1"}, 2},
        {{"--stoss", "nan,1"}, 2},
        {{"--stoss", "1,inf"}, 2},
        {{"--stoss", "1e39,0"}, 2},  // als float unendlich
        {{"--stoss"}, 2},
        {{"--plan", "--modell", "Q"}, 2},
        {{"--plan", "--rauschen", "1"}, 2},
        {{"--plan", "--saat", "1"}, 2},
        {{"--plan", "--rauschen", "-0.5", "--saat", "1"}, 2},
        {{"--plan", "--rauschen", "nan", "--saat", "1"}, 2},
        {{"--plan", "--rauschen", "1", "--saat", "-1"}, 2},
        {{"--plan", "--gruppe", "zwei"}, 2},
        {{"--plan", "--gruppe", "7"}, 2},
        {{"--plan", "--unbekannt"}, 2},
        {{"--plan", "--gruppe", "1", beispiel}, 2},
        {{"--plan", (dir.pfad / "fehlt.xml").string()}, 1},
        {{"--plan", "--config", (dir.pfad / "fehlt.ini").string()}, 1},
        {{"--plan", "--bild", (dir.pfad / "fehlt" / "bild.png").string()}, 1},
        {{"--plan", kaputt}, 1},
        {{"--stoss", "1,0", "--json", kaputt}, 1},
    };
    for (const auto& f : faelle) {
        std::string aufruf;
        for (const std::string& a : f.argumente) aufruf += a + " ";
        SCOPED_TRACE(aufruf);
        const Ergebnis e = Sim(f.argumente);
        EXPECT_EQ(e.rueckgabe, f.rueckgabe);
        // Fehler gehen auf die Fehlerausgabe; mit --json steht nicht einmal "fehler" in der Ausgabe.
        if (f.rueckgabe == 2 || aufruf.find("--json") != std::string::npos) {
            EXPECT_EQ(e.ausgabe, "");
        }
    }
}

TEST(StosswerkSim, SpieltJedeZeileEinesStossprotokollsNach) {
    // spieltisch protokolliert ganze Aufnahmen; jede Zeile nennt Modell und
    // Welt und gibt nachgespielt denselben Ausgang, ohne dass man sie angibt.
    TempVerzeichnis dir;
    const std::string protokoll = (dir.pfad / "p.jsonl").string();
    const std::string welt = dir.Schreibe("welt.ini", "[simulation]\ngleitreibung=20\nbande_normal=60\n");
    const std::vector<std::string> laeufe[] = {{}, {"--welt", welt}, {"--modell", "P"}};
    for (const auto& dazu : laeufe) {
        SCOPED_TRACE(dazu.empty() ? "" : dazu[1]);
        std::vector<std::string> a = {Bin("spieltisch"), "--spielen", "--lokal", "--zufall", "3", "--anzahl", "4",
                                      "--rauschen", "1", "--protokoll", protokoll};
        a.insert(a.end(), dazu.begin(), dazu.end());
        const Ergebnis lauf = Fuehreaus(a);
        ASSERT_EQ(lauf.rueckgabe, 0) << lauf.ausgabe;
        std::ifstream datei(protokoll);
        int n = 0;
        for (std::string zeile; std::getline(datei, zeile);) {
            const auto z = nlohmann::ordered_json::parse(zeile);
            const auto j = SimJson({"--protokoll", protokoll, "--zeile", std::to_string(++n)});
            std::vector<int> versenkt;
            for (const auto& v : j["versenkt"]) versenkt.push_back(v["nr"]);
            std::sort(versenkt.begin(), versenkt.end());
            EXPECT_EQ(nlohmann::ordered_json(versenkt), z["versenkt"]) << n;
            EXPECT_EQ(j["erste_beruehrung"], z["erste_beruehrung"]) << n;
            EXPECT_EQ(j["stoss"], z["gespielt"]) << n;
            EXPECT_EQ(j["modell"], z["modell"]) << n;
        }
        EXPECT_GE(n, 4);
    }
    // Eine Zeile ohne Modell und Welt (ältere Protokolle) wird weiter gelesen;
    // eine genannte Welt, die fehlt, ist ein Fehler.
    std::string erste;
    std::getline(std::ifstream(protokoll) >> std::ws, erste);
    auto z = nlohmann::ordered_json::parse(erste);
    z.erase("modell");
    z.erase("welt");
    const std::string alt = dir.Schreibe("alt.jsonl", z.dump() + "\n");
    EXPECT_EQ(Sim({"--protokoll", alt, "--zeile", "1"}).rueckgabe, 0);
    z["welt"] = (dir.pfad / "fehlt.ini").string();
    const std::string ohneWelt = dir.Schreibe("ohne.jsonl", z.dump() + "\n");
    EXPECT_EQ(Sim({"--protokoll", ohneWelt, "--zeile", "1"}).rueckgabe, 1);
    EXPECT_EQ(Sim({"--protokoll", protokoll, "--zeile", "999"}).rueckgabe, 1);
    EXPECT_EQ(Sim({"--protokoll", protokoll}).rueckgabe, 2);
    EXPECT_EQ(Sim({"--protokoll", protokoll, "--zeile", "1", "--plan"}).rueckgabe, 2);
}

TEST(Spieltisch, BilderJeMisslungenemStoss) {
    TempVerzeichnis dir;
    const Ergebnis lauf = Fuehreaus({Bin("spieltisch"), "--spielen", "--lokal", "--zufall", "3", "--anzahl", "6",
                                     "--rauschen", "1", "--json", "--bilder", (dir.pfad / "b").string()});
    ASSERT_EQ(lauf.rueckgabe, 0) << lauf.ausgabe;
    const auto j = nlohmann::ordered_json::parse(lauf.ausgabe);
    int bilder = 0;
    for (const auto& datei : std::filesystem::directory_iterator(dir.pfad / "b")) {
        std::ifstream f(datei.path(), std::ios::binary);
        char kopf[8] = {};
        f.read(kopf, 8);
        EXPECT_EQ(std::string(kopf + 1, 3), "PNG") << datei.path();
        ++bilder;
    }
    EXPECT_EQ(bilder, j["stoesse"].get<int>() - j["erfolge"].get<int>());
    EXPECT_GT(bilder, 0);
}

// --stapel: je Zeile genau die Ausgabe von --json für denselben Tisch und
// Stoß (auch mit Rauschen), eine fehlerhafte Zeile sagt es auf ihrer Zeile,
// und es geht weiter; dann Rückgabe 1.
TEST(StosswerkSim, StapelSpieltJedeZeileWieJson) {
    nlohmann::json kugeln = nlohmann::json::array();
    for (const Kugel& k : Vorgabetisch().tisch.kugeln) kugeln.push_back({k.x, k.y, k.inloch});
    TempVerzeichnis tmp;
    const std::string gut = nlohmann::json{{"kugeln", kugeln}, {"stoss", {1.5, 0.25}}}.dump();
    const std::string rauschen =
        nlohmann::json{{"kugeln", kugeln}, {"stoss", {1.5, 0.25}}, {"modell", "P"}, {"rauschen", 1}, {"saat", 7}}.dump();
    const std::string pfad = tmp.Schreibe("stapel.jsonl", gut + "\n{kaputt\n" + rauschen + "\n" +
                                                              R"({"kugeln": [], "stoss": [1, 0]})" + "\n");
    const Ergebnis e = Sim({"--stapel", pfad});
    EXPECT_EQ(e.rueckgabe, 1);
    std::vector<std::string> zeilen;
    std::istringstream aus(e.ausgabe);
    for (std::string z; std::getline(aus, z);) zeilen.push_back(z);
    ASSERT_EQ(zeilen.size(), 4u);
    EXPECT_EQ(zeilen[0] + "\n", Sim({"--stoss", "1.5,0.25", "--json"}).ausgabe);
    EXPECT_EQ(zeilen[2] + "\n", Sim({"--stoss", "1.5,0.25", "--modell", "P", "--rauschen", "1", "--saat", "7", "--json"}).ausgabe);
    for (int i : {1, 3}) EXPECT_TRUE(nlohmann::json::parse(zeilen[i]).contains("fehler")) << zeilen[i];
    EXPECT_EQ(Sim({"--stapel", pfad, "--json"}).rueckgabe, 2);
}
