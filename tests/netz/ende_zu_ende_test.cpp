// Stosswerk ohne Fenster gegen den Ersatz-Spielserver, als echte Prozesse.
// Nur im privaten Netz-Namensraum: stosswerk sendet beim Ein- und Ausschalten
// den Status an 255.255.255.255.
#include <gtest/gtest.h>

#include <pugixml.hpp>

#include <cmath>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "spieler_hilfen.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSpeicherMessbar = false;
#else
constexpr bool kSpeicherMessbar = true;
#endif

long ResidentKiB(pid_t pid) {
    std::ifstream f("/proc/" + std::to_string(pid) + "/status");
    std::string zeile;
    while (std::getline(f, zeile))
        if (zeile.rfind("VmRSS:", 0) == 0) return std::stol(zeile.substr(6));
    return -1;
}

struct Status {
    std::string ipv4, port, running;
};

std::optional<Status> LeseStatus(const std::string& text) {
    pugi::xml_document d;
    if (!d.load_buffer(text.data(), text.size())) return std::nullopt;
    pugi::xml_node s = d.document_element();
    return Status{s.child_value("ipv4"), s.child_value("port"), s.child_value("running")};
}

// "cmdid=N x=… y=… rtt_ms=…" je beantworteten Tisch.
std::map<int, std::pair<double, double>> Antworten(const std::string& ausgabe) {
    std::map<int, std::pair<double, double>> a;
    std::istringstream zeilen(ausgabe);
    std::string zeile;
    while (std::getline(zeilen, zeile)) {
        int cmdid;
        double x, y;
        if (std::sscanf(zeile.c_str(), "cmdid=%d x=%lf y=%lf", &cmdid, &x, &y) == 3) a[cmdid] = {x, y};
    }
    return a;
}

class EndeZuEnde : public ::testing::Test {
protected:
    TempVerzeichnis dir;
    int port = 0, bport = 0;
    std::string bin;

    void SetUp() override {
        bin = VerzeichnisDesProgramms();
        port = FreierPort();
        bport = FreierPort();
        dir.Schreibe("config.ini", "[netzwerk]\nport=" + std::to_string(port) + "\nbport=" + std::to_string(bport) + "\n");
        for (const char* vorlage : {"ki-status.xml", "ki-result.xml"})
            fs::copy_file(bin + vorlage, dir.pfad / vorlage);
    }
    std::vector<std::string> Spieler() const {
        return {bin + "stosswerk", "--ohne-fenster", "--verzeichnis", dir.pfad.string()};
    }
    Ergebnis Spieltisch(int saat, int anzahl, const fs::path& ablage) const {
        return Fuehreaus({bin + "spieltisch", "--spieler", "127.0.0.1:" + std::to_string(port), "--antwort-port", "0",
                          "--zufall", std::to_string(saat), "--anzahl", std::to_string(anzahl), "--speichere",
                          ablage.string()});
    }
};

}  // namespace

TEST_F(EndeZuEnde, ZweihundertTischeWieDerPlanerOffline) {
    StatusEmpfaenger status(bport);
    Kind spieler(Spieler());
    ASSERT_TRUE(spieler.WarteAufAusgabe("Warte auf Anfrage vom Client...")) << spieler.ausgabe;

    const fs::path ablage = dir.pfad / "tische";
    Ergebnis tisch = Spieltisch(7, 200, ablage);
    EXPECT_EQ(tisch.rueckgabe, 0) << tisch.ausgabe;
    EXPECT_NE(tisch.ausgabe.find("beantwortet=200 fehlend=0 fehlerhaft=0"), std::string::npos) << tisch.ausgabe;

    // Jede Antwort gleicht stosswerk-plan auf demselben Dokument, auf vier Stellen.
    const auto antworten = Antworten(tisch.ausgabe);
    ASSERT_EQ(antworten.size(), 200u);
    for (const auto& [cmdid, xy] : antworten) {
        char name[32];
        std::snprintf(name, sizeof name, "tisch-%04d.xml", cmdid);
        Ergebnis plan = Fuehreaus({bin + "stosswerk-plan", "--json", "--config", (dir.pfad / "config.ini").string(),
                                   (ablage / name).string()});
        ASSERT_EQ(plan.rueckgabe, 0) << name;
        double x = 0, y = 0;
        const auto p = plan.ausgabe.find("\"stoss\":");
        ASSERT_NE(p, std::string::npos);
        ASSERT_EQ(std::sscanf(plan.ausgabe.c_str() + p, "\"stoss\":{\"x\":%lf,\"y\":%lf", &x, &y), 2) << plan.ausgabe;
        EXPECT_NEAR(xy.first, x, 0.00005 + 1e-9) << name;
        EXPECT_NEAR(xy.second, y, 0.00005 + 1e-9) << name;
    }

    ::kill(spieler.pid, SIGTERM);
    EXPECT_EQ(spieler.Warte(), 0);
    EXPECT_NE(spieler.ausgabe.find("Server wurde gestoppt!"), std::string::npos);

    // Genau zwei Status-Datagramme: eingeschaltet, dann ausgeschaltet.
    auto an = status.Naechstes(), aus = status.Naechstes();
    ASSERT_TRUE(an && aus);
    auto s1 = LeseStatus(*an), s2 = LeseStatus(*aus);
    ASSERT_TRUE(s1 && s2) << *an << " / " << *aus;
    EXPECT_EQ(s1->running, "true");
    EXPECT_EQ(s2->running, "false");
    EXPECT_EQ(s1->port, std::to_string(port));
    EXPECT_EQ(an->find_first_of(" \t\r\n"), std::string::npos);
    EXPECT_FALSE(status.Naechstes(200ms).has_value());
}

