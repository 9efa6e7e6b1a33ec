// Eine Flut von Anfragen, deren Antwortadresse nie annimmt, gegen stosswerk
// ohne Fenster unter einem Thread-Limit. Der Spieler läuft als nobody, denn
// für root gilt RLIMIT_NPROC nicht; so kann er nie die Threads des Rechners
// aufbrauchen. Nur im privaten Netz-Namensraum (Label netz).
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <csignal>
#include <thread>

#include "spieler_hilfen.h"

namespace {

using namespace std::chrono_literals;

struct Grenzfall {
    const char* name;
    const char* netzwerk;  // weitere Zeilen in [netzwerk]
    int nproc;             // Threads, die nobody haben darf
    const char* verworfen; // die Protokollzeile einer verworfenen Antwort
    int mehrThreads;       // so viele Threads über den Ruhestand hinaus höchstens
};

}  // namespace

TEST(Flut, StummeAntwortadresseUnterThreadLimit) {
    if (::geteuid() != 0) GTEST_SKIP() << "nur als root: der Spieler läuft als nobody mit eigenem Limit";
    if (!::getpwnam("nobody")) GTEST_SKIP() << "kein Benutzer nobody";
    constexpr int kAnfragen = 2000;
    const Grenzfall faelle[] = {
        // Die Obergrenze der Sender greift lange vor dem Limit.
        {"sender=8", "sender=8\nsender_je_ziel=8\n", 200, "Antworten unterwegs, Antwort an 127.0.0.1, Port ", 2 * 8},
        // Das Limit greift vor den Obergrenzen (insgesamt 32, hier auch je Ziel): std::system_error.
        {"nproc=12", "sender_je_ziel=32\n", 12, "Kein Sendethread (Errorcode: ", 12},
    };
    for (const Grenzfall& g : faelle) {
        SCOPED_TRACE(g.name);
        Spielerprozess spieler(g.netzwerk, {"--nproc=" + std::to_string(g.nproc)});
        ASSERT_TRUE(spieler.Bereit()) << spieler.kind->ausgabe;
        const int port = spieler.port;
        const int ruhe = Threads(spieler.pid());
        ASSERT_GT(ruhe, 0);

        // Die Warteschlange dieses Lauschers ist nach ein, zwei Verbindungen voll:
        // jeder weitere Sender hängt im connect bis zu seiner Zeitgrenze.
        Lauscher stumm(1);
        int hoechstens = ruhe, gesendet = 0;
        for (int i = 0; i < kAnfragen; ++i) {
            if (SendeUndWarte(port, Anfrage(stumm.port, i))) ++gesendet;
            if (i % 20 == 0) hoechstens = std::max(hoechstens, Threads(spieler.pid()));
        }
        EXPECT_EQ(gesendet, kAnfragen);
        int status = 0;
        const pid_t geendet = ::waitpid(spieler.pid(), &status, WNOHANG);
        if (geendet == spieler.pid()) spieler.kind->pid = -1;  // abgeholt: nicht noch einmal töten
        ASSERT_EQ(geendet, 0) << "der Spieler ist nicht mehr da";
        EXPECT_LE(hoechstens, ruhe + g.mehrThreads);
        EXPECT_TRUE(spieler.kind->WarteAufAusgabe(g.verworfen, 0ms));

        // Sind die hängenden Sender abgelaufen, wird wieder beantwortet.
        // Ein fremder Prozess meldet sein Thread-Ende nicht: abfragen bis zur Frist.
        const auto schluss = std::chrono::steady_clock::now() + 60s;
        while (Threads(spieler.pid()) > ruhe && std::chrono::steady_clock::now() < schluss)
            std::this_thread::sleep_for(50ms);
        EXPECT_EQ(Threads(spieler.pid()), ruhe);
        Lauscher antwort;
        ASSERT_TRUE(SendeDokument(port, Anfrage(antwort.port, kAnfragen)));
        const auto text = antwort.Empfange();
        ASSERT_TRUE(text.has_value()) << "keine Antwort nach der Flut";
        EXPECT_NE(text->find("cmdid=\"" + std::to_string(kAnfragen) + "\""), std::string::npos);

        ::kill(spieler.pid(), SIGTERM);
        EXPECT_EQ(spieler.kind->Warte(), 0);
    }
}
