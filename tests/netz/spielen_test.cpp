// Ganze Aufnahmen über das echte Protokoll gegen stosswerk ohne Fenster: der
// Bericht und das Stoßprotokoll gleichen denen von spieltisch --lokal. Nur im
// privaten Netz-Namensraum (der Spieler sendet seinen Status als Broadcast).
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <vector>

#include <nlohmann/json.hpp>

#include "../hilfen.h"
#include "../prozess.h"
#include "netz_hilfen.h"

namespace fs = std::filesystem;

namespace {

// Ein Spieler ohne Fenster in einem eigenen Verzeichnis mit eigener config.ini.
struct Spielerlauf {
    TempVerzeichnis dir;
    std::string bin = VerzeichnisDesProgramms();
    int port = FreierPort(), bport = FreierPort();
    std::unique_ptr<Kind> spieler;

    explicit Spielerlauf(const std::string& mehrKonfiguration) {
        dir.Schreibe("config.ini", "[netzwerk]\nport=" + std::to_string(port) + "\nbport=" + std::to_string(bport) +
                                       "\n" + mehrKonfiguration);
        for (const char* vorlage : {"ki-status.xml", "ki-result.xml"}) fs::copy_file(bin + vorlage, dir.pfad / vorlage);
        spieler = std::make_unique<Kind>(
            std::vector<std::string>{bin + "stosswerk", "--ohne-fenster", "--verzeichnis", dir.pfad.string()});
    }
    ~Spielerlauf() {
        ::kill(spieler->pid, SIGTERM);
        EXPECT_EQ(spieler->Warte(), 0);
    }
    // Bericht (ohne Zeiten, Stoßarten und Planername) und Stoßprotokoll eines spieltisch-Laufs.
    std::pair<nlohmann::json, std::string> Spieltisch(std::vector<std::string> argumente, const std::string& protokoll,
                                                      int tische) const {
        argumente.insert(argumente.begin(), bin + "spieltisch");
        argumente.insert(argumente.end(), {"--spielen", "--zufall", "21", "--anzahl", std::to_string(tische),
                                           "--rauschen", "1", "--json", "--protokoll", (dir.pfad / protokoll).string()});
        const Ergebnis e = Fuehreaus(argumente);
        EXPECT_EQ(e.rueckgabe, 0) << e.ausgabe;
        nlohmann::json j = nlohmann::json::parse(e.ausgabe);
        j.erase("zeit_us");
        j.erase("arten");  // über das Netz ist die Stoßart unbekannt
        j.erase("lauf");   // nennt den Planer: "netz" oder der im Prozess
        j.erase("einstellungen");  // die eines Spielers über das Netz kennt spieltisch nicht
        std::ifstream f(dir.pfad / protokoll);
        std::stringstream s;
        s << f.rdbuf();
        return {j, s.str()};
    }
    std::vector<std::string> UeberDasNetz() const {
        return {"--spieler", "127.0.0.1:" + std::to_string(port), "--antwort-port", "0"};
    }
};

}  // namespace

TEST(SpielenUeberDasNetz, GleichtDemSpielImProzess) {
    Spielerlauf lauf("");
    ASSERT_TRUE(lauf.spieler->WarteAufAusgabe("Warte auf Anfrage vom Client...")) << lauf.spieler->ausgabe;
    const auto netz = lauf.Spieltisch(lauf.UeberDasNetz(), "netz.jsonl", 12);
    const auto lokal = lauf.Spieltisch({"--lokal"}, "lokal.jsonl", 12);
    EXPECT_EQ(netz.first, lokal.first);
    EXPECT_EQ(netz.second, lokal.second);
    EXPECT_GT(netz.first["stoesse"].get<int>(), 12);
}

TEST(SpielenUeberDasNetz, EinRobusterSpielerAntwortetRobust) {
    // Die config.ini des Spielers sagt robust: seine Aufnahmen gleichen denen
    // von --lokal --planer robust mit derselben Datei, nicht denen des vorgegebenen.
    Spielerlauf lauf("[planer]\nmodus=1\nzeitgrenze=0\n");
    ASSERT_TRUE(lauf.spieler->WarteAufAusgabe("Warte auf Anfrage vom Client...")) << lauf.spieler->ausgabe;
    const std::string config = (lauf.dir.pfad / "config.ini").string();
    // Dieselbe Welt aus derselben Datei: jede Protokollzeile nennt sie.
    std::vector<std::string> ueberDasNetz = lauf.UeberDasNetz();
    ueberDasNetz.insert(ueberDasNetz.end(), {"--config", config});
    const auto netz = lauf.Spieltisch(ueberDasNetz, "netz.jsonl", 4);
    const auto robust = lauf.Spieltisch({"--lokal", "--planer", "robust", "--config", config}, "robust.jsonl", 4);
    const auto vorgegeben = lauf.Spieltisch({"--lokal", "--config", config}, "vorgegeben.jsonl", 4);
    EXPECT_EQ(netz.first, robust.first);
    EXPECT_EQ(netz.second, robust.second);
    EXPECT_NE(netz.second, vorgegeben.second);
    EXPECT_NE(lauf.spieler->ausgabe.find("Erfolg "), std::string::npos);  // die Zeilen der robusten Wahl im Protokoll
}

TEST(SpielenUeberDasNetz, PartienGegenEinenSpielerUeberDasNetzGleichenDenenImProzess) {
    // A spielt über das Netz, B im Prozess mit derselben config.ini: dieselben
    // Partien wie beide im Prozess. Nur die Sicherheitsstöße zählen über das
    // Netz anders (ohne Bericht jeder Stoß ohne Foul, bei dem nichts fiel).
    Spielerlauf lauf("");
    ASSERT_TRUE(lauf.spieler->WarteAufAusgabe("Warte auf Anfrage vom Client...")) << lauf.spieler->ausgabe;
    const std::string config = (lauf.dir.pfad / "config.ini").string();
    auto partien = [&](const std::string& a, const std::string& protokoll) {
        const Ergebnis e = Fuehreaus({lauf.bin + "spieltisch", "--partien", "4", "--zufall", "3", "--modell", "P",
                                      "--rauschen", "1", "--spieler-a", a, "--spieler-b", config, "--antwort-port", "0",
                                      "--json", "--protokoll", (lauf.dir.pfad / protokoll).string()});
        EXPECT_EQ(e.rueckgabe, 0) << e.ausgabe;
        nlohmann::json j = nlohmann::json::parse(e.ausgabe);
        for (const char* k : {"zeit_ms", "lauf", "sicherheiten", "einstellungen"}) j.erase(k);
        std::ifstream f(lauf.dir.pfad / protokoll);
        std::vector<nlohmann::json> zeilen;
        for (std::string z; std::getline(f, z);) {
            zeilen.push_back(nlohmann::json::parse(z));
            zeilen.back().erase("sicherheit");
        }
        return std::pair(j, zeilen);
    };
    const auto netz = partien("127.0.0.1:" + std::to_string(lauf.port), "netz.jsonl");
    const auto lokal = partien(config, "lokal.jsonl");
    EXPECT_EQ(netz.first, lokal.first);
    EXPECT_EQ(netz.second, lokal.second);
    EXPECT_EQ(netz.first["partien"], 4);
}
