#include <gtest/gtest.h>

#include <fstream>
#include <thread>

#include "../hilfen.h"
#include "anzeige/anzeige.h"
#include "net/server.h"
#include "net/xml_lesen.h"
#include "netz_hilfen.h"
#include "planner/suche.h"
#include "testspieler.h"

namespace {

using namespace std::chrono_literals;

bool Enthaelt(const std::string& text, std::string_view teil) { return text.find(teil) != std::string::npos; }

// Unter dem Address-Sanitizer hält die Quarantäne freigegebenen Speicher fest:
// dort sagt der residente Speicher nichts über Lecks.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSpeicherMessbar = false;
#else
constexpr bool kSpeicherMessbar = true;
#endif

long ResidentKiB() {
    std::ifstream f("/proc/self/status");
    std::string zeile;
    while (std::getline(f, zeile))
        if (zeile.rfind("VmRSS:", 0) == 0) return std::stol(zeile.substr(6));
    return -1;
}

class Server : public ::testing::Test {
protected:
    Testspieler t;
    Aufzeichnung& a = t.a;
    int port = t.Port();

    void SetUp() override {
        ASSERT_TRUE(t.Starte());
        ASSERT_TRUE(WarteAufBereit());
    }
    void TearDown() override {
        StoppeServer(t.k.server);
        EXPECT_TRUE(Warte(a, [](Aufzeichnung& z) {
            return Enthaelt(z.log, "Server wurde gestoppt!\r\n") || Enthaelt(z.log, "Server beendet...");
        }));
    }
    // Der Server wartet wieder, und seit dem letzten Löschen kam seine Wartezeile als letzte.
    bool WarteAufBereit() {
        return Warte(a, [](Aufzeichnung& z) {
            const std::string_view w = "Warte auf Anfrage vom Client...\r\n";
            return z.log.size() >= w.size() && z.log.compare(z.log.size() - w.size(), w.size(), w) == 0;
        });
    }
    bool WarteAufMeldungen(std::size_t n) {
        return Warte(a, [n](Aufzeichnung& z) { return z.meldungen.size() >= n; });
    }
    // Eine gute Anfrage muss nach allem Vorigen noch beantwortet werden.
    void PruefeGuteAnfrage(int cmdid) {
        Lauscher antwort;
        ASSERT_TRUE(SendeDokument(port, Anfrage(antwort.port, cmdid)));
        auto text = antwort.Empfange();
        ASSERT_TRUE(text.has_value()) << "keine Antwort";
        EXPECT_TRUE(Enthaelt(*text, "cmdid=\"" + std::to_string(cmdid) + "\"")) << *text;
        ASSERT_TRUE(WarteAufBereit());
    }
};

}  // namespace

TEST_F(Server, BeantwortetEineAnfrageUndZeigtSie) {
    Lauscher antwort;
    const std::string dokument = Anfrage(antwort.port, 42);
    ASSERT_TRUE(SendeDokument(port, dokument));
    auto text = antwort.Empfange();
    ASSERT_TRUE(text.has_value());
    ASSERT_TRUE(WarteAufBereit());

    // Die Antwort trägt den Stoß, den der Planer für dieselben Kugeln findet.
    Spielstand stand{};
    ASSERT_TRUE(LeseSpielstandXML(Vorgabetisch(), dokument, stand));
    const Vektor stoss = PlaneVorgegeben(stand).stoss;
    char x[32];
    std::snprintf(x, sizeof x, "%3.4f", static_cast<double>(stoss.x));
    EXPECT_TRUE(Enthaelt(*text, std::string(">") + x + "<")) << *text << " erwartet " << x;
    EXPECT_TRUE(Enthaelt(*text, "cmdid=\"42\""));
    EXPECT_TRUE(Enthaelt(*text, "<port>" + std::to_string(port) + "</port>"));
    EXPECT_TRUE(Enthaelt(*text, "<running>true</running>"));

    std::lock_guard sperre(a.mutex);
    // Das Protokoll wurde beim Annehmen geleert: Verbindung, Empfang, Suche, Warten.
    EXPECT_EQ(a.log.rfind("Verbindung zu 127.0.0.1, Port ", 0), 0u) << a.log;
    EXPECT_TRUE(Enthaelt(a.log, "\r\nWarte auf Daten vom Client...\r\nEmpfange Daten... ("));
    EXPECT_TRUE(Enthaelt(a.log, "Verbindung anständig geschlossen...\r\n\r\ncntWeisseKugelLoch="));
    EXPECT_TRUE(Enthaelt(a.log, "Anzahl möglicher Stöße: "));
    EXPECT_EQ(a.uebernommen, 1);
    EXPECT_EQ(a.felder[FeldKugeln], KugelnText(stand));
    EXPECT_EQ(a.felder[FeldGruppe], "beide");
    std::string t[4];
    VektorTexte(stoss, t);
    EXPECT_EQ(a.felder[FeldX], t[0]);
    EXPECT_EQ(a.felder[FeldBetrag], t[3]);
    EXPECT_TRUE(a.meldungen.empty());
}

