// Tests von spieltisch --spielen im Prozess: eine Aufnahme auf einem Tisch von
// Hand, gleiche Berichte bei gleicher Saat auf jeder Threadzahl, die Schlüssel
// von Bericht und Protokoll, die Fortschrittszeile.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "anzeige/anzeige.h"
#include "app/spieltisch/anfrage.h"
#include "app/spieltisch/bote.h"
#include "app/spieltisch/fortschritt.h"
#include "app/spieltisch/partienablauf.h"
#include "model/konfiguration.h"
#include "net/xml_lesen.h"
#include "app/spieltisch/spielablauf.h"
#include "app/spieltisch/zusammenfassen.h"
#include "hilfen.h"
#include "prozess.h"

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
        // Kein Terminal: nur ganze Fortschrittszeilen, die letzte bei 40/40.
        std::istringstream zeilen(meldungen.str());
        std::string zeile, letzte;
        while (std::getline(zeilen, zeile)) {
            EXPECT_EQ(zeile.rfind("spieltisch: [", 0), 0u) << zeile;
            letzte = zeile;
        }
        EXPECT_NE(letzte.find("40/40 Tische"), std::string::npos) << meldungen.str();
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

TEST(Spielen, FortschrittAufEinemTerminalUndImLog) {
    EXPECT_EQ(Fortschrittszeile(5, 20, 300, 2.0),
              "[#######.......................] 5/20 Tische, 150 Stöße/s, noch 0:06");
    // Ohne Terminal (Log eines Stapelauftrags): eine ganze Zeile je 5 %, ohne \r.
    int rohr[2];
    ASSERT_EQ(::pipe(rohr), 0);
    std::ostringstream aus;
    Fortschritt f;
    BeginneFortschritt(f, 100, rohr[1], aus);
    EXPECT_FALSE(f.aktiv);
    for (int i = 0; i < 100; ++i) TischFertig(f, 4);
    BeendeFortschritt(f);
    const std::string log = aus.str();
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 20) << log;
    EXPECT_EQ(log.find('\r'), std::string::npos);
    EXPECT_NE(log.find("spieltisch: [###############...............] 50/100 Tische"), std::string::npos);
    EXPECT_NE(log.find("100/100 Tische"), std::string::npos);
    ::close(rohr[0]);
    ::close(rohr[1]);
    aus.str("");

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

// --- Berichte, die wissen, was sie messen -----------------------------------

namespace {

std::string Bin(const char* programm) { return VerzeichnisDesProgramms() + programm; }

// Ein Lauf --spielen --lokal über die Tische ab..ab+anzahl−1 mit der config.ini
// config, der JSON-Bericht nach datei (ohne die schwankenden Zeiten).
nlohmann::json SpieleTeil(const std::string& config, std::uint32_t ab, std::uint32_t anzahl, const std::string& datei) {
    Optionen o;
    o.spielen = o.lokal = o.robust = o.json = true;
    o.konfiguration = config;
    o.zufallSaat = 7;
    o.ab = ab;
    o.anzahl = anzahl;
    o.rauschen = 1.0;
    std::ostringstream aus, meldungen;
    EXPECT_EQ(SpieleAufnahmen(o, aus, meldungen, {}), 0) << meldungen.str();
    std::ofstream(datei) << aus.str();
    nlohmann::json j = nlohmann::json::parse(aus.str());
    j.erase("zeit_us");
    return j;
}

struct Zusammen {
    int rueckgabe;
    std::string aus, meldungen;
};

Zusammen Zusammenfassen(std::vector<std::string> dateien, bool json, std::string erwartet = "") {
    std::vector<std::string> argumente = {"--zusammenfassen"};
    if (json) argumente.push_back("--json");
    if (!erwartet.empty()) argumente.insert(argumente.end(), {"--erwartet", erwartet});
    argumente.insert(argumente.end(), dateien.begin(), dateien.end());
    std::string fehler;
    const std::optional<Optionen> o = LeseOptionen(argumente, fehler);
    EXPECT_TRUE(o) << fehler;
    if (!o) return {2, "", fehler};
    std::ostringstream aus, meldungen;
    const int r = FasseZusammen(*o, aus, meldungen);
    return {r, aus.str(), meldungen.str()};
}

}  // namespace

