// Ganze Aufnahmen über das echte Protokoll gegen stosswerk ohne Fenster: der
// Bericht und das Stoßprotokoll gleichen denen von spieltisch --lokal. Nur im
// privaten Netz-Namensraum (der Spieler sendet seinen Status als Broadcast).
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "../hilfen.h"
#include "../prozess.h"
#include "netz_hilfen.h"

namespace fs = std::filesystem;

TEST(SpielenUeberDasNetz, GleichtDemSpielImProzess) {
    TempVerzeichnis dir;
    const std::string bin = Programmverzeichnis();
    const int port = FreierPort(), bport = FreierPort();
    dir.Schreibe("config.ini", "[netzwerk]\nport=" + std::to_string(port) + "\nbport=" + std::to_string(bport) + "\n");
    for (const char* vorlage : {"ki-status.xml", "ki-result.xml"}) fs::copy_file(bin + vorlage, dir.pfad / vorlage);

    Kind spieler({bin + "stosswerk", "--ohne-fenster", "--verzeichnis", dir.pfad.string()});
    ASSERT_TRUE(spieler.WarteAufAusgabe("Warte auf Anfrage vom Client...")) << spieler.ausgabe;

    const std::vector<std::string> gemeinsam = {"--spielen", "--zufall", "21", "--anzahl", "12", "--rauschen", "1",
                                                "--json"};
    auto lauf = [&](std::vector<std::string> argumente, const std::string& protokoll) {
        argumente.insert(argumente.begin(), bin + "spieltisch");
        argumente.insert(argumente.end(), gemeinsam.begin(), gemeinsam.end());
        argumente.insert(argumente.end(), {"--protokoll", (dir.pfad / protokoll).string()});
        const Ergebnis e = Fuehreaus(argumente);
        EXPECT_EQ(e.rueckgabe, 0) << e.ausgabe;
        nlohmann::json j = nlohmann::json::parse(e.ausgabe);
        j.erase("zeit_us");
        j.erase("arten");  // über das Netz ist die Stoßart unbekannt
        std::ifstream f(dir.pfad / protokoll);
        std::stringstream s;
        s << f.rdbuf();
        return std::make_pair(j, s.str());
    };
    const auto netz = lauf({"--spieler", "127.0.0.1:" + std::to_string(port), "--antwort-port", "0"}, "netz.jsonl");
    const auto lokal = lauf({"--lokal"}, "lokal.jsonl");
    EXPECT_EQ(netz.first, lokal.first);
    EXPECT_EQ(netz.second, lokal.second);
    EXPECT_GT(netz.first["stoesse"].get<int>(), 12);

    ::kill(spieler.pid, SIGTERM);
    EXPECT_EQ(spieler.Warte(), 0);
}