TEST_F(Server, FeindlicheGegenstellen) {
    // Verbinden und sofort schließen: leeres Dokument, fehlerhaft.
    int s = Verbinde(port);
    ASSERT_GE(s, 0);
    ::close(s);
    ASSERT_TRUE(WarteAufMeldungen(1));
    ASSERT_TRUE(WarteAufBereit());
    PruefeGuteAnfrage(1);

    // Müll, fünfzehn Kugeln, Nullbytes mitten im Dokument.
    ASSERT_TRUE(SendeDokument(port, std::string("\x01\xff<ball><<<>>>garbage\n", 22)));
    ASSERT_TRUE(WarteAufMeldungen(2));
    ASSERT_TRUE(WarteAufBereit());
    ASSERT_TRUE(SendeDokument(port, Anfrage(9, 3, 15)));
    ASSERT_TRUE(WarteAufMeldungen(3));
    ASSERT_TRUE(WarteAufBereit());
    std::string mitNull = Anfrage(9, 4);
    mitNull[mitNull.size() / 2] = '\0';
    ASSERT_TRUE(SendeDokument(port, mitNull));
    ASSERT_TRUE(WarteAufMeldungen(4));
    ASSERT_TRUE(WarteAufBereit());
    PruefeGuteAnfrage(5);

    std::lock_guard sperre(a.mutex);
    for (const std::string& m : a.meldungen) EXPECT_EQ(m, "Netzwerkfehler: Fehlerhafte XML-Datei empfangen.");
}

TEST_F(Server, ZuLangesDokumentWirdGelesenUndVerworfen) {
    const long vorher = ResidentKiB();
    std::string riesig = Anfrage(9, 7);
    riesig.resize(10 * 1024 * 1024, 'x');
    ASSERT_TRUE(SendeDokument(port, riesig));
    ASSERT_TRUE(WarteAufMeldungen(1));
    ASSERT_TRUE(WarteAufBereit());
    {
        std::lock_guard sperre(a.mutex);
        EXPECT_TRUE(Enthaelt(a.log, "Dokument zu lang (mehr als 262143 Zeichen), verworfen.\r\n"));
    }
    riesig.clear();
    riesig.shrink_to_fit();
    // Der Server hält nie mehr als ein Dokument der Höchstlänge.
    if (kSpeicherMessbar) {
        EXPECT_LT(ResidentKiB() - vorher, 4 * 1024);
    }
    PruefeGuteAnfrage(8);
    // Genau an der Grenze wird noch gelesen (dann fehlerhaft, aber nicht zu lang).
    std::string grenze = Anfrage(9, 9);
    grenze.resize(kMaxDokument, ' ');
    ASSERT_TRUE(SendeDokument(port, grenze));
    Lauscher dummy;
    ASSERT_TRUE(WarteAufBereit());
    std::lock_guard sperre(a.mutex);
    EXPECT_FALSE(Enthaelt(a.log, "zu lang"));
}