TEST(Zusammenfassen, TeileGebenDenGanzenLaufNurMitGleichenEinstellungen) {
    // Der robuste Spieler ohne Zeitgrenze: jeder Lauf gibt dieselben Zahlen.
    TempVerzeichnis dir;
    const std::string config = dir.Schreibe("spieler.ini", "[planer]\nzeitgrenze=0\nproben=8\n");
    const auto d = [&](const char* name) { return (dir.pfad / name).string(); };
    const nlohmann::json ganz = SpieleTeil(config, 1, 9, d("ganz.json"));
    SpieleTeil(config, 1, 3, d("a.json"));
    SpieleTeil(config, 4, 3, d("b.json"));
    SpieleTeil(config, 7, 3, d("c.json"));
    EXPECT_EQ(ganz["einstellungen"]["spieler"]["planer"]["zeitgrenze"], 0);
    EXPECT_EQ(ganz["einstellungen"]["spieler"]["planer"]["kandidaten"], 6);  // die Vorgabe, wie gelesen
    EXPECT_EQ(ganz["unvollstaendig"], false);

    // In beliebiger Reihenfolge zusammengelegt: jede Zählung wie im ganzen Lauf.
    Zusammen z = Zusammenfassen({d("c.json"), d("a.json"), d("b.json")}, true, "1-9");
    ASSERT_EQ(z.rueckgabe, 0) << z.meldungen;
    nlohmann::json j = nlohmann::json::parse(z.aus);
    j.erase("zeit_us");
    EXPECT_EQ(j["luecken"], nlohmann::json::array());
    j.erase("luecken");
    EXPECT_EQ(j, ganz);

    // Eine Lücke steht im Bericht; mit --erwartet fehlt der erste oder letzte Teil als Fehler.
    z = Zusammenfassen({d("a.json"), d("c.json")}, true);
    ASSERT_EQ(z.rueckgabe, 0) << z.meldungen;
    EXPECT_EQ(nlohmann::json::parse(z.aus)["luecken"], nlohmann::json::parse("[[4, 6]]"));
    z = Zusammenfassen({d("a.json"), d("c.json")}, false);
    EXPECT_NE(z.aus.find("Tische: 1–3, 7–9 (aus 2 Teilen)\nLücken: 4–6\n"), std::string::npos) << z.aus;
    for (const std::vector<std::string>& teile :
         {std::vector<std::string>{d("b.json"), d("c.json")}, {d("a.json"), d("b.json")}, {d("a.json"), d("c.json")}}) {
        z = Zusammenfassen(teile, true, "1-9");
        EXPECT_EQ(z.rueckgabe, 2);
        EXPECT_EQ(z.aus, "");
        EXPECT_NE(z.meldungen.find("erwartet sind die Tische 1–9"), std::string::npos) << z.meldungen;
    }

    // Dieselbe Datei mit anderem Inhalt (andere Zeitgrenze, Physik, Tisch): abgewiesen, mit dem Schlüssel.
    const struct {
        const char* inhalt;
        const char* meldung;
    } faelle[] = {
        {"[planer]\nzeitgrenze=200\nproben=8\n", ": Spieler [planer] zeitgrenze=200 statt 0.\n"},
        {"[planer]\nzeitgrenze=0\nproben=8\n[physik]\nvend=20\n", ": Spieler [physik] vend=20 statt 10.\n"},
        {"[planer]\nzeitgrenze=0\nproben=8\n[tisch]\nxa=120\n", ": Spieler [tisch] tisch.xa=120 statt (fehlt).\n"},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.inhalt);
        dir.Schreibe("spieler.ini", f.inhalt);
        SpieleTeil(config, 4, 3, d("anders.json"));
        z = Zusammenfassen({d("a.json"), d("anders.json")}, true);
        EXPECT_EQ(z.rueckgabe, 2);
        EXPECT_EQ(z.meldungen, "spieltisch: Teil " + d("anders.json") + f.meldung);
    }
}

TEST(Spieltisch, SignalBeendetNachDemNaechstenFertigenTischMitTeilbericht) {
    // Das Protokoll geht mit auf die Standardausgabe: ist die erste Zeile da,
    // läuft der Lauf, und das Signal kommt mitten hinein.
    const struct {
        std::vector<std::string> lauf;
        const char* zeile;  // woran eine Protokollzeile zu erkennen ist
        int signal, rueckgabe;
        const char* einheit;
    } faelle[] = {
        {{"--spielen", "--lokal", "--anzahl", "9999", "--threads", "2"}, "{\"tisch\":", SIGINT, 130, "tische"},
        {{"--partien", "20000", "--spieler-a", "vorgegeben", "--spieler-b", "vorgegeben"}, "{\"partie\":", SIGTERM, 143,
         "partien"},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.lauf[0]);
        std::vector<std::string> argumente = {Bin("spieltisch"), "--zufall", "3", "--json", "--protokoll", "/dev/stdout"};
        argumente.insert(argumente.end(), f.lauf.begin(), f.lauf.end());
        Kind k(argumente);
        ASSERT_TRUE(k.WarteAufAusgabe(f.zeile));
        ::kill(k.pid, f.signal);
        EXPECT_EQ(k.Warte(), f.rueckgabe);
        // Zuletzt der Bericht über das Fertige, davor dessen Protokoll.
        std::istringstream zeilen(k.ausgabe);
        std::vector<nlohmann::json> protokoll;
        nlohmann::json bericht;
        for (std::string zeile; std::getline(zeilen, zeile);) {
            bericht = nlohmann::json::parse(zeile);
            if (zeile.rfind(f.zeile, 0) == 0) protokoll.push_back(bericht);
        }
        EXPECT_EQ(bericht["unvollstaendig"], true);
        ASSERT_EQ(bericht["bereiche"].size(), 1u) << bericht;
        const int bis = bericht["bereiche"][0][1].get<int>();
        EXPECT_EQ(bericht["bereiche"][0][0], 1);
        ASSERT_FALSE(protokoll.empty());
        if (f.signal == SIGINT) {
            EXPECT_EQ(bericht["tische"], bis);
            EXPECT_LT(bis, 9999);
            EXPECT_EQ(protokoll.back()["tisch"], bis);
            EXPECT_EQ(static_cast<int>(protokoll.size()), bericht["stoesse"].get<int>());
        } else {
            EXPECT_EQ(bericht["partien"], 2 * bis);  // nur ganze Gestelle
            EXPECT_EQ(protokoll.back()["gestell"], bis);
            EXPECT_EQ(static_cast<long>(protokoll.size()), bericht["stoesse"]["gesamt"].get<long>());
        }
        // Jede Zeile nennt die Welt, in der sie gespielt wurde.
        EXPECT_EQ(protokoll.back()["modell"], "R");
        EXPECT_EQ(protokoll.back()["rauschen"], 0.0);
    }
}

