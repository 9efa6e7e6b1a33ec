// stosswerk-kalibriere auf der Kommandozeile: Rückgabewerte, die Schlüssel
// des JSON-Objekts, eine abgerissene letzte Zeile, --schreibe.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <fstream>
#include <sstream>

#include "hilfen.h"
#include "kuenstliche_beobachtungen.h"
#include "prozess.h"

namespace {

std::string Bin(const char* programm) { return VerzeichnisDesProgramms() + programm; }

Ergebnis Kalibriere(std::vector<std::string> argumente) {
    argumente.insert(argumente.begin(), Bin("stosswerk-kalibriere"));
    return Fuehreaus(argumente);
}

// Zwölf Beobachtungen der Vorgabewelt, eine Zeile je Beobachtung.
std::string Beobachtungen() {
    IniDatei leer;
    std::string text;
    for (const Beobachtung& b : KuenstlicheBeobachtungen(WeltAus(leer, Modell::R), 12, 9, 1.0))
        text += BeobachtungAlsJson(b) + "\n";
    return text;
}

}  // namespace

TEST(StosswerkKalibriere, RueckgabewerteUndJson) {
    TempVerzeichnis dir;
    const std::string gut = Beobachtungen();
    // Die letzte Zeile bricht mitten ab, wie nach einem Absturz beim Schreiben.
    const std::string datei = dir.Schreibe("b.jsonl", gut + gut.substr(0, gut.find('\n') / 2));
    const std::string kaputt = dir.Schreibe("kaputt.jsonl", "kein JSON\n{\"vorher\": 1}\n");
    const std::string config = dir.Schreibe("config.ini", "; Kommentar\n[simulation]\ngleitreibung=140\n");
    const struct {
        std::vector<std::string> argumente;
        int rueckgabe;
    } faelle[] = {
        {{"--help"}, 0},
        {{"--version"}, 0},
        {{}, 2},  // keine Datei
        {{"--unbekannt", datei}, 2},
        {{"--threads", "0", datei}, 2},
        {{"--config", (dir.pfad / "fehlt.ini").string(), datei}, 1},
        {{"--schreibe", (dir.pfad / "fehlt" / "neu.ini").string(), datei}, 1},
        {{(dir.pfad / "fehlt.jsonl").string()}, 1},
        {{dir.pfad.string()}, 1},  // ein Verzeichnis: ein Grund, kein Absturz
        {{kaputt}, 1},  // keine brauchbare Beobachtung
    };
    for (const auto& f : faelle) {
        std::string zeile;
        for (const std::string& a : f.argumente) zeile += a + " ";
        SCOPED_TRACE(zeile);
        EXPECT_EQ(Kalibriere(f.argumente).rueckgabe, f.rueckgabe);
    }

    const std::string neu = (dir.pfad / "neu.ini").string();
    const Ergebnis e = Kalibriere({"--json", "--config", config, "--schreibe", neu, datei});
    ASSERT_EQ(e.rueckgabe, 0) << e.ausgabe;
    const auto j = nlohmann::ordered_json::parse(e.ausgabe);
    std::vector<std::string> schluessel;
    for (const auto& [k, v] : j.items()) schluessel.push_back(k);
    EXPECT_EQ(schluessel, (std::vector<std::string>{"beobachtungen", "kenngroessen", "rollreibung", "rauschen",
                                                    "restfehler", "iterationen", "zeitgrenze", "sekunden", "dateien"}));
    EXPECT_EQ(j["beobachtungen"]["gelesen"], 12);
    EXPECT_EQ(j["kenngroessen"].size(), 16u);
    for (const auto& [k, v] : j["kenngroessen"].items()) {
        EXPECT_TRUE(v["wert"].is_number() && v["config"].is_number_integer()) << k;
        EXPECT_TRUE(v["unsicherheit"].is_number() || v["unsicherheit"].is_null()) << k;
    }
    for (const char* m : {"vorher", "nachher", "mit_stoerungen"})
        EXPECT_TRUE(j["restfehler"][m]["median"].is_number() && j["restfehler"][m]["p90"].is_number()) << m;
    EXPECT_EQ(j["dateien"][0]["abgerissen"], true);
    EXPECT_EQ(j["dateien"][0]["zeilen"], 13);

    // Die geschriebene Datei: Kommentar und Kopf bleiben, die Werte des Fits stehen darin.
    std::ifstream ein(neu);
    std::stringstream inhalt;
    inhalt << ein.rdbuf();
    EXPECT_EQ(inhalt.str().rfind("; Kommentar\n[simulation]\ngleitreibung=", 0), 0u) << inhalt.str();
    EXPECT_NE(inhalt.str().find("[planer]\nrauschen=" + std::to_string(j["rauschen"]["config"].get<int>())),
              std::string::npos);
}