TEST_F(EndeZuEnde, SpeicherDesSpielersBleibtFlach) {
    if (!kSpeicherMessbar) GTEST_SKIP() << "Speichermessung unter dem Address-Sanitizer ohne Aussage";
    // Gemessen wird der Speicher, nicht die Grenze der Sender: auf einer
    // belasteten Maschine geben Sendethreads ihren Platz spät frei, und mit
    // vier je Ziel fiele dann eine Antwort mit Absicht aus.
    dir.Schreibe("config.ini", "[netzwerk]\nport=" + std::to_string(port) + "\nbport=" + std::to_string(bport) +
                                   "\nsender_je_ziel=32\n");
    StatusEmpfaenger status(bport);
    Kind spieler(Spieler());
    ASSERT_TRUE(spieler.WarteAufAusgabe("Warte auf Anfrage vom Client..."));
    ASSERT_EQ(Spieltisch(1, 200, dir.pfad / "a").rueckgabe, 0);
    const long vorher = ResidentKiB(spieler.pid);
    Ergebnis viele = Spieltisch(2, 2000, dir.pfad / "b");
    ASSERT_EQ(viele.rueckgabe, 0) << viele.ausgabe.substr(viele.ausgabe.size() > 300 ? viele.ausgabe.size() - 300 : 0);
    const long nachher = ResidentKiB(spieler.pid);
    EXPECT_LT(nachher - vorher, 1024) << vorher << " KiB -> " << nachher << " KiB";
    ::kill(spieler.pid, SIGTERM);
    EXPECT_EQ(spieler.Warte(), 0);
}

TEST_F(EndeZuEnde, BelegterPortEndetMitEinsOhneRunning) {
    Lauscher belegt;  // auf 127.0.0.1: 0.0.0.0 am selben Port scheitert
    dir.Schreibe("config.ini",
                 "[netzwerk]\nport=" + std::to_string(belegt.port) + "\nbport=" + std::to_string(bport) + "\n");
    StatusEmpfaenger status(bport);
    const std::string fehlerausgabe = (dir.pfad / "fehler.txt").string();
    // Mit Zeitgrenze: ein Spieler, der trotzdem weiterläuft, soll den Test nicht aufhalten.
    std::vector<std::string> aufruf = {"/bin/sh", "-c", "f=$1; shift; exec timeout 20 \"$@\" 2>\"$f\"", "sh",
                                       fehlerausgabe};
    for (const std::string& a : Spieler()) aufruf.push_back(a);
    const Ergebnis e = Fuehreaus(aufruf);
    EXPECT_EQ(e.rueckgabe, 1) << e.ausgabe;
    EXPECT_EQ(e.ausgabe, "Port " + std::to_string(belegt.port) + " nicht nutzbar (Errorcode: " +
                             std::to_string(EADDRINUSE) + "), Netzwerk bleibt aus.\r\n");
    std::ifstream f(fehlerausgabe);
    const std::string fehler((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    EXPECT_EQ(fehler, "StartTCPServer(): Fehler: 'bind' gescheitert! Der Server konnte nicht an den Port gebunden "
                      "werden!\n");
    EXPECT_FALSE(status.Naechstes(200ms).has_value());
}

TEST_F(EndeZuEnde, OhneFensterAufrufUndHilfe) {
    Ergebnis hilfe = Fuehreaus({bin + "stosswerk", "--help"});
    EXPECT_EQ(hilfe.rueckgabe, 0);
    EXPECT_NE(hilfe.ausgabe.find("--ohne-fenster"), std::string::npos);
    EXPECT_EQ(Fuehreaus({bin + "stosswerk", "--unbekannt"}).rueckgabe, 2);
}

TEST_F(EndeZuEnde, UnlesbareKonfigurationWirdGemeldet) {
    // Ein Verzeichnis statt der Datei: öffnen geht, lesen nicht (auch für root).
    fs::remove(dir.pfad / "config.ini");
    fs::create_directory(dir.pfad / "config.ini");
    StatusEmpfaenger status(2222);  // es gelten die Vorgaben, auch für die Ports
    Kind spieler({"/bin/sh", "-c", "exec \"$0\" \"$@\" 2>&1", bin + "stosswerk", "--ohne-fenster", "--verzeichnis",
                  dir.pfad.string()});
    ASSERT_TRUE(spieler.WarteAufAusgabe("Warte auf Anfrage vom Client...")) << spieler.ausgabe;
    const std::string text = "Konfiguration " + (dir.pfad / "config.ini").string() + " nicht lesbar (Errorcode: " +
                             std::to_string(EISDIR) + "), es gelten die Vorgaben.";
    // Auf der Fehlerausgabe und im Protokoll, vor dem Start des Servers.
    const std::size_t start = spieler.ausgabe.find("Server gestartet...");
    for (const std::string& zeile : {"stosswerk: " + text + "\n", text + "\r\n"}) {
        const std::size_t da = spieler.ausgabe.find(zeile);
        EXPECT_NE(da, std::string::npos) << zeile << "\n" << spieler.ausgabe;
        EXPECT_LT(da, start);
    }
    EXPECT_TRUE(Laeuft(status.Naechstes(), true));
    ::kill(spieler.pid, SIGTERM);
    EXPECT_EQ(spieler.Warte(), 0);
    EXPECT_TRUE(Laeuft(status.Naechstes(), false));
}
