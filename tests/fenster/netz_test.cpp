// Das Fenster mit eingeschaltetem Netz. Nur im privaten Netz-Namensraum
// (Label netz): Ein- und Ausschalten senden den Status an 255.255.255.255.
#include <QEventLoop>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <sys/resource.h>

#include <atomic>
#include <fstream>
#include <memory>
#include <optional>
#include <thread>

#include "../netz/netz_hilfen.h"
#include "fenster_hilfen.h"
#include "model/konfiguration.h"
#include "net/xml_lesen.h"

namespace {

using namespace std::chrono_literals;

// Ein UDP-Socket auf 0.0.0.0:port für die Status-Broadcasts.
struct Statusempfang {
    int fd = -1;
    int port = 0;
    Statusempfang() {
        fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_ANY);
        ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
        socklen_t l = sizeof a;
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &l);
        port = ntohs(a.sin_port);
    }
    ~Statusempfang() { ::close(fd); }
    // Das nächste Datagramm; wartet höchstens grenze (0: nur was schon da ist).
    std::optional<std::string> Naechstes(std::chrono::milliseconds grenze = 20s) const {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(grenze.count())) != 1) return std::nullopt;
        char puffer[2048];
        const ssize_t n = ::recv(fd, puffer, sizeof puffer, 0);
        if (n < 0) return std::nullopt;
        return std::string(puffer, static_cast<std::size_t>(n));
    }
};

bool Laeuft(const std::optional<std::string>& status, bool an) {
    return status && status->find(an ? "<running>true</running>" : "<running>false</running>") != std::string::npos;
}

}  // namespace

class NetzFenster : public Fenster {
protected:
    Statusempfang status;
    void SetUp() override {
        Fenster::SetUp();
        SetzePorts(FreierPort(), status.port);
    }
    bool WarteAufLog(const QString& teil) const {
        return QTest::qWaitFor([&] { return Log().contains(teil); }, 60000);
    }
    // Der Server wartet wieder auf die nächste Verbindung.
    bool WarteBereit() const {
        return QTest::qWaitFor([&] { return Log().endsWith("Warte auf Anfrage vom Client...\n"); }, 60000);
    }
};