TEST_F(Server, LangsameGegenstelleHaeltNiemandenAuf) {
    Lauscher antwort;
    const std::string erstes = Anfrage(antwort.port, 11), zweites = Anfrage(antwort.port, 12);
    int langsam = Verbinde(port);
    ASSERT_GE(langsam, 0);
    ASSERT_TRUE(SendeAlles(langsam, erstes.substr(0, 100)));
    ASSERT_TRUE(Warte(a, [](Aufzeichnung& z) { return Enthaelt(z.log, "Empfange Daten... (100 Bytes)"); }));
    // Der zweite wird beantwortet, während der erste noch mitten im Dokument ist.
    ASSERT_TRUE(SendeDokument(port, zweites));
    auto a2 = antwort.Empfange();
    ASSERT_TRUE(a2.has_value());
    EXPECT_TRUE(Enthaelt(*a2, "cmdid=\"12\"")) << *a2;
    ASSERT_TRUE(SendeAlles(langsam, erstes.substr(100)));
    ::shutdown(langsam, SHUT_WR);
    ::close(langsam);
    auto a1 = antwort.Empfange();
    ASSERT_TRUE(a1.has_value());
    EXPECT_TRUE(Enthaelt(*a1, "cmdid=\"11\"")) << *a1;
    ASSERT_TRUE(WarteAufBereit());
    std::lock_guard sperre(a.mutex);
    EXPECT_TRUE(a.meldungen.empty());
}

TEST_F(Server, ResetTrenntNurDieseVerbindung) {
    // Ein paar Bytes, dann ein Reset statt eines Schließens (SO_LINGER mit 0).
    for (const std::string_view vorher : {std::string_view("<tablestate"), std::string_view()}) {
        SCOPED_TRACE(vorher.empty() ? "ohne Daten" : "nach ein paar Bytes");
        const int s = Verbinde(port);
        ASSERT_GE(s, 0);
        ASSERT_TRUE(Warte(a, [](Aufzeichnung& z) { return Enthaelt(z.log, "Warte auf Daten vom Client"); }));
        ASSERT_TRUE(SendeAlles(s, vorher));
        const linger sofort{1, 0};
        ::setsockopt(s, SOL_SOCKET, SO_LINGER, &sofort, sizeof sofort);
        ::close(s);
        ASSERT_TRUE(Warte(a, [](Aufzeichnung& z) {
            return Enthaelt(z.log, "SOCKET_ERROR! (Errorcode: " + std::to_string(ECONNRESET) +
                                       ") Verbindung getrennt, der Server wartet weiter...\r\n");
        }));
        ASSERT_TRUE(WarteAufBereit());
        PruefeGuteAnfrage(31);
    }
    std::lock_guard sperre(a.mutex);
    EXPECT_TRUE(a.meldungen.empty());
}

TEST_F(Server, AntwortadresseNimmtNichtAn) {
    const int zu = FreierPort();  // niemand lauscht dort
    ASSERT_TRUE(SendeDokument(port, Anfrage(zu, 21)));
    ASSERT_TRUE(WarteAufMeldungen(1));
    {
        std::lock_guard sperre(a.mutex);
        EXPECT_EQ(a.meldungen[0], "SendeTCPPacket(): Fehler: 'connect' gescheitert! Es kann keine Verbindung zum "
                                  "Server (IP:127.0.0.1, Port:" + std::to_string(zu) + ") erstellt werden!");
    }
    ASSERT_TRUE(WarteAufBereit());
    // Ein Name statt einer Adresse wird nicht aufgelöst.
    std::string mitName = Anfrage(zu, 22);
    mitName.replace(mitName.find("127.0.0.1"), 9, "localhost");
    ASSERT_TRUE(SendeDokument(port, mitName));
    ASSERT_TRUE(WarteAufMeldungen(2));
    {
        std::lock_guard sperre(a.mutex);
        EXPECT_TRUE(Enthaelt(a.meldungen[1], "(IP:localhost, Port:"));
    }
    ASSERT_TRUE(WarteAufBereit());
    PruefeGuteAnfrage(23);
}

