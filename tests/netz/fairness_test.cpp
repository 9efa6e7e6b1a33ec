// Gute Anfragen, während acht stumme Gegenstellen verbunden bleiben (und nach
// dem Trennen wieder verbinden) und eine Flut von Anfragen ihre Antwort an eine
// Adresse will, die nie annimmt. Der Spieler läuft als nobody mit Thread-Limit,
// jede Last ist begrenzt. Nur im privaten Netz-Namensraum (Label netz).
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <mutex>
#include <thread>

#include "spieler_hilfen.h"

namespace {

using namespace std::chrono_literals;
using Uhr = std::chrono::steady_clock;

constexpr int kStumme = 8;
constexpr int kGute = 20;                   // alle 0.5 s eine
constexpr int kFluthoechstens = 40000;      // Anfragen der Flut höchstens
constexpr double kGrenze95 = 1.5;           // Sekunden, für 95 % der guten Anfragen

// Acht Gegenstellen, die verbinden, schweigen, bis der Server trennt, und
// wieder verbinden. Hören sie auf, weckt ein shutdown die, die noch warten:
// eine Verbindung, die nur im Handschlag des Servers hängt, schließt sonst nie.
struct Stumme {
    std::mutex mutex;
    bool ende = false;
    int fd[kStumme];
    std::vector<std::thread> threads;

    explicit Stumme(int port) {
        std::fill(std::begin(fd), std::end(fd), -1);
        for (int i = 0; i < kStumme; ++i) threads.emplace_back([this, port, i] { Schweige(port, i); });
    }
    void Schweige(int port, int i) {
        for (;;) {
            const int s = Verbinde(port);
            {
                std::lock_guard sperre(mutex);
                if (s < 0 || ende) {
                    if (s >= 0) ::close(s);
                    return;
                }
                fd[i] = s;
            }
            pollfd p{s, POLLIN, 0};
            ::poll(&p, 1, -1);  // bis der Server trennt
            std::lock_guard sperre(mutex);
            ::close(fd[i]);
            fd[i] = -1;
        }
    }
    void Ende() {
        {
            std::lock_guard sperre(mutex);
            ende = true;
            for (int s : fd)
                if (s >= 0) ::shutdown(s, SHUT_RDWR);
        }
        for (std::thread& t : threads) t.join();
    }
};

}  // namespace

TEST(Fairness, GuteAnfragenUnterStummenGegenstellenUndFlut) {
    if (::geteuid() != 0) GTEST_SKIP() << "nur als root: der Spieler läuft als nobody mit eigenem Limit";
    if (!::getpwnam("nobody")) GTEST_SKIP() << "kein Benutzer nobody";
    Spielerprozess spieler("", {"--nproc=64"});  // die Vorgaben von [netzwerk]
    ASSERT_TRUE(spieler.Bereit()) << spieler.kind->ausgabe;
    const int port = spieler.port;
    const int ruhe = Threads(spieler.pid());
    std::atomic<int> hoechstens = ruhe, flut = 0;
    auto zaehle = [&] { hoechstens = std::max(hoechstens.load(), Threads(spieler.pid())); };

    Stumme stumme(port);
    std::atomic<bool> ende = false;
    std::vector<std::thread> flutThreads;
    Lauscher stumm(1);  // nimmt nie an: jede Antwort dorthin hängt im connect
    for (int t = 0; t < 2; ++t)
        flutThreads.emplace_back([&] {
            while (!ende && flut < kFluthoechstens) {
                if (!SendeUndWarte(port, Anfrage(stumm.port, 100000 + flut++))) return;
                if (flut % 50 == 0) zaehle();
            }
        });

    Lauscher antwort;
    std::vector<double> dauer;
    for (int i = 0; i < kGute; ++i) {
        const auto beginn = Uhr::now();
        if (SendeDokument(port, Anfrage(antwort.port, i))) {
            const auto text = antwort.Empfange(10s);
            if (text && text->find("cmdid=\"" + std::to_string(i) + "\"") != std::string::npos)
                dauer.push_back(std::chrono::duration<double>(Uhr::now() - beginn).count());
        }
        zaehle();
        std::this_thread::sleep_until(beginn + 500ms);  // der Takt des guten Spielservers
    }
    ende = true;
    const std::size_t getrennt = spieler.Anzahl("Keine Daten seit 5000 ms, Verbindung getrennt.");
    const std::size_t verworfen = spieler.Anzahl("Antworten unterwegs, Antwort an 127.0.0.1, Port " +
                                                  std::to_string(stumm.port) + " verworfen.");
    for (std::thread& t : flutThreads) t.join();
    stumme.Ende();
    ::kill(spieler.pid(), SIGTERM);
    EXPECT_EQ(spieler.kind->Warte(), 0);

    ASSERT_EQ(dauer.size(), static_cast<std::size_t>(kGute)) << "nicht jede gute Anfrage beantwortet";
    std::sort(dauer.begin(), dauer.end());
    const double median = (dauer[kGute / 2 - 1] + dauer[kGute / 2]) / 2;
    const double p95 = dauer[(kGute * 95 + 99) / 100 - 1];
    std::printf("Fairness: %d gute Anfragen, Median %.1f ms, 95. Perzentil %.1f ms, längste %.1f ms; "
                "Threads höchstens %d (in Ruhe %d); Flut %d Anfragen, %zu Antworten verworfen; "
                "stumme Gegenstellen %zu-mal getrennt\n",
                kGute, median * 1000, p95 * 1000, dauer.back() * 1000, hoechstens.load(), ruhe, flut.load(),
                verworfen, getrennt);
    EXPECT_LE(p95, kGrenze95);
    // Höchstens sender_je_ziel Sender hängen an der stummen Adresse, dazu die guten.
    EXPECT_LE(hoechstens, ruhe + 4 + 2);
    // Die Last war wirklich da: die Flut traf ihre Grenze, die Stummen wurden getrennt.
    EXPECT_GT(verworfen, 0u);
    EXPECT_GE(getrennt, static_cast<std::size_t>(kStumme));
}
