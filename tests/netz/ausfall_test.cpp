// Der Spieler ohne Fenster an der Grenze der offenen Dateien: ein accept, das
// scheitert, hält ihn nicht an; ein poll, das scheitert, beendet ihn mit 1 und
// nimmt "running" zurück. Nur im privaten Netz-Namensraum (Label netz).
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <cerrno>
#include <csignal>

#include "spieler_hilfen.h"

namespace {

using namespace std::chrono_literals;

// Verbindet n Gäste und wartet, bis der Server den letzten angenommen hat
// (er nimmt in der Reihenfolge der Warteschlange an).
std::vector<int> Gaeste(Spielerprozess& spieler, int n, bool alleAngenommen) {
    std::vector<int> gaeste;
    for (int i = 0; i < n; ++i) gaeste.push_back(Verbinde(spieler.port));
    if (alleAngenommen) {
        EXPECT_TRUE(spieler.kind->WarteAufAusgabe("Verbindung zu 127.0.0.1, Port " +
                                                  std::to_string(EigenerPort(gaeste.back())) + " "));
    }
    return gaeste;
}

}  // namespace

TEST(Ausfall, AcceptAnDerDateigrenzeRuhtUndGehtWeiter) {
    if (::geteuid() != 0) GTEST_SKIP() << "nur als root: der Spieler läuft als nobody mit eigenem Limit";
    if (!::getpwnam("nobody")) GTEST_SKIP() << "kein Benutzer nobody";
    // Zehn Dateien: die drei Standardkanäle, der lauschende Socket, sechs Gäste.
    Spielerprozess spieler("wartezeit=1000\n", {"--nofile=10"});
    ASSERT_TRUE(spieler.Bereit()) << spieler.kind->ausgabe;
    std::vector<int> gaeste = Gaeste(spieler, 10, false);
    const std::string fehler =
        "Fehler bei 'accept' (Errorcode: " + std::to_string(EMFILE) + "), neuer Versuch in 100 ms...\r\n";
    ASSERT_TRUE(spieler.kind->WarteAufAusgabe(fehler)) << spieler.kind->ausgabe;

    // Die angenommenen schweigen, bis der Server sie nach wartezeit trennt;
    // so lange scheitert jedes accept. Das kostet weder Zeilen noch Rechenzeit.
    const long vorher = Rechenzeit(spieler.pid());
    const auto beginn = std::chrono::steady_clock::now();
    ASSERT_TRUE(spieler.kind->WarteAufAusgabe("Keine Daten seit 1000 ms, Verbindung getrennt.\r\n"));
    const double sekunden = std::chrono::duration<double>(std::chrono::steady_clock::now() - beginn).count();
    const double gerechnet = static_cast<double>(Rechenzeit(spieler.pid()) - vorher) / ::sysconf(_SC_CLK_TCK);
    EXPECT_LT(gerechnet, 0.5 * sekunden + 0.05) << "Rechenzeit " << gerechnet << " s in " << sekunden << " s";
    // Einmal je Engpass, nicht je Versuch (das wären hier zehn). Ein zweites Mal,
    // wenn der Sendethread des Status seinen Socket erst nach der ersten
    // Abweisung schließt und so noch ein Gast hineinkommt (auf einer belasteten Maschine).
    EXPECT_LE(spieler.Anzahl(fehler), 2u) << spieler.kind->ausgabe;

    for (int g : gaeste) ::close(g);
    Lauscher antwort;
    ASSERT_TRUE(SendeDokument(spieler.port, Anfrage(antwort.port, 61)));
    const auto text = antwort.Empfange();
    ASSERT_TRUE(text.has_value()) << "keine Antwort nach der Dateigrenze\n" << spieler.kind->ausgabe;
    EXPECT_NE(text->find("cmdid=\"61\""), std::string::npos);
    ::kill(spieler.pid(), SIGTERM);
    EXPECT_EQ(spieler.kind->Warte(), 0);
}

TEST(Ausfall, ScheiterndesPollEndetMitEinsOhneRunning) {
    Spielerprozess spieler("");
    StatusEmpfaenger status(spieler.bport);
    ASSERT_TRUE(spieler.Bereit()) << spieler.kind->ausgabe;
    EXPECT_TRUE(Laeuft(status.Naechstes(), true));
    // poll verlangt höchstens so viele Sockets, wie Dateien offen sein dürfen
    // (sonst EINVAL). Die Grenze liegt ein paar Nummern über den offenen: hat
    // der Server alles geschlossen, reicht es für den Status.
    const rlim_t grenze = static_cast<rlim_t>(OffeneDateien(spieler.pid())) + 6;
    std::vector<int> gaeste = Gaeste(spieler, static_cast<int>(grenze), true);
    rlimit jetzt{};
    ASSERT_EQ(::prlimit(spieler.pid(), RLIMIT_NOFILE, nullptr, &jetzt), 0);
    const rlimit eng{grenze, jetzt.rlim_max};
    ASSERT_EQ(::prlimit(spieler.pid(), RLIMIT_NOFILE, &eng, nullptr), 0);
    ASSERT_TRUE(SendeAlles(gaeste[0], "<"));  // weckt den poll

    EXPECT_EQ(spieler.kind->Warte(), 1);
    for (int g : gaeste) ::close(g);
    const std::string& aus = spieler.kind->ausgabe;
    EXPECT_NE(aus.find("SOCKET_ERROR! (Errorcode: " + std::to_string(EINVAL) + ") Server fährt runter...\r\n"),
              std::string::npos)
        << aus;
    EXPECT_NE(aus.find("Server unerwartet beendet, Stosswerk endet mit 1.\r\n"), std::string::npos) << aus;
    EXPECT_TRUE(Laeuft(status.Naechstes(), false));
    EXPECT_FALSE(status.Naechstes(200ms).has_value());
}
