// Tests von spieltisch: Zufallstische, Kopfdaten, Antwortprüfung, Aufruf und
// ein ganzer Lauf über 127.0.0.1 gegen einen Spieler in einem eigenen Thread.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <set>
#include <sstream>
#include <thread>

#include <pugixml.hpp>

#include "app/spieltisch/ablauf.h"
#include "app/spieltisch/anfrage.h"
#include "app/spieltisch/antwort.h"
#include "model/ini_datei.h"
#include "model/konfiguration.h"
#include "app/spieltisch/netz.h"
#include "app/spieltisch/optionen.h"
#include "spiel/zufallstisch.h"
#include "app/spieltisch/statistik.h"

namespace {

Tisch Vorgabetisch() {
    Tisch t{};
    IniDatei leer;
    TischAus(leer, t);
    return t;
}

// Die Kugeln eines Dokuments so, wie der Spieler sie liest: in Tischkoordinaten.
struct GeleseneKugel {
    float x, y;
    int bagcount, target;
};

std::vector<GeleseneKugel> LeseKugeln(const Tisch& t, const std::string& dokument, int& player) {
    pugi::xml_document d;
    EXPECT_TRUE(d.load_string(dokument.c_str()));
    const pugi::xml_node wurzel = d.child("tablestate");
    player = wurzel.child("player").text().as_int(-99);
    std::vector<GeleseneKugel> kugeln;
    for (pugi::xml_node b : wurzel.children("ball")) {
        GeleseneKugel k{};
        ServerZuTisch(t, b.child("x-position").text().as_float(), b.child("y-position").text().as_float(), k.x, k.y);
        k.bagcount = b.child("bagcount").text().as_int(-99);
        k.target = b.child("target").text().as_int(-99);
        kugeln.push_back(k);
    }
    return kugeln;
}

std::string Ergebnis(const std::string& cmdid, const std::string& x = "1.2594", const std::string& y = "-0.5000") {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<result cmdid=\"" + cmdid + "\">\n  <shot>\n    <x>" + x +
           "</x>\n    <y>" + y +
           "</y>\n  </shot>\n  <ipv4>127.0.0.1</ipv4>\n  <port>2222</port>\n  <running>true</running>\n</result>\n";
}

TEST(Zufallstische, SindGueltigUndStimmenMitDemDokumentUeberein) {
    const Tisch t = Vorgabetisch();
    const float r = t.radius;
    int eingelocht = 0, mitZiel = 0, kugeln = 0;
    std::set<int> spieler;
    std::mt19937 zufall(12345);
    for (int n = 0; n < 200; ++n) {
        const Zufallstisch z = ErzeugeZufallstisch(t, zufall);
        int player = -1;
        const auto gelesen = LeseKugeln(t, SchreibeAnfrage(t, z, 1, "127.0.0.1", 2223), player);
        ASSERT_EQ(gelesen.size(), 16u);
        ASSERT_EQ(player, z.player);
        spieler.insert(player);
        EXPECT_EQ(gelesen[0].bagcount, -1) << "die Weiße bleibt auf dem Tisch";
        for (int i = 0; i < 16; ++i) {
            const GeleseneKugel& k = gelesen[i];
            EXPECT_NEAR(k.x, z.kugeln[i].x, 1e-4);
            EXPECT_NEAR(k.y, z.kugeln[i].y, 1e-4);
            EXPECT_GE(k.x, t.bande_x + r);
            EXPECT_LE(k.x, t.breite - t.bande_x - r);
            EXPECT_GE(k.y, t.bande_y + r);
            EXPECT_LE(k.y, t.hoehe - t.bande_y - r);
            EXPECT_TRUE(k.bagcount == -1 || (k.bagcount >= 0 && k.bagcount <= 6)) << k.bagcount;
            EXPECT_TRUE(k.target >= 0 && k.target <= 6) << k.target;
            eingelocht += k.bagcount != -1;
            mitZiel += k.target != 0;
            ++kugeln;
            for (int j = 0; j < i; ++j) {
                EXPECT_GT(std::hypot(k.x - gelesen[j].x, k.y - gelesen[j].y), 2 * r) << n << ": " << i << "/" << j;
            }
        }
    }
    // Die Mischung, die der Spieler sehen soll: einige eingelocht, meist jede Tasche.
    EXPECT_GT(eingelocht, 0);
    EXPECT_GT(mitZiel, 0);
    EXPECT_LT(mitZiel, kugeln / 3);
    EXPECT_EQ(spieler, (std::set<int>{0, 1, 2}));
}

TEST(Zufallstische, GleicheSaatGibtGleicheTische) {
    const Tisch t = Vorgabetisch();
    std::mt19937 a(7), b(7), c(8);
    for (int n = 0; n < 5; ++n) {
        const std::string da = SchreibeAnfrage(t, ErzeugeZufallstisch(t, a), 1, "127.0.0.1", 1);
        EXPECT_EQ(da, SchreibeAnfrage(t, ErzeugeZufallstisch(t, b), 1, "127.0.0.1", 1));
        EXPECT_NE(da, SchreibeAnfrage(t, ErzeugeZufallstisch(t, c), 1, "127.0.0.1", 1));
    }
}

TEST(Zufallstische, ServerkoordinatenDerTischmitteUndDerEcke) {
    const Tisch t = Vorgabetisch();
    const Serverlage mitte = TischZuServer(t, 53.5f, 27.75f);
    EXPECT_NEAR(mitte.x, 0.0, 1e-9);
    EXPECT_NEAR(mitte.y, 0.0, 1e-9);
    const Serverlage ecke = TischZuServer(t, 107.0f, 55.5f);
    EXPECT_NEAR(ecke.x, 0.5, 1e-9);
    EXPECT_NEAR(ecke.y, -1.0, 1e-9);
}

TEST(Anfrage, KopfdatenErsetzenNurDasErsteVorkommen) {
    std::string text =
        "<?xml version=\"1.0\"?>\n<tablestate cmdid=\"77\" x=\"cmdid=\\\"\">\n <ipv4>10.1.2.3</ipv4>"
        "<port>9</port><ipv4>a</ipv4><port>8</port>\n</tablestate>\n";
    const Kopfdaten k = SetzeKopfdaten(text, 12, "127.0.0.1", 40000);
    EXPECT_TRUE(k.cmdid && k.ipv4 && k.port);
    EXPECT_EQ(text,
              "<?xml version=\"1.0\"?>\n<tablestate cmdid=\"12\" x=\"cmdid=\\\"\">\n <ipv4>127.0.0.1</ipv4>"
              "<port>40000</port><ipv4>a</ipv4><port>8</port>\n</tablestate>\n");

    std::string ohne = "<tablestate><ipv4>1.2.3.4</ipv4></tablestate>";
    const Kopfdaten m = SetzeKopfdaten(ohne, 3, "127.0.0.1", 2223);
    EXPECT_FALSE(m.cmdid);
    EXPECT_TRUE(m.ipv4);
    EXPECT_FALSE(m.port);
    EXPECT_EQ(ohne, "<tablestate><ipv4>127.0.0.1</ipv4></tablestate>");
    EXPECT_EQ(Ablagename(7), "tisch-0007.xml");
}

TEST(Antwortpruefung, NimmtEinGutesErgebnisAn) {
    const Antwortpruefung p = PruefeAntwort(Ergebnis("42"), 42);
    EXPECT_TRUE(p.gut) << p.fehler;
    EXPECT_EQ(p.x, "1.2594");
    EXPECT_EQ(p.y, "-0.5000");
    // Rand-Leerraum gehört nicht zur Zahl.
    const Antwortpruefung q = PruefeAntwort(Ergebnis("42", " 3.0\n", "4"), 42);
    EXPECT_TRUE(q.gut) << q.fehler;
    EXPECT_EQ(q.x, "3.0");
}

TEST(Antwortpruefung, WeistFehlerhafteErgebnisseAb) {
    const Antwortpruefung falscheId = PruefeAntwort(Ergebnis("41"), 42);
    EXPECT_FALSE(falscheId.gut);
    ASSERT_TRUE(falscheId.cmdid.has_value());
    EXPECT_EQ(*falscheId.cmdid, 41);

    const std::string ohneX = "<result cmdid=\"42\"><shot><y>1.0</y></shot></result>";
    const std::string kaputt = Ergebnis("42").substr(0, 60);
    const std::string zweiWurzeln = Ergebnis("42") + "<result cmdid=\"42\"/>";
    const std::string textDaneben = Ergebnis("42") + "Rest";
    const std::string falscheWurzel = "<status cmdid=\"42\"><shot><x>1</x><y>2</y></shot></status>";
    for (const std::string& text :
         {ohneX, kaputt, zweiWurzeln, textDaneben, falscheWurzel, Ergebnis("42", "1.0", "nan"), Ergebnis("42", "1,5"),
          Ergebnis("42", "##X-POS##"), Ergebnis(""), Ergebnis("42abc"), std::string(), std::string("\n \n")}) {
        const Antwortpruefung p = PruefeAntwort(text, 42);
        EXPECT_FALSE(p.gut) << text;
        EXPECT_FALSE(p.fehler.empty()) << text;
    }
}

TEST(Optionen, LiestEinenVollstaendigenAufruf) {
    std::string fehler;
    const auto o = LeseOptionen({"--spieler", "127.0.0.2:4000", "--antwort-port", "0", "--zufall", "9", "--anzahl",
                                 "3", "--zeitlimit", "250", "--status-port", "2222", "--status-warten", "100",
                                 "--speichere", "ablage", "--nur-senden", "a.xml", "b.xml"},
                                fehler);
    ASSERT_TRUE(o) << fehler;
    EXPECT_EQ(o->spielerAdresse, "127.0.0.2");
    EXPECT_EQ(o->spielerPort, 4000);
    EXPECT_EQ(o->antwortPort, 0);
    EXPECT_EQ(o->zufallSaat, 9u);
    EXPECT_EQ(o->anzahl, 3u);
    EXPECT_EQ(o->zeitlimitMs, 250u);
    EXPECT_EQ(o->statusPort, 2222);
    EXPECT_EQ(o->statusWartenMs, 100u);
    EXPECT_EQ(o->speicherVerzeichnis, "ablage");
    EXPECT_TRUE(o->nurSenden);
    EXPECT_EQ(o->dateien, (std::vector<std::string>{"a.xml", "b.xml"}));
}

TEST(Optionen, PartienUndSpielenMitAblage) {
    std::string fehler;
    const auto p = LeseOptionen({"--partien", "4", "--zufall", "7", "--spieler-a", "robust", "--spieler-b",
                                 "127.0.0.1:2300", "--ab", "11", "--welt", "w.ini", "--speichere", "ablage"},
                                fehler);
    ASSERT_TRUE(p) << fehler;
    EXPECT_EQ(p->partien, 4u);
    EXPECT_EQ(p->spielerA, "robust");
    EXPECT_EQ(p->spielerB, "127.0.0.1:2300");
    EXPECT_EQ(p->ab, 11u);
    EXPECT_EQ(p->modell, Modell::R);
    const auto s = LeseOptionen({"--spielen", "--zufall", "1", "--anzahl", "2", "--speichere", "ablage"}, fehler);
    ASSERT_TRUE(s) << fehler;
    EXPECT_EQ(s->speicherVerzeichnis, "ablage");
    EXPECT_FALSE(p->zeitgrenze);  // ohne --zeitgrenze zählen die Spieler Stöße
    const auto z = LeseOptionen({"--spielen", "--lokal", "--zufall", "1", "--anzahl", "2", "--zeitgrenze", "0"}, fehler);
    ASSERT_TRUE(z) << fehler;
    EXPECT_EQ(z->zeitgrenze, 0u);
    const auto r = LeseOptionen({"--partien", "2", "--zufall", "1", "--spieler-a", "robust", "--spieler-b", "robust",
                                 "--rauschreihe", "--faktoren", "0.5,3,7", "--mitteilen"},
                                fehler);
    ASSERT_TRUE(r) << fehler;
    EXPECT_EQ(r->rauschfaktoren, (std::vector<double>{0.5, 3.0, 7.0}));
    EXPECT_TRUE(r->mitteilen);
}

// --version braucht wie --help keine Tische, auch neben anderen Optionen.
TEST(Optionen, VersionOhneTische) {
    for (const auto& argumente : std::vector<std::vector<std::string>>{{"--version"}, {"--zufall", "5", "--version"}}) {
        std::string fehler;
        const auto o = LeseOptionen(argumente, fehler);
        ASSERT_TRUE(o) << fehler;
        EXPECT_TRUE(o->version);
    }
}

TEST(Optionen, WeistFalscheAufrufeAb) {
    std::vector<std::vector<std::string>> falsch = {
        {"--unbekannt", "a.xml"},
        {"--zeitlimit", "abc", "a.xml"},
        {"--zeitlimit", "0", "a.xml"},
        {"--antwort-port", "70000", "a.xml"},
        {"--spieler", "localhost:2222", "a.xml"},
        {"--spieler", "127.0.0.1", "a.xml"},
        {"--zufall", "5"},
        {"--anzahl", "5"},
        {"--zeitlimit"},
        {},
        {"--lokal", "--zufall", "1", "--anzahl", "2"},
        {"--spielen", "a.xml"},
        {"--spielen", "--zufall", "1", "--anzahl", "2", "--threads", "2"},
        {"--spielen", "--zufall", "1", "--anzahl", "2", "--modell", "Q"},
        {"--spielen", "--zufall", "1", "--anzahl", "2", "--rauschen", "nan"},
        {"--spielen", "--zufall", "1", "--anzahl", "2", "--kugeln", "16"},
        {"--rauschen", "1", "a.xml"},  // gälte nur beim Spielen: nicht still übergehen
        {"--spielen", "--zufall", "1", "--anzahl", "2", "--status-port", "2222"},
        {"--spielen", "--zufall", "1", "--anzahl", "2", "--welt", "w.ini", "--modell", "P"},
        {"--vergleich", "--zufall", "1", "--anzahl", "2", "--speichere", "ablage"},
        {"--partien", "3", "--zufall", "1", "--spieler-a", "robust", "--spieler-b", "robust"},
        {"--partien", "2", "--spieler-a", "robust", "--spieler-b", "robust"},
        {"--partien", "2", "--zufall", "1", "--spieler-a", "robust"},
        {"--partien", "2", "--zufall", "1", "--spieler-a", "127.0.0.1:2222", "--spieler-b", "robust", "--threads", "2"},
        {"--partien", "2", "--zufall", "1", "--spieler-a", "robust", "--spieler-b", "robust", "--kugeln", "3"},
        {"--partien", "2", "--zufall", "1", "--spieler-a", "robust", "--spieler-b", "robust", "--ab", "4000001"},
        {"--spielen", "--partien", "2", "--zufall", "1", "--anzahl", "2", "--spieler-a", "a", "--spieler-b", "b"},
        {"--spieler-a", "robust", "a.xml"},
        {"--zusammenfassen"},
        {"--zusammenfassen", "--zufall", "1", "a.json"},
        {"--lernkurve", "--zufall", "1", "--anzahl", "2"},  // ohne --welt
        {"--lernkurve", "--welt", "w.ini", "--zufall", "1", "--anzahl", "2", "--planer", "vorgegeben"},
        {"--lernkurve", "--welt", "w.ini", "--zufall", "1", "--anzahl", "2", "--bis", "10"},
        {"--spielen", "--zufall", "1", "--anzahl", "2", "--bis", "100"},
        {"--partien", "2", "--zufall", "1", "--spieler-a", "robust", "--spieler-b", "robust", "--bild", "a.png"},
        {"--partien", "2", "--zufall", "1", "--spieler-a", "robust", "--spieler-b", "robust", "--rauschreihe",
         "--rauschen", "1"},
        {"--spielen", "--zufall", "1", "--anzahl", "2", "--rauschreihe"},
        {"--partien", "2", "--zufall", "1", "--spieler-a", "robust", "--spieler-b", "robust", "--faktoren", "1,3"},
        {"--partien", "2", "--zufall", "1", "--spieler-a", "robust", "--spieler-b", "robust", "--mitteilen"},
        {"--partien", "2", "--zufall", "1", "--spieler-a", "127.0.0.1:2222", "--spieler-b", "robust",
         "--rauschreihe", "--mitteilen"},
        {"--spielen", "--zufall", "1", "--anzahl", "2", "--zeitgrenze", "200"},  // über das Netz
        {"--zeitgrenze", "200", "a.xml"},
        {"--spielen", "--lokal", "--zufall", "1", "--anzahl", "2", "--zeitgrenze", "600001"},
    };
    // Rauschfaktoren: steigend, 0..100, ohne Lücke, höchstens zehn
    for (const char* f : {"3,1", "1,,2", "1,101", "1,2,3,4,5,6,7,8,9,10,11"})
        falsch.push_back({"--partien", "2", "--zufall", "1", "--spieler-a", "robust", "--spieler-b", "robust",
                          "--rauschreihe", "--faktoren", f});
    for (const auto& argumente : falsch) {
        std::string fehler;
        EXPECT_FALSE(LeseOptionen(argumente, fehler)) << (argumente.empty() ? "(leer)" : argumente[0]);
        EXPECT_FALSE(fehler.empty());
    }
}

TEST(Statistik, MedianUndP99) {
    EXPECT_FALSE(Median({}));
    EXPECT_EQ(*Median({5, 1, 3}), 3);
    EXPECT_EQ(*Median({4, 1, 3, 2}), 2.5);
    std::vector<double> hundert, zweihundert;
    for (int i = 200; i >= 1; --i) {
        zweihundert.push_back(i);
        if (i <= 100) hundert.push_back(i);
    }
    EXPECT_EQ(*Perzentil99(hundert), 99);
    EXPECT_EQ(*Perzentil99(zweihundert), 198);
    EXPECT_EQ(*Perzentil99({7}), 7);
    EXPECT_FALSE(Perzentil99({}));
}

// ---- Ein ganzer Lauf über 127.0.0.1 ----

sockaddr_in Loopback(std::uint16_t port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(port);
    return a;
}

std::uint16_t PortVon(int fd) {
    sockaddr_in a{};
    socklen_t l = sizeof a;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &l);
    return ntohs(a.sin_port);
}