TEST_F(NetzFenster, EinschaltenEinenTischBedienenAusschalten) {
    QTemporaryDir dir;
    const std::string dokument = Anfrage(9, 1);
    const QString datei = dir.filePath("Spieler().tisch.tisch.xml");
    std::ofstream(datei.toStdString()) << dokument;
    Spielstand empfangen{};
    ASSERT_TRUE(LeseSpielstandXML(Spieler().tisch, dokument, empfangen));
    const Plan plan = StosswerkPlan({datei.toStdString()});
    const Stoss bester = SucheStill(empfangen).bester;  // bevor der Server die Anzeige benutzt

    SchreibeLog(FensterAnzeigeDesSpielers(), "vorher\r\n");
    Klicke(BefehlNetzwerk);
    EXPECT_TRUE(NetzwerkAn);
    EXPECT_TRUE(Knopf(BefehlNetzwerk)->isChecked());
    EXPECT_TRUE(Laeuft(status.Naechstes(), true));
    ASSERT_TRUE(WarteBereit());
    EXPECT_TRUE(Log().startsWith("Server gestartet...   (IP: ")) << Log().toStdString();  // das Log war geleert
    EXPECT_TRUE(Log().contains(QString(" Port: %1) \n").arg(Spieler().netz.port)));

    Kind spieltisch({Bin("spieltisch"), "--spieler", "127.0.0.1:" + std::to_string(Spieler().netz.port), "--antwort-port", "0",
                     "--zeitlimit", "60000", datei.toStdString()});
    // Der Fenster-Thread muss dabei Ereignisse annehmen: der Server schreibt ins Fenster.
    ASSERT_TRUE(QTest::qWaitFor([&] { return spieltisch.WarteAufAusgabe("beantwortet=", std::chrono::milliseconds(0)); },
                                120000));
    EXPECT_EQ(spieltisch.Warte(), 0);
    const QString ausgabe = Q(spieltisch.ausgabe);
    EXPECT_TRUE(ausgabe.contains("beantwortet=1 fehlend=0 fehlerhaft=0")) << ausgabe.toStdString();
    ASSERT_TRUE(WarteBereit());

    // Die Felder zeigen die empfangenen Kugeln und ihre Gruppe, dazu den Stoß.
    EXPECT_EQ(Feld(FeldKugeln), Q(KugelnText(empfangen)));
    EXPECT_EQ(Feld(FeldGruppe), Q(GruppenText(empfangen.gruppe)));
    EXPECT_EQ(Feld(FeldZieltasche), Q(ZieltaschenText(empfangen)));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(Feld(FeldX + i), plan.felder[i]);
    // Das Log: Verbindung, Empfang, die sieben Zeilen, wieder warten.
    const QString log = Log();
    EXPECT_TRUE(log.startsWith("Verbindung zu 127.0.0.1, Port ")) << log.toStdString();
    EXPECT_TRUE(log.contains(" \nWarte auf Daten vom Client...\nEmpfange Daten... ("));
    EXPECT_TRUE(log.endsWith("Verbindung anständig geschlossen...\n" + plan.log + "Warte auf Anfrage vom Client...\n"))
        << log.toStdString();
    // Der Spielstand des Fensters hat die Lagen, aber nicht die Gruppe übernommen;
    // der Stoß der Anfrage bleibt sichtbar.
    const Spielstand s = Stand();
    for (int i = 0; i < kAnzahlKugeln; ++i) {
        EXPECT_EQ(s.kugeln[i].x, empfangen.kugeln[i].x);
        EXPECT_EQ(s.kugeln[i].y, empfangen.kugeln[i].y);
    }
    EXPECT_EQ(s.gruppe, halbe);
    ErwarteLinien(bester, 1);

    Klicke(BefehlNetzwerk);
    EXPECT_FALSE(NetzwerkAn);
    EXPECT_FALSE(Knopf(BefehlNetzwerk)->isChecked());
    EXPECT_TRUE(Laeuft(status.Naechstes(), false));
    EXPECT_TRUE(WarteAufLog("Server wurde gestoppt!\n"));
    EXPECT_TRUE(QTest::qWaitFor([] { return WarteAufServerende(Spieler().server, 0ms); }, 30000));

    // "Start" plant danach auf den empfangenen Kugeln mit der Gruppe des Menüs
    // (über den stehenden Linien; die Prüfung will nur die neuen sehen).
    Ansicht()->NeuZeichnenMitLoeschen();
    Klicke(BefehlStart);
    Spielstand mitMenue = empfangen;
    mitMenue.gruppe = halbe;
    ErwarteSuche(mitMenue);
    EXPECT_EQ(Feld(FeldGruppe), "halb");
}

TEST_F(NetzFenster, BelegterPortSchaltetWiederAusOhneRunning) {
    auto belegt = std::make_unique<Lauscher>();  // auf 127.0.0.1: 0.0.0.0 am selben Port scheitert
    SetzePorts(belegt->port, Spieler().netz.bport);
    // Schließt die Meldung, sobald sie offen ist, und hält fest, was sie zeigte.
    QStringList gesehen;
    QTimer schliesser;
    QObject::connect(&schliesser, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        gesehen << box->windowTitle() + "|" + box->text();
        box->button(QMessageBox::Ok)->click();
    });
    schliesser.start(10);
    SchreibeLog(FensterAnzeigeDesSpielers(), "vorher\r\n");
    Klicke(BefehlNetzwerk);
    schliesser.stop();
    EXPECT_EQ(gesehen, QStringList{"StartTCPServer()|Fehler: 'bind' gescheitert! Der Server konnte nicht an den Port "
                                   "gebunden werden!"});
    EXPECT_FALSE(NetzwerkAn);
    EXPECT_FALSE(Knopf(BefehlNetzwerk)->isChecked());
    EXPECT_EQ(Log(), QString("Port %1 nicht nutzbar (Errorcode: %2), Netzwerk bleibt aus.\n")
                         .arg(Spieler().netz.port)
                         .arg(EADDRINUSE));
    EXPECT_FALSE(status.Naechstes(200ms).has_value());

    // Der nächste Klick schaltet ein, nicht aus.
    belegt.reset();
    Klicke(BefehlNetzwerk);
    EXPECT_TRUE(NetzwerkAn);
    EXPECT_TRUE(Knopf(BefehlNetzwerk)->isChecked());
    EXPECT_TRUE(Laeuft(status.Naechstes(), true));
    EXPECT_TRUE(WarteBereit());
}