TEST_F(Server, SpeicherBleibtFlach) {
    if (!kSpeicherMessbar) GTEST_SKIP() << "Speichermessung unter dem Address-Sanitizer ohne Aussage";
    Lauscher antwort;
    auto runde = [&](int n, int basis) {
        for (int i = 0; i < n; ++i) {
            ASSERT_TRUE(SendeDokument(port, Anfrage(antwort.port, basis + i)));
            ASSERT_TRUE(antwort.Empfange().has_value());
            // Der Sendethread gibt seinen Platz erst nach dem Schließen frei; auf
            // einer belasteten Maschine wären sonst bald vier an dasselbe Ziel
            // unterwegs, und die nächste Antwort fiele mit Absicht aus.
            ASSERT_TRUE(WarteAufSender(t.k.sender, 10s));
        }
    };
    runde(200, 1000);
    const long vorher = ResidentKiB();
    runde(2000, 5000);
    ASSERT_TRUE(WarteAufBereit());
    EXPECT_LT(ResidentKiB() - vorher, 2 * 1024) << "Speicher wächst mit den Anfragen";
}

TEST(ServerStart, BelegterPortGibtGenauEineMeldung) {
    Testspieler t;
    Aufzeichnung& a = t.a;
    Lauscher belegt;  // lauscht nur auf 127.0.0.1; 0.0.0.0 am selben Port scheitert dann
    // Gescheitert, bevor ein Thread läuft: Meldung und Grund sind beim Rückkehren schon da.
    t.SetzePort(belegt.port);
    EXPECT_FALSE(t.Starte());
    {
        std::lock_guard sperre(a.mutex);
        ASSERT_EQ(a.meldungen.size(), 1u);
        EXPECT_EQ(a.meldungen[0],
                  "StartTCPServer(): Fehler: 'bind' gescheitert! Der Server konnte nicht an den Port gebunden werden!");
        EXPECT_EQ(a.log, "Port " + std::to_string(belegt.port) + " nicht nutzbar (Errorcode: " +
                             std::to_string(EADDRINUSE) + "), Netzwerk bleibt aus.\r\n");
    }
    EXPECT_TRUE(WarteAufServerende(t.k.server, 0ms));
    StoppeServer(t.k.server);
    EXPECT_FALSE(Warte(a, [](Aufzeichnung& z) { return z.meldungen.size() > 1 || z.log.find("Server") != std::string::npos; }, 200ms));
}

TEST(ServerStart, StoppenWaehrendEinGastSchweigt) {
    Testspieler t;
    Aufzeichnung& a = t.a;
    ASSERT_TRUE(t.Starte());
    ASSERT_TRUE(Warte(a, [](Aufzeichnung& z) { return Enthaelt(z.log, "Warte auf Anfrage"); }));
    int stumm = Verbinde(t.Port());
    ASSERT_GE(stumm, 0);
    ASSERT_TRUE(Warte(a, [](Aufzeichnung& z) { return Enthaelt(z.log, "Warte auf Daten vom Client"); }));
    StoppeServer(t.k.server);  // weckt das blockierte recv
    ASSERT_TRUE(Warte(a, [](Aufzeichnung& z) { return Enthaelt(z.log, "\r\nServer beendet...\r\n"); }));
    EXPECT_TRUE(a.meldungen.empty());  // ein Bruchstück wird nicht als Anfrage behandelt
    ::close(stumm);
}

namespace {

// Eine Gegenstelle: sendet text in Stücken von stueck Bytes mit pause
// dazwischen und schließt danach, wenn sie fertig sein will, ihre
// Senderichtung. Wahr, wenn der Server die Verbindung binnen 10 s schließt.
bool Gast(int s, std::string_view text, std::size_t stueck, std::chrono::milliseconds pause, bool fertig) {
    const auto schluss = std::chrono::steady_clock::now() + 10s;
    auto geschlossen = [s](std::chrono::milliseconds grenze) {
        pollfd p{s, POLLIN, 0};
        char c;
        return ::poll(&p, 1, static_cast<int>(grenze.count())) == 1 && ::recv(s, &c, 1, 0) <= 0;
    };
    for (std::size_t i = 0; i < text.size(); i += stueck) {
        if (std::chrono::steady_clock::now() > schluss) return false;
        if (i > 0 && geschlossen(pause)) return true;  // die Pause ist das Warten auf den Server
        if (!SendeAlles(s, text.substr(i, stueck))) return true;
    }
    if (fertig) ::shutdown(s, SHUT_WR);
    return geschlossen(std::chrono::duration_cast<std::chrono::milliseconds>(schluss - std::chrono::steady_clock::now()));
}

struct Gegenstelle {
    const char* name;
    const char* netzwerk;         // [netzwerk] der config.ini
    std::size_t stueck;           // 0: sendet nichts
    std::chrono::milliseconds pause;
    const char* trennung;         // die Zeile, mit der der Server trennt; nullptr: er antwortet
    std::chrono::milliseconds grenze;  // so lange hält sie eine Anfrage dahinter höchstens auf
};

}  // namespace

