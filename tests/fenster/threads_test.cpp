// Die Anzeige aus anderen Threads: jeder Aufruf läuft im Fenster-Thread, der
// Aufrufer wartet, bis er getan ist; nur auf Meldungen wartet er nicht.
#include <QMessageBox>
#include <QTimer>
#include <atomic>
#include <thread>

#include "fenster_hilfen.h"

using Threads = Fenster;

TEST_F(Threads, EineAnfrageAusDemServerThread) {
    Klicke(BefehlStart);
    Spielstand empfangen = Stand();
    empfangen.kugeln[0].x = 30.0f;
    empfangen.kugeln[4].inloch = 1;
    empfangen.gruppe = 7;  // aus dem Netz kann jede Zahl kommen
    std::atomic<bool> fertig = false;
    // Die Reihenfolge einer Anfrage: übernehmen, zeigen, den Stoß zeichnen.
    std::thread anfrage([&] {
        LoescheLog(FensterAnzeigeDesSpielers());
        SchreibeLog(FensterAnzeigeDesSpielers(), "Verbindung zu %s, Port %d \r\n", "127.0.0.1", 4711);
        FensterAnzeigeDesSpielers().kugelnUebernommen(empfangen);
        ZeigeKugeln(FensterAnzeigeDesSpielers(), empfangen);
        FensterAnzeigeDesSpielers().linieZeichnen({1, 2, 3, 4, kBlau});
        ZeigeVektor(FensterAnzeigeDesSpielers(), {3, 4, 0});
        fertig = true;
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return fertig.load(); }, 30000));
    anfrage.join();
    EXPECT_EQ(Log(), "Verbindung zu 127.0.0.1, Port 4711 \n");
    EXPECT_EQ(Feld(FeldGruppe), "7");
    EXPECT_EQ(Feld(FeldKugeln), Q(KugelnText(empfangen)));
    EXPECT_EQ(Feld(FeldBetrag), "5.000");
    // Die Übernahme hat die alten Linien gelöscht; die neue bleibt sichtbar.
    ASSERT_EQ(Ansicht()->Linien().size(), 1u);
    EXPECT_EQ(Ansicht()->Linien()[0].farbe, kBlau);
    EXPECT_EQ(Stand().kugeln[0].x, 30.0f);
    EXPECT_EQ(Stand().kugeln[4].inloch, 1);
    EXPECT_EQ(Stand().gruppe, halbe);  // die empfangene Gruppe bleibt draußen
}

TEST_F(Threads, MeldungAusAnderemThreadWartetNicht) {
    // Mehr Meldungen, als offen sein dürfen, und niemand schließt eine: der
    // Thread kehrt trotzdem von jeder zurück.
    constexpr int kMeldungen = kOffeneMeldungen + 2;
    const QString zeile = "Netzwerkfehler|Fehlerhafte XML-Datei empfangen.|0|1|1";
    auto melde = [](int n) {
        std::atomic<bool> zurueck = false;
        std::thread melder([&] {
            for (int i = 0; i < n; ++i) ZeigeMeldung(FensterAnzeigeDesSpielers(), "Netzwerkfehler", "Fehlerhafte XML-Datei empfangen.", Symbol::Keins);
            zurueck = true;
        });
        // Die Ereignisschleife muss laufen: die Zeilen ins Log warten auf den Fenster-Thread.
        EXPECT_TRUE(QTest::qWaitFor([&] { return zurueck.load(); }, 30000));
        melder.join();
    };
    melde(kMeldungen);
    ASSERT_TRUE(QTest::qWaitFor([] { return OffeneMeldungen().size() == kOffeneMeldungen; }, 30000));
    EXPECT_EQ(OffeneMeldungen(), QStringList(kOffeneMeldungen, zeile));
    // Die übrigen stehen nur im Log.
    EXPECT_EQ(Log().count("Netzwerkfehler: Fehlerhafte XML-Datei empfangen.\n"), kMeldungen - kOffeneMeldungen);

    // Ist eine geschlossen, erscheint die nächste wieder als Meldung.
    SchliesseEine();
    ASSERT_TRUE(QTest::qWaitFor([] { return OffeneMeldungen().size() == kOffeneMeldungen - 1; }, 30000));
    melde(1);
    ASSERT_TRUE(QTest::qWaitFor([] { return OffeneMeldungen().size() == kOffeneMeldungen; }, 30000));
    EXPECT_EQ(Log().count("Netzwerkfehler: "), kMeldungen - kOffeneMeldungen);
    SchliesseAlleMeldungen();
}

TEST_F(Threads, MeldungImFensterThreadWartetBisSieGeschlossenIst) {
    // Schließt jede offene Meldung und hält fest, was sie zeigte. Läuft in der
    // Schleife der Meldung selbst.
    QStringList gesehen;
    QTimer schliesser;
    QObject::connect(&schliesser, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        gesehen << box->windowTitle() + "|" + box->text() + "|" + QString::number(box->icon());
        box->button(QMessageBox::Ok)->click();
    });
    schliesser.start(10);
    ZeigeMeldung(FensterAnzeigeDesSpielers(), "StartTCPServer()", "Fehler beim Erstellen des TCP-Sockets", Symbol::Fehler);
    // Gezeigt und geschlossen, bevor der Aufruf zurückkam.
    EXPECT_EQ(gesehen, QStringList{QString("StartTCPServer()|Fehler beim Erstellen des TCP-Sockets|%1")
                                       .arg(QMessageBox::Critical)});
}
