// Ein deutscher Desktop (LC_ALL=de_DE.UTF-8) darf kein Byte einer Ausgabe
// ändern: Qt übernimmt die Locale, und dann schrieb printf "0,5". Jeder Fall
// läuft zweimal, unter C und unter de_DE, und alles muss gleich sein:
// Standardausgabe, gesendete Dokumente, Bilder, Bildschirmfoto.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <clocale>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "hilfen.h"
#include "model/konfiguration.h"
#include "prozess.h"

namespace {

namespace fs = std::filesystem;

std::string Inhalt(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

// Die Zeiten einer Messung hängen nicht an der Locale, aber am Rechner.
std::string OhneZeiten(const std::string& ausgabe) {
    std::istringstream zeilen(ausgabe);
    std::string zeile, ergebnis;
    while (std::getline(zeilen, zeile)) {
        if (auto j = nlohmann::json::parse(zeile, nullptr, false); !j.is_discarded() && j.is_object()) {
            j.erase("zeit_us");
            zeile = j.dump();
        }
        ergebnis += zeile + '\n';
    }
    return ergebnis;
}

struct Lauf {
    std::string ausgabe;
    std::map<std::string, std::string> dateien;  // alles, was der Lauf ins Verzeichnis schrieb
};

Lauf Starte(const char* locale, std::vector<std::string> argumente, const fs::path& dir) {
    for (std::string& a : argumente)
        if (a.starts_with("@")) a = (dir / a.substr(1)).string();
    fs::create_directories(dir / "bilder");
    fs::create_directories(dir / "tische");
    argumente.insert(argumente.begin(), {"/usr/bin/env", std::string("LC_ALL=") + locale});
    argumente[2] = VerzeichnisDesProgramms() + argumente[2];
    const Ergebnis e = Fuehreaus(argumente);
    EXPECT_EQ(e.rueckgabe, 0) << locale;
    Lauf lauf{OhneZeiten(e.ausgabe), {}};
    for (const auto& d : fs::recursive_directory_iterator(dir))
        if (d.is_regular_file()) lauf.dateien[fs::relative(d.path(), dir).string()] = Inhalt(d.path());
    return lauf;
}

TEST(Locale, DeutscherDesktopAendertKeinByte) {
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr)
        << "de_DE.UTF-8 fehlt: localedef -i de_DE -f UTF-8 de_DE.UTF-8";
    std::setlocale(LC_ALL, "C");
    const std::vector<std::vector<std::string>> faelle = {
        {"spieltisch", "--spielen", "--lokal", "--zufall", "3", "--anzahl", "4", "--bilder", "@bilder",
         "--speichere", "@tische", "--json"},
        {"spieltisch", "--spielen", "--lokal", "--zufall", "5", "--anzahl", "3", "--rauschen", "0.5", "--protokoll",
         "@protokoll.jsonl", "--json"},
        {"stosswerk", "--bildschirmfoto", "@fenster.png"},
        {"stosswerk-plan", "--json", "--kandidaten"},
        {"stosswerk-sim", "--plan", "--json", "--bild", "@sim.png"},
    };
    for (const auto& fall : faelle) {
        SCOPED_TRACE(fall[0] + " " + fall[1]);
        TempVerzeichnis c, de;
        const Lauf unterC = Starte("C", fall, c.pfad), unterDe = Starte("de_DE.UTF-8", fall, de.pfad);
        EXPECT_EQ(unterC.ausgabe, unterDe.ausgabe);
        EXPECT_EQ(unterC.dateien.size(), unterDe.dateien.size());
        for (const auto& [name, inhalt] : unterC.dateien) {
            const auto anders = unterDe.dateien.find(name);
            ASSERT_NE(anders, unterDe.dateien.end()) << name;
            EXPECT_TRUE(anders->second == inhalt) << name << " unterscheidet sich";
        }
    }
}

}  // namespace
