// Die Anzeige aus anderen Threads: jeder Aufruf läuft im Fenster-Thread, der
// Aufrufer wartet, bis er getan ist; Meldungen warten, bis sie geschlossen sind.
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
        LoescheLog();
        SchreibeLog("Verbindung zu %s, Port %d \r\n", "127.0.0.1", 4711);
        UebernehmeKugeln(empfangen);
        ZeigeKugeln(empfangen);
        ZeichneLinie(1, 2, 3, 4, kBlau);
        ZeigeVektor({3, 4, 0});
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

TEST_F(Threads, MeldungWartetBisSieGeschlossenIst) {
    // Schließt jede offene Meldung und hält fest, was sie zeigte. Läuft im
    // Fenster-Thread, auch in der Schleife der Meldung selbst.
    std::atomic<bool> zurueck = false;
    QStringList gesehen;
    QTimer schliesser;
    QObject::connect(&schliesser, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        gesehen << QString("%1|%2|%3|%4|%5")
                       .arg(box->windowTitle(), box->text())
                       .arg(box->icon())
                       .arg(box->parentWidget() == nullptr)
                       .arg(zurueck.load());
        box->button(QMessageBox::Ok)->click();
    });
    schliesser.start(10);

    std::thread melder([&] {
        ZeigeMeldung("Netzwerkfehler", "Fehlerhafte XML-Datei empfangen.", Symbol::Keins);
        zurueck = true;
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return zurueck.load(); }, 30000));
    melder.join();
    // Ohne Symbol und Eltern, und der Aufrufer wartete, solange sie offen war.
    EXPECT_EQ(gesehen, QStringList{"Netzwerkfehler|Fehlerhafte XML-Datei empfangen.|0|1|0"});

    // Im Fenster-Thread selbst gleich gezeigt, mit Fehlersymbol.
    ZeigeMeldung("StartTCPServer()", "Fehler beim Erstellen des TCP-Sockets", Symbol::Fehler);
    ASSERT_EQ(gesehen.size(), 2);
    EXPECT_TRUE(gesehen[1].startsWith(QString("StartTCPServer()|Fehler beim Erstellen des TCP-Sockets|%1|")
                                          .arg(QMessageBox::Critical)));
}