TEST(ServerZeitgrenzen, SchweigendeUndTroepfelndeGegenstellenHaltenNichtAuf) {
    TempVerzeichnis dir;
    const char* kurz = "wartezeit=1500\ngesamtzeit=3000\n";
    const Gegenstelle faelle[] = {
        {"stumm", kurz, 0, 0ms, "Keine Daten seit 1500 ms, Verbindung getrennt.\r\n", 1500ms},
        {"ein Byte je Sekunde", kurz, 1, 1000ms, "Dokument nicht in 3000 ms vollständig, Verbindung getrennt.\r\n",
         3000ms},
        {"in drei Stücken", kurz, 700, 1000ms, nullptr, 3000ms},
        // wartezeit 0 ist keine Grenze: erst die Gesamtzeit trennt, nicht schon das Annehmen.
        {"stumm ohne wartezeit", "wartezeit=0\ngesamtzeit=2000\n", 0, 0ms,
         "Dokument nicht in 2000 ms vollständig, Verbindung getrennt.\r\n", 2000ms},
    };
    for (const Gegenstelle& g : faelle) {
        SCOPED_TRACE(g.name);
        // Die Zeile des Trennens soll die nächste Verbindung überstehen.
        Testspieler t(dir.Schreibe("config.ini", std::string("[netzwerk]\n") + g.netzwerk), false);
        Aufzeichnung& a = t.a;
        ASSERT_TRUE(t.Starte());
        Lauscher antwort;
        const int s = Verbinde(t.Port());
        ASSERT_GE(s, 0);
        bool getrennt = false;
        std::thread gast([&] {
            getrennt = Gast(s, g.stueck ? Anfrage(antwort.port, 1) : "", g.stueck, g.pause, !g.trennung);
        });
        EXPECT_TRUE(Warte(a, [](Aufzeichnung& z) { return Enthaelt(z.log, "Warte auf Daten vom Client"); }));
        EXPECT_TRUE(SendeDokument(t.Port(), Anfrage(antwort.port, 2)));

        std::string antworten;
        if (!g.trennung) antworten += antwort.Empfange().value_or("keine");
        antworten += antwort.Empfange(g.grenze + 1s).value_or("keine");
        gast.join();
        ::close(s);
        EXPECT_TRUE(getrennt);
        EXPECT_EQ(Enthaelt(antworten, "cmdid=\"1\""), !g.trennung) << antworten;
        EXPECT_TRUE(Enthaelt(antworten, "cmdid=\"2\"")) << antworten;

        StoppeServer(t.k.server);
        EXPECT_TRUE(WarteAufServerende(t.k.server, 10s));
        std::lock_guard sperre(a.mutex);
        EXPECT_TRUE(a.meldungen.empty());
        const std::size_t zeile = a.log.find(g.trennung ? g.trennung : "Verbindung getrennt");
        EXPECT_EQ(zeile != std::string::npos, g.trennung != nullptr) << a.log;
        if (g.trennung) {
            EXPECT_EQ(a.log.find(g.trennung, zeile + 1), std::string::npos) << "nur eine Zeile";
        }
    }
}

namespace {

// Wahr, wenn der Server s binnen grenze schließt.
bool VomServerGeschlossen(int s, std::chrono::milliseconds grenze) {
    pollfd p{s, POLLIN, 0};
    char c;
    return ::poll(&p, 1, static_cast<int>(grenze.count())) == 1 && ::recv(s, &c, 1, 0) <= 0;
}

int EigenerPort(int s) {
    sockaddr_in a{};
    socklen_t l = sizeof a;
    ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &l);
    return ntohs(a.sin_port);
}