TEST_F(NetzFenster, BeendenMitNetzSchaltetErstAus) {
    const std::string ich = QCoreApplication::applicationFilePath().toStdString();
    const std::string port = std::to_string(FreierPort()), bport = std::to_string(status.port);
    for (const char* wie : {"escape", "schliessen"}) {
        const Ergebnis e = MitFehlern({ich, "--kind", wie, "--netz", "--port", port, "--bport", bport});
        EXPECT_EQ(e.rueckgabe, 0) << wie << ": " << e.ausgabe;
        EXPECT_TRUE(Laeuft(status.Naechstes(), true)) << wie;
        EXPECT_TRUE(Laeuft(status.Naechstes(), false)) << wie;
    }
    // Mit ausgeschaltetem Netz geht beim Beenden nichts hinaus.
    EXPECT_EQ(MitFehlern({ich, "--kind", "escape", "--port", port, "--bport", bport}).rueckgabe, 0);
    EXPECT_FALSE(status.Naechstes(0ms).has_value());
}

TEST_F(NetzFenster, MeldungenHaltenDenServerNichtAuf) {
    Klicke(BefehlNetzwerk);
    ASSERT_TRUE(WarteBereit());
    // Mehr fehlerhafte Anfragen, als Meldungen offen sein dürfen, und niemand
    // schließt eine: die gute danach wird trotzdem beantwortet.
    for (int i = 0; i < kOffeneMeldungen + 2; ++i) ASSERT_TRUE(SendeDokument(Spieler().netz.port, "kaputt"));
    Lauscher antwort;
    ASSERT_TRUE(SendeDokument(Spieler().netz.port, Anfrage(antwort.port, 51)));
    std::optional<std::string> text;
    std::atomic<bool> fertig = false;
    std::thread annahme([&] {
        text = antwort.Empfange(60s);
        fertig = true;
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return fertig.load(); }, 90000));
    annahme.join();
    ASSERT_TRUE(text.has_value()) << "keine Antwort, solange Meldungen offen sind";
    EXPECT_NE(text->find("cmdid=\"51\""), std::string::npos) << *text;
    ASSERT_TRUE(WarteBereit());
    EXPECT_EQ(OffeneMeldungen(),
              QStringList(kOffeneMeldungen, "Netzwerkfehler|Fehlerhafte XML-Datei empfangen.|0|1|1"));
    SchliesseAlleMeldungen();
}

TEST_F(NetzFenster, UnerwartetesServerendeSchaltetAus) {
    // poll scheitert (EINVAL), sobald er mehr Sockets beobachten soll, als
    // offene Dateien erlaubt sind. Platzhalter halten ein paar kleine Nummern
    // frei; unter der engen Grenze geschlossen, reichen sie für den Status
    // (und für die Sanitizer, die selbst Dateien brauchen).
    std::vector<int> platzhalter;
    for (int i = 0; i < 8; ++i) platzhalter.push_back(::dup(0));
    Klicke(BefehlNetzwerk);
    EXPECT_TRUE(Laeuft(status.Naechstes(), true));
    ASSERT_TRUE(WarteBereit());
    const rlim_t grenze = static_cast<rlim_t>(platzhalter.back()) + 4;
    std::vector<int> gaeste;
    for (rlim_t i = 0; i < grenze; ++i) gaeste.push_back(Verbinde(Spieler().netz.port));
    sockaddr_in letzter{};
    socklen_t l = sizeof letzter;
    ::getsockname(gaeste.back(), reinterpret_cast<sockaddr*>(&letzter), &l);
    ASSERT_TRUE(WarteAufLog(QString("Verbindung zu 127.0.0.1, Port %1 \n").arg(ntohs(letzter.sin_port))));
    rlimit vorher{};
    ::getrlimit(RLIMIT_NOFILE, &vorher);
    const rlimit eng{grenze, vorher.rlim_max};
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &eng), 0);
    for (int p : platzhalter) ::close(p);
    ASSERT_TRUE(SendeAlles(gaeste[0], "<"));  // weckt den poll
    const bool aus = QTest::qWaitFor([] { return !NetzwerkAn; }, 30000);
    const auto status_aus = status.Naechstes();
    EXPECT_TRUE(QTest::qWaitFor([] { return WarteAufServerende(Spieler().server, 0ms); }, 30000));
    ::setrlimit(RLIMIT_NOFILE, &vorher);
    for (int g : gaeste) ::close(g);

    EXPECT_TRUE(aus);
    EXPECT_FALSE(Knopf(BefehlNetzwerk)->isChecked());
    EXPECT_TRUE(Laeuft(status_aus, false));
    EXPECT_TRUE(Log().contains(QString("SOCKET_ERROR! (Errorcode: %1) Server fährt runter...\n").arg(EINVAL)))
        << Log().toStdString();
    EXPECT_TRUE(Log().endsWith("Server unerwartet beendet, Netzwerk ausgeschaltet.\n")) << Log().toStdString();

    // Der nächste Klick schaltet wieder ein.
    Klicke(BefehlNetzwerk);
    EXPECT_TRUE(NetzwerkAn);
    EXPECT_TRUE(Laeuft(status.Naechstes(), true));
    EXPECT_TRUE(WarteBereit());
}

