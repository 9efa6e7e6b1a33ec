// Was der Bediener sieht, Byte für Byte festgehalten: nach "Start" und nach
// einer Anfrage des Spielservers das Log, die Felder, die Stoßlinien, die
// Meldungen und die Antwort, auf einigen Tischen mit beiden Planern. Die
// Vorlagen liegen in tests/daten/mitschrift/; STOSSWERK_MITSCHRIFT_NEU=1
// schreibt sie neu (nur, wenn sich das Sichtbare ändern soll).
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

#include "../hilfen.h"
#include "fenster_hilfen.h"
#include "net/xml_lesen.h"

namespace {

const std::string kVorlagen = STOSSWERK_QUELLEN "/tests/daten/mitschrift/";

std::string Lies(const std::string& pfad) {
    std::ifstream f(pfad, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

// Ein Empfänger für die Antwort, nur auf 127.0.0.1.
struct Empfaenger {
    int fd = -1;
    int port = 0;
    Empfaenger() {
        fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t n = sizeof a;
        if (::bind(fd, reinterpret_cast<sockaddr*>(&a), n) != 0 || ::listen(fd, 4) != 0) return;
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &n);
        port = ntohs(a.sin_port);
    }
    ~Empfaenger() { ::close(fd); }
    std::string Antwort() const {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 20000) != 1) return "(keine Antwort)";
        const int c = ::accept(fd, nullptr, nullptr);
        std::string text;
        char puffer[4096];
        for (ssize_t n; (n = ::recv(c, puffer, sizeof puffer, 0)) > 0;) text.append(puffer, static_cast<std::size_t>(n));
        ::close(c);
        // Die eigene Adresse hängt vom Rechner ab.
        const auto a = text.find("<ipv4>"), b = text.find("</ipv4>");
        if (a != std::string::npos && b != std::string::npos && b > a) text.replace(a + 6, b - a - 6, "ADRESSE");
        return text;
    }
};

std::string ErsetzeZwischen(std::string text, const std::string& auf, const std::string& zu, const std::string& wert) {
    const auto a = text.find(auf);
    const auto b = a == std::string::npos ? a : text.find(zu, a + auf.size());
    if (a != std::string::npos && b != std::string::npos) text.replace(a + auf.size(), b - a - auf.size(), wert);
    return text;
}

struct Fall {
    const char* dokument;
    int modus;  // [planer] modus
};

class Mitschrift : public Fenster, public ::testing::WithParamInterface<Fall> {
protected:
    TempVerzeichnis dir;

    void SetUp() override {
        // Robust ohne Zeitgrenze: die Wahl hängt dann nicht von der Last ab.
        std::string text = Lies(Bin("config.ini"));
        if (GetParam().modus == 1) {
            text = ErsetzeZwischen(text, "\nmodus=", "\n", "1");
            text = ErsetzeZwischen(text, "\nzeitgrenze=", "\n", "0");
        }
        konfiguration = dir.Schreibe("config.ini", text);
        Fenster::SetUp();
    }

    std::string Sichtbar() const {
        std::string s = "log:\n" + Log().toStdString() + "\nfelder:\n";
        for (int f : {FeldGruppe, FeldZieltasche, FeldKugeln, FeldX, FeldY, FeldZ, FeldBetrag})
            s += std::to_string(f) + ": " + Feld(f).toStdString() + "\n";
        s += "linien:\n";
        char zeile[160];
        for (const Linie& l : Ansicht()->Linien()) {
            std::snprintf(zeile, sizeof zeile, "%.9g %.9g %.9g %.9g %06x\n", static_cast<double>(l.x1),
                          static_cast<double>(l.y1), static_cast<double>(l.x2), static_cast<double>(l.y2),
                          static_cast<unsigned>(l.farbe));
            s += zeile;
        }
        s += "meldungen:\n";
        for (const QString& m : OffeneMeldungen()) s += m.toStdString() + "\n";
        return s;
    }

    void Vergleiche(const std::string& name, const std::string& ist) const {
        const std::string pfad = kVorlagen + name;
        if (std::getenv("STOSSWERK_MITSCHRIFT_NEU")) {
            std::ofstream(pfad, std::ios::binary) << ist;
            return;
        }
        EXPECT_EQ(ist, Lies(pfad)) << pfad;
    }

    std::string Name(const char* art) const {
        std::string d = GetParam().dokument;
        return d.substr(0, d.find('.')) + "-" + art + "-modus" + std::to_string(GetParam().modus) + ".txt";
    }
};

TEST_P(Mitschrift, StartUndAnfrage) {
    const std::string dokument = Lies(kVorlagen + GetParam().dokument);
    Spielstand stand{};
    ASSERT_TRUE(LeseSpielstandXML(Spieler().tisch, dokument, stand, false));

    // "Start" auf den Kugeln und der Gruppe des Dokuments.
    SetzeFensterstand(stand);
    Klicke(BefehlStart);
    Vergleiche(Name("start"), Sichtbar());

    // Dieselbe Lage als Anfrage, so wie der Server-Thread sie bearbeitet.
    Empfaenger empfaenger;
    ASSERT_GT(empfaenger.port, 0);
    const std::string anfrage = ErsetzeZwischen(ErsetzeZwischen(dokument, "<ipv4>", "</ipv4>", "127.0.0.1"),
                                                "<port>", "</port>", std::to_string(empfaenger.port));
    LoescheFensterlog();
    std::atomic<bool> fertig = false;
    std::thread server([&] {
        BearbeiteFensteranfrage(anfrage);
        fertig = true;
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return fertig.load(); }, 60000));
    server.join();
    const std::string antwort = empfaenger.Antwort();
    QCoreApplication::processEvents();
    Vergleiche(Name("anfrage"), Sichtbar() + "antwort:\n" + antwort);
}

INSTANTIATE_TEST_SUITE_P(Tische, Mitschrift,
                         ::testing::Values(Fall{"tisch-0001.xml", 0}, Fall{"tisch-0001.xml", 1},
                                           Fall{"tisch-0002.xml", 0}, Fall{"tisch-0002.xml", 1},
                                           Fall{"tisch-0003.xml", 0}, Fall{"tisch-0003.xml", 1},
                                           Fall{"tisch-0004.xml", 0}, Fall{"tisch-0004.xml", 1},
                                           Fall{"mitte.xml", 0}, Fall{"mitte.xml", 1},
                                           Fall{"gestell.xml", 0}, Fall{"gestell.xml", 1},
                                           Fall{"versteckt.xml", 0}, Fall{"versteckt.xml", 1},
                                           Fall{"sicherheit.xml", 0}, Fall{"sicherheit.xml", 1}),
                         [](const ::testing::TestParamInfo<Fall>& i) {
                             std::string name = i.param.dokument;
                             name = name.substr(0, name.find('.'));
                             std::erase(name, '-');
                             return name + "_modus" + std::to_string(i.param.modus);
                         });

}  // namespace