// Liest bis zum Schluss der Verbindung; leer, wenn nach 10 s nichts kam.
std::string LiesBisZumSchluss(int fd) {
    std::string text;
    char puffer[4096];
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 10000) <= 0) return text;
        const ssize_t n = ::recv(fd, puffer, sizeof puffer, 0);
        if (n <= 0) return text;
        text.append(puffer, static_cast<std::size_t>(n));
    }
}

// Spielt den Spieler: nimmt je Tisch eine Verbindung an, liest das Dokument
// und schickt jede Antwort, die antworten zu seiner cmdid liefert, auf einer
// eigenen Verbindung an den Port des Dokuments. Vorher geht ein
// Status-Datagramm an statusPort (0: keins).
struct Spieler {
    using Antworten = std::function<std::vector<std::string>(int cmdid)>;
    Socket hoerer;
    std::uint16_t port = 0;
    std::vector<std::string> empfangen;
    std::thread thread;

    Spieler() : hoerer(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        const sockaddr_in a = Loopback(0);
        EXPECT_EQ(::bind(hoerer.fd, reinterpret_cast<const sockaddr*>(&a), sizeof a), 0);
        EXPECT_EQ(::listen(hoerer.fd, 8), 0);
        port = PortVon(hoerer.fd);
    }

    void Starte(int tische, Antworten antworten, std::uint16_t statusPort = 0) {
        thread = std::thread([this, tische, antworten, statusPort] {
            for (int i = 0; i < tische; ++i) {
                pollfd p{hoerer.fd, POLLIN, 0};
                if (::poll(&p, 1, 10000) <= 0) return;
                const Socket v(::accept(hoerer.fd, nullptr, nullptr));
                empfangen.push_back(LiesBisZumSchluss(v.fd));
                pugi::xml_document d;
                if (!d.load_string(empfangen.back().c_str())) return;
                const pugi::xml_node wurzel = d.child("tablestate");
                if (statusPort != 0) {
                    const Socket u(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
                    const std::string s = "<status><ipv4>127.0.0.1</ipv4><port>" + std::to_string(port) +
                                          "</port><running>true</running></status>";
                    const sockaddr_in ziel = Loopback(statusPort);
                    ::sendto(u.fd, s.data(), s.size(), 0, reinterpret_cast<const sockaddr*>(&ziel), sizeof ziel);
                }
                const sockaddr_in ziel = Loopback(static_cast<std::uint16_t>(wurzel.child("port").text().as_int()));
                for (const std::string& text : antworten(wurzel.attribute("cmdid").as_int())) {
                    const Socket s(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
                    if (::connect(s.fd, reinterpret_cast<const sockaddr*>(&ziel), sizeof ziel) != 0) return;
                    ::send(s.fd, text.data(), text.size(), MSG_NOSIGNAL);
                }
            }
        });
    }

    ~Spieler() {
        if (thread.joinable()) thread.join();
    }
};

std::vector<std::string> Zeilen(const std::string& text) {
    std::vector<std::string> z;
    std::istringstream s(text);
    for (std::string zeile; std::getline(s, zeile);) z.push_back(zeile);
    return z;
}

Optionen LaufOptionen(std::uint16_t spielerPort, std::uint32_t tische) {
    Optionen o;
    o.spielerPort = spielerPort;
    o.antwortPort = 0;
    o.zufallSaat = 3;
    o.anzahl = tische;
    return o;
}

TEST(Rundlauf, JederTischWirdBeantwortet) {
    // Ein freier UDP-Port für den Status; spieltisch bindet ihn mit SO_REUSEADDR neu.
    std::uint16_t statusPort = 0;
    {
        const Socket u(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
        const sockaddr_in a = Loopback(0);
        ASSERT_EQ(::bind(u.fd, reinterpret_cast<const sockaddr*>(&a), sizeof a), 0);
        statusPort = PortVon(u.fd);
    }
    const auto ablage = std::filesystem::temp_directory_path() / ("spieltisch-test-" + std::to_string(::getpid()));
    Spieler spieler;
    spieler.Starte(
        3,
        [](int cmdid) { return std::vector{Ergebnis(std::to_string(cmdid), std::to_string(cmdid) + ".5000")}; },
        statusPort);
    Optionen o = LaufOptionen(spieler.port, 3);
    o.statusPort = statusPort;
    o.speicherVerzeichnis = ablage.string();
    std::ostringstream aus, meldungen;
    EXPECT_EQ(FuehreAus(o, aus, meldungen), 0) << meldungen.str();
    spieler.thread.join();

    std::vector<std::string> tischZeilen, statusZeilen;
    for (const std::string& z : Zeilen(aus.str())) {
        (z.starts_with("status: ") ? statusZeilen : tischZeilen).push_back(z);
    }
    ASSERT_EQ(tischZeilen.size(), 5u) << aus.str();
    EXPECT_TRUE(tischZeilen[0].starts_with("antwort_port=")) << tischZeilen[0];
    for (int i = 1; i <= 3; ++i) {
        EXPECT_TRUE(tischZeilen[i].starts_with("cmdid=" + std::to_string(i) + " x=" + std::to_string(i) +
                                               ".5000 y=-0.5000 rtt_ms="))
            << tischZeilen[i];
    }
    EXPECT_TRUE(tischZeilen[4].starts_with("beantwortet=3 fehlend=0 fehlerhaft=0 median_ms=")) << tischZeilen[4];
    EXPECT_EQ(tischZeilen[4].find("_ms=-"), std::string::npos);
    ASSERT_EQ(statusZeilen.size(), 3u) << aus.str();
    EXPECT_EQ(statusZeilen[0], "status: <status><ipv4>127.0.0.1</ipv4><port>" + std::to_string(spieler.port) +
                                   "</port><running>true</running></status>");

    // Gesendet wurde genau, was abgelegt ist: mit eigener cmdid und eigenem Antwort-Port.
    ASSERT_EQ(spieler.empfangen.size(), 3u);
    const std::string antwortPort = tischZeilen[0].substr(std::string("antwort_port=").size());
    for (int i = 0; i < 3; ++i) {
        std::ifstream datei(ablage / Ablagename(static_cast<std::uint32_t>(i + 1)), std::ios::binary);
        const std::string abgelegt((std::istreambuf_iterator<char>(datei)), std::istreambuf_iterator<char>());
        EXPECT_EQ(abgelegt, spieler.empfangen[static_cast<std::size_t>(i)]);
        EXPECT_NE(abgelegt.find("cmdid=\"" + std::to_string(i + 1) + "\""), std::string::npos);
        EXPECT_NE(abgelegt.find("<port>" + antwortPort + "</port>"), std::string::npos);
    }
    std::filesystem::remove_all(ablage);
}

TEST(Rundlauf, FalscheUndFehlendeAntwortenWerdenGezaehlt) {
    Spieler spieler;
    // Tisch 1 gut, Tisch 2 mit fremder cmdid, Tisch 3 ohne Antwort.
    spieler.Starte(3, [](int cmdid) {
        return cmdid == 1 ? std::vector{Ergebnis("1")} : cmdid == 2 ? std::vector{Ergebnis("999")}
                                                                 : std::vector<std::string>{};
    });
    Optionen o = LaufOptionen(spieler.port, 3);
    o.zeitlimitMs = 300;
    std::ostringstream aus, meldungen;
    EXPECT_EQ(FuehreAus(o, aus, meldungen), 1);
    spieler.thread.join();
    const auto z = Zeilen(aus.str());
    ASSERT_EQ(z.size(), 5u) << aus.str();
    EXPECT_TRUE(z[1].starts_with("cmdid=1 x=1.2594 y=-0.5000 rtt_ms=")) << z[1];
    EXPECT_EQ(z[2], "cmdid=2 fehlerhaft");
    EXPECT_EQ(z[3], "cmdid=3 fehlt");
    EXPECT_TRUE(z[4].starts_with("beantwortet=1 fehlend=1 fehlerhaft=1 median_ms=")) << z[4];
    EXPECT_NE(meldungen.str().find("cmdid 999 statt 2"), std::string::npos) << meldungen.str();
}

TEST(Rundlauf, EineVerspaeteteAntwortZaehltNichtFuerDenNaechstenTisch) {
    Spieler spieler;
    // Tisch 2 kommt erst, wenn Tisch 1 als fehlend gilt; dann erst die Antwort auf 1.
    spieler.Starte(2, [](int cmdid) {
        return cmdid == 1 ? std::vector<std::string>{} : std::vector{Ergebnis("1"), Ergebnis("2")};
    });
    Optionen o = LaufOptionen(spieler.port, 2);
    o.zeitlimitMs = 200;
    std::ostringstream aus, meldungen;
    EXPECT_EQ(FuehreAus(o, aus, meldungen), 1);
    spieler.thread.join();
    const auto z = Zeilen(aus.str());
    ASSERT_EQ(z.size(), 4u) << aus.str();
    EXPECT_EQ(z[1], "cmdid=1 fehlt");
    EXPECT_TRUE(z[2].starts_with("cmdid=2 x=1.2594 ")) << z[2];
    EXPECT_TRUE(z[3].starts_with("beantwortet=1 fehlend=1 fehlerhaft=0 ")) << z[3];
    EXPECT_NE(meldungen.str().find("späte Antwort für cmdid=1"), std::string::npos) << meldungen.str();
}

TEST(Rundlauf, OhneSpielerFehltJederTisch) {
    // Gebunden, aber ohne listen: jede Verbindung wird abgelehnt.
    const Socket belegt(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    const sockaddr_in a = Loopback(0);
    ASSERT_EQ(::bind(belegt.fd, reinterpret_cast<const sockaddr*>(&a), sizeof a), 0);
    std::ostringstream aus, meldungen;
    EXPECT_EQ(FuehreAus(LaufOptionen(PortVon(belegt.fd), 2), aus, meldungen), 1);
    const auto z = Zeilen(aus.str());
    ASSERT_EQ(z.size(), 4u) << aus.str();
    EXPECT_EQ(z[1], "cmdid=1 fehlt");
    EXPECT_EQ(z[2], "cmdid=2 fehlt");
    EXPECT_EQ(z[3], "beantwortet=0 fehlend=2 fehlerhaft=0 median_ms=- p99_ms=-");
    EXPECT_NE(meldungen.str().find("Verbindung abgelehnt"), std::string::npos) << meldungen.str();
}

TEST(Rundlauf, UnlesbareDateiIstEinFalscherAufruf) {
    Optionen o;
    o.dateien = {"/nonexistent/tk.tisch.xml"};
    std::ostringstream aus, meldungen;
    EXPECT_EQ(FuehreAus(o, aus, meldungen), 2);
    EXPECT_EQ(aus.str(), "");
    EXPECT_NE(meldungen.str().find("nicht lesbar"), std::string::npos);
}

}  // namespace