std::size_t Anzahl(const std::string& text, std::string_view teil) {
    std::size_t n = 0;
    for (std::size_t i = text.find(teil); i != std::string::npos; i = text.find(teil, i + 1)) ++n;
    return n;
}

}  // namespace

TEST(ServerVerbindungen, DieStillsteWeichtEinerNeuen) {
    TempVerzeichnis dir;
    // Die Zeile des Trennens soll die nächste Verbindung überstehen.
    Testspieler t(dir.Schreibe("config.ini", "[netzwerk]\nverbindungen=3\nwartezeit=60000\n"), false);
    Aufzeichnung& a = t.a;
    ASSERT_TRUE(t.Starte());
    // Drei stille Gäste, einer nach dem anderen angenommen: der erste ist am längsten still.
    int stumm[3];
    for (int i = 0; i < 3; ++i) {
        stumm[i] = Verbinde(t.Port());
        ASSERT_GE(stumm[i], 0);
        const std::size_t angenommen = static_cast<std::size_t>(i) + 1;
        ASSERT_TRUE(Warte(a, [angenommen](Aufzeichnung& z) {
            return Anzahl(z.log, "Warte auf Daten vom Client") == angenommen;
        }));
    }
    Lauscher antwort;
    ASSERT_TRUE(SendeDokument(t.Port(), Anfrage(antwort.port, 41)));
    const auto text = antwort.Empfange();
    ASSERT_TRUE(text.has_value()) << "keine Antwort";
    EXPECT_TRUE(VomServerGeschlossen(stumm[0], 10s));
    EXPECT_FALSE(VomServerGeschlossen(stumm[1], 0ms));
    EXPECT_FALSE(VomServerGeschlossen(stumm[2], 0ms));
    StoppeServer(t.k.server);
    EXPECT_TRUE(WarteAufServerende(t.k.server, 10s));
    const int ersterPort = EigenerPort(stumm[0]);
    for (int s : stumm) ::close(s);
    std::lock_guard sperre(a.mutex);
    EXPECT_EQ(Anzahl(a.log, "Verbindungen offen"), 1u) << a.log;
    EXPECT_TRUE(Enthaelt(a.log, "Schon 3 Verbindungen offen, die am längsten stille zu 127.0.0.1, Port " +
                                    std::to_string(ersterPort) + " getrennt.\r\n"))
        << a.log;
}

// Ein neuer Spielserver leert das Protokoll nur, wenn keine andere Verbindung
// offen ist: die Zeilen einer Anfrage, die noch empfangen oder bearbeitet
// wird, bleiben bis zu ihrer Antwort stehen.
TEST(ServerReihenfolge, AnnehmenLeertNichtDasProtokollEinerAnfrageInArbeit) {
    // Vor dem Spieler angelegt: der Server-Thread schreibt hinein, bis der Spieler abgebaut ist.
    std::string gesehen;  // das Protokoll, als das Dokument bearbeitet wurde
    Testspieler t;
    t.k.server.bearbeite = [&](const std::string&, const std::string&) {
        std::lock_guard sperre(t.a.mutex);
        gesehen = t.a.log;
    };
    ASSERT_TRUE(t.Starte());
    auto wartende = [&](std::size_t n) {
        return Warte(t.a, [n](Aufzeichnung& z) { return Anzahl(z.log, "Warte auf Daten vom Client") == n; });
    };
    const int erster = Verbinde(t.Port());
    ASSERT_TRUE(wartende(1));
    const int zweiter = Verbinde(t.Port());  // kommt, während der erste noch sendet
    ASSERT_TRUE(wartende(2));
    ASSERT_TRUE(SendeAlles(erster, "dokument"));
    ::shutdown(erster, SHUT_WR);
    ASSERT_TRUE(Warte(t.a, [&](Aufzeichnung&) { return !gesehen.empty(); }));
    EXPECT_EQ(Anzahl(gesehen, "Verbindung zu 127.0.0.1"), 2u) << gesehen;
    EXPECT_TRUE(Enthaelt(gesehen, "Empfange Daten... (8 Bytes)\r\nVerbindung anständig geschlossen...\r\n")) << gesehen;
    ::close(erster);
    ::close(zweiter);
}
