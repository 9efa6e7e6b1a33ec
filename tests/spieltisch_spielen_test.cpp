// Tests von spieltisch --spielen im Prozess: eine Aufnahme auf einem Tisch von
// Hand, gleiche Berichte bei gleicher Saat auf jeder Threadzahl, die Schlüssel
// von Bericht und Protokoll, die Fortschrittszeile.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "anzeige/anzeige.h"
#include "app/spieltisch/anfrage.h"
#include "app/spieltisch/bote.h"
#include "app/spieltisch/fortschritt.h"
#include "model/konfiguration.h"
#include "net/xml_lesen.h"
#include "app/spieltisch/spielablauf.h"

namespace {

struct Umgebung {
    Spielumgebung u;
    Dokumentkopf kopf;
    Umgebung(Modell m, double rauschen) {
        IniDatei leer;
        u.tk = VorgabeKontext();
        u.geometrie = BaueTischgeometrie(u.tk);
        u.welt = WeltAus(leer, m);
        u.rauschen = rauschen;
        u.saat = 1;
        kopf = {u.tk, "127.0.0.1", 2223, nullptr};
    }
    // Der vorgegebene Planer mit den Vorgaben (ohne config.ini).
    Planer Lokal() const {
        auto p = std::make_shared<LokalerPlaner>();
        LadePlaner("", Wahl::vorgegeben, false, *p);
        return LokalerBote(kopf, p);
    }
    // Ein Spieler, der immer denselben Stoß antwortet.
    Planer Fest(std::string x, std::string y) const {
        return [this, x, y](const Zufallstisch& lage, std::uint32_t cmdid) {
            Planerantwort a;
            a.gut = LeseSpielstandXML(kopf.tisch, SchreibeAnfrage(kopf.tisch.tisch, lage, cmdid, "127.0.0.1", 2223),
                                      a.gelesen);
            a.x = x;
            a.y = y;
            return a;
        };
    }
};

std::string Lies(const std::filesystem::path& p) {
    std::ifstream f(p, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

}  // namespace

TEST(Spielen, AufnahmeRaeumtEinenEinfachenTisch) {
    // Halbe: die 9 gerade in die untere Mitteltasche, danach steht die Weiße
    // genau unter der Schwarzen, die gerade in die obere geht.
    Umgebung e(Modell::P, 0.0);
    Zufallstisch t{};
    for (Tischkugel& k : t.kugeln) k = {0.0f, 0.0f, 0, 0};
    t.kugeln[0] = {53.5f, 30.0f, -1, 0};
    t.kugeln[9] = {53.5f, 15.0f, -1, 0};
    t.kugeln[8] = {53.5f, 40.0f, -1, 0};
    t.player = halbe;
    const Aufnahme a = SpieleAufnahme(e.u, 1, t, e.Lokal());
    ASSERT_EQ(a.stoesse.size(), 2u);
    EXPECT_EQ(a.stoesse[0].versenkt, std::vector<int>{9});
    EXPECT_EQ(a.stoesse[1].versenkt, std::vector<int>{8});
    EXPECT_TRUE(a.stoesse[1].urteil.erfolg);
    EXPECT_TRUE(a.geraeumt);
    EXPECT_EQ(a.kugeln, 2);
    EXPECT_EQ(a.stoesse[1].vorher.kugeln[9].inloch, 1);  // der neue Stand kam beim Spieler an

    // Dieselbe Lage, aber die Volle 3 liegt vor der 9: die Weiße trifft zuerst sie.
    t.kugeln[3] = {53.5f, 22.0f, -1, 0};
    const Aufnahme b = SpieleAufnahme(e.u, 1, t, e.Fest("0.0000", "-1.0000"));
    ASSERT_EQ(b.stoesse.size(), 1u);
    EXPECT_EQ(b.stoesse[0].urteil.ursache, Ursache::falsche_erste);
    EXPECT_FALSE(b.geraeumt);
}

TEST(Spielen, GleicheSaatGleicherBerichtAufJederThreadzahl) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / ("spielen-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    auto lauf = [&](int threads, const std::string& name) {
        Optionen o;
        o.spielen = o.lokal = o.json = true;
        o.zufallSaat = 11;
        o.anzahl = 40;
        o.rauschen = 1.0;
        o.threads = threads;
        o.protokollDatei = (dir / name).string();
        std::ostringstream aus, meldungen;
        EXPECT_EQ(SpieleAufnahmen(o, aus, meldungen, {}), 0) << meldungen.str();
        EXPECT_EQ(meldungen.str(), "");  // kein Terminal: kein Fortschritt
        nlohmann::json j = nlohmann::json::parse(aus.str());
        j.erase("zeit_us");  // die einzigen Werte, die von Lauf zu Lauf schwanken
        return j;
    };
    const nlohmann::json eins = lauf(1, "a.jsonl"), zwei = lauf(2, "b.jsonl"), nochmal = lauf(1, "c.jsonl");
    EXPECT_EQ(eins, zwei);
    EXPECT_EQ(eins, nochmal);
    EXPECT_EQ(Lies(dir / "a.jsonl"), Lies(dir / "b.jsonl"));

    for (const char* k : {"modell", "rauschen", "tische", "stoesse", "erfolge", "quote", "quote_95",
                          "kugeln_je_aufnahme", "geraeumt", "fehler", "arten"})
        EXPECT_TRUE(eins.contains(k)) << k;
    EXPECT_EQ(eins["modell"], "R");
    EXPECT_EQ(eins["tische"], 40);
    EXPECT_EQ(eins["fehler"].size(), 5u);
    EXPECT_EQ(eins["arten"].size(), 6u);
    int fehlschlaege = 0;
    for (const auto& [name, zahl] : eins["fehler"].items()) fehlschlaege += zahl.get<int>();
    EXPECT_EQ(eins["erfolge"].get<int>() + fehlschlaege, eins["stoesse"].get<int>());

    // Das Protokoll: eine Zeile je Stoß mit allen Schlüsseln.
    std::istringstream zeilen(Lies(dir / "a.jsonl"));
    int n = 0;
    for (std::string zeile; std::getline(zeilen, zeile); ++n) {
        const nlohmann::json z = nlohmann::json::parse(zeile);
        for (const char* k : {"tisch", "stoss", "gruppe", "kugeln", "antwort", "gespielt", "versenkt",
                              "erste_beruehrung", "erfolg", "ursache"})
            ASSERT_TRUE(z.contains(k)) << k;
        ASSERT_EQ(z["kugeln"].size(), 16u);
        EXPECT_EQ(z["erfolg"].get<bool>(), z["ursache"] == "");
    }
    EXPECT_EQ(n, eins["stoesse"].get<int>());
    std::filesystem::remove_all(dir);
}

TEST(Spielen, FortschrittNurAufEinemTerminal) {
    EXPECT_EQ(Fortschrittszeile(5, 20, 300, 2.0),
              "[#######.......................] 5/20 Tische, 150 Stöße/s, noch 0:06");
    int rohr[2];
    ASSERT_EQ(::pipe(rohr), 0);
    std::ostringstream aus;
    Fortschritt f;
    BeginneFortschritt(f, 3, rohr[1], aus);
    EXPECT_FALSE(f.aktiv);
    TischFertig(f, 4);
    BeendeFortschritt(f);
    EXPECT_EQ(aus.str(), "");
    ::close(rohr[0]);
    ::close(rohr[1]);

    const int pty = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (pty < 0) GTEST_SKIP() << "kein Pseudoterminal";
    Fortschritt g;
    BeginneFortschritt(g, 1, pty, aus);
    EXPECT_TRUE(g.aktiv);
    TischFertig(g, 4);
    BeendeFortschritt(g);
    EXPECT_NE(aus.str().find("1/1 Tische"), std::string::npos);
    ::close(pty);
}