// Für den Thread-Sanitizer: "Start" im Fenster-Thread, während der Server
// Anfragen plant und ins Fenster schreibt, mit Laufwegen: beide simulieren.
class NetzNebenlaeufig : public NetzFenster {
protected:
    // Zwölf Anfragen an den Server, während ein Zeitgeber immer wieder "Start" klickt.
    void StartUndAnfragenUeberlappen() {
        constexpr int kAnfragen = 12;
        Menue(BefehlLaufwege);
        Klicke(BefehlNetzwerk);
        ASSERT_TRUE(WarteBereit());

        Lauscher antwort;
        std::atomic<int> gesendet = 0, beantwortet = 0;
        std::thread spieler([&] {
            for (int i = 0; i < kAnfragen; ++i)
                if (SendeDokument(Spieler().netz.port, Anfrage(antwort.port, 100 + i))) ++gesendet;
        });
        std::thread annahme([&] {
            for (int i = 0; i < kAnfragen; ++i)
                if (antwort.Empfange(60s)) ++beantwortet;
        });
        // Die Ereignisschleife nimmt die Aufrufe des Servers ins Fenster an;
        // dazwischen klickt ein Zeitgeber immer wieder "Start".
        int starts = 0;
        QEventLoop schleife;
        QTimer klicker, pruefer;
        QObject::connect(&klicker, &QTimer::timeout, [&] {
            Klicke(BefehlStart);
            ++starts;
        });
        QObject::connect(&pruefer, &QTimer::timeout, [&] {
            if (beantwortet == kAnfragen) schleife.quit();
        });
        klicker.start(20);
        pruefer.start(50);
        QTimer::singleShot(300s, &schleife, &QEventLoop::quit);
        schleife.exec();
        klicker.stop();
        spieler.join();
        annahme.join();
        EXPECT_EQ(gesendet, kAnfragen);
        EXPECT_EQ(beantwortet, kAnfragen);
        EXPECT_GE(starts, 2);
    }
};

TEST_F(NetzNebenlaeufig, StartUndAnfragenUeberlappen) {
    StartUndAnfragenUeberlappen();
    // Alle Antworten sind gesendet; "Start" hat zuletzt das Log geleert.
    Klicke(BefehlNetzwerk);
    ASSERT_TRUE(QTest::qWaitFor([] { return WarteAufServerende(Spieler().server, 0ms); }, 30000));
    // Nach allem plant "Start" noch genau wie sonst.
    Ansicht()->NeuZeichnenMitLoeschen();
    Klicke(BefehlStart);
    ErwarteSuche(Stand());
}

TEST_F(NetzNebenlaeufig, RobustePlanerUeberlappen) {
    // Dasselbe mit der robusten Wahl: zwei robuste Suchen zugleich teilen nichts.
    QTemporaryDir dir;
    const std::string config = dir.filePath("config.ini").toStdString();
    std::ofstream(config) << "[planer]\nmodus=1\nproben=8\nkandidaten=3\n";
    // Die Einstellungen liest der Spieler bei jeder Anfrage neu.
    Spieler().pfade.konfiguration = config;
    StartUndAnfragenUeberlappen();
    Klicke(BefehlNetzwerk);
    ASSERT_TRUE(QTest::qWaitFor([] { return WarteAufServerende(Spieler().server, 0ms); }, 30000));
}