TEST(Spieltisch, NichtsGehtOhneMeldungVerloren) {
    TempVerzeichnis dir;
    const std::string datei = dir.Schreibe("datei", "kein Verzeichnis");
    // Jedes Bild, das der Lauf malen wollte, ist schon ein Verzeichnis: keines lässt sich schreiben.
    const std::filesystem::path bilder = dir.pfad / "bilder";
    for (int t = 1; t <= 3; ++t)
        for (int s = 1; s <= 16; ++s) {
            char name[64];
            std::snprintf(name, sizeof name, "tisch-%04d-stoss-%02d.png", t, s);
            std::filesystem::create_directories(bilder / name);
        }
    const std::vector<std::string> spielen = {Bin("spieltisch"), "--spielen", "--lokal", "--zufall", "3",
                                              "--anzahl",        "3",         "--rauschen", "1"};
    const auto mit = [&](std::vector<std::string> dazu) {
        std::vector<std::string> a = spielen;
        a.insert(a.end(), dazu.begin(), dazu.end());
        return a;
    };
    const struct {
        std::vector<std::string> argumente;
        int rueckgabe;
    } faelle[] = {
        {mit({"--bilder", bilder.string()}), 2},
        {mit({"--bilder", datei + "/bilder"}), 2},
        {mit({"--protokoll", datei + "/p.jsonl"}), 2},
        {mit({"--protokoll", "/dev/full"}), 2},
        {{"/bin/sh", "-c", "exec \"$0\" \"$@\" >/dev/full", Bin("spieltisch"), "--spielen", "--lokal", "--zufall", "3",
          "--anzahl", "1", "--json"},
         2},
        {{Bin("spieltisch"), "--partien", "2", "--rauschreihe", "--zufall", "1", "--spieler-a", "vorgegeben",
          "--spieler-b", "vorgegeben", "--bild", datei + "/kurve.png"},
         2},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.argumente[f.argumente.size() - 1]);
        EXPECT_EQ(Fuehreaus(f.argumente).rueckgabe, f.rueckgabe);
    }
}

// Mit --mitteilen plant der robuste Spieler jede Zeile mit ihrem Rauschfaktor
// statt mit dem seiner config.ini: derselbe Lauf spielt anders, und der Bericht sagt es.
TEST(Rauschreihe, EigeneFaktorenUndDasRauschenMitgeteilt) {
    // Wenige simulierte Stöße je Entscheidung: schnell und auf jeder Maschine gleich.
    TempVerzeichnis dir;
    const std::string config = dir.Schreibe("config.ini", "[planer]\nzeitgrenze=10\n");
    auto reihe = [&](bool mitteilen) {
        std::vector<std::string> a = {"--partien",   "2",      "--rauschreihe", "--faktoren", "3",
                                      "--zufall",    "1",      "--spieler-a",   "robust",     "--spieler-b",
                                      "vorgegeben",  "--json", "--config",      config};
        if (mitteilen) a.push_back("--mitteilen");
        std::string fehler;
        std::ostringstream aus, meldungen;
        EXPECT_EQ(SpieleRauschreihe(LeseOptionen(a, fehler).value(), aus, meldungen, {}), 0) << meldungen.str();
        nlohmann::json j = nlohmann::json::parse(aus.str());
        j.at(0).erase("zeit_ms");
        return j;
    };
    nlohmann::json mit = reihe(true), ohne = reihe(false);
    ASSERT_EQ(mit.size(), 1u);
    EXPECT_EQ(mit[0]["rauschen"], 3.0);
    EXPECT_EQ(mit[0]["mitgeteilt"], true);
    EXPECT_FALSE(ohne[0].contains("mitgeteilt"));
    mit[0].erase("mitgeteilt");
    EXPECT_NE(mit.dump(), ohne.dump());
}
