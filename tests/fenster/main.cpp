// Eine QApplication für alle Fenstertests, auf der Offscreen-Plattform.
//
// Mit --kind WIE [--port P --bport B] [--netz] ist das Programm selbst der
// Kindprozess der Tests des Beendens: es öffnet das Hauptfenster wie
// stosswerk, schaltet auf Wunsch das Netz ein und beendet sich dann über
// Escape, das Schließfeld oder den Menüpunkt. Kommt es danach zurück, ist das
// ein Fehler (Rückgabe 3).
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <cstring>
#include <string>

#include "anzeige/anzeige.h"
#include "fenster/dialoglayout.h"
#include "fenster/fensteranzeige.h"
#include "fenster/hauptfenster.h"
#include "model/tisch.h"
#include "spieler/spielerkontext.h"

namespace {

int Kind(int argc, char** argv) {
    std::string wie;
    int port = 0, bport = 0;
    bool netz = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--kind" && i + 1 < argc) wie = argv[++i];
        if (a == "--port" && i + 1 < argc) port = std::stoi(argv[++i]);
        if (a == "--bport" && i + 1 < argc) bport = std::stoi(argv[++i]);
        if (a == "--netz") netz = true;
    }
    int eins = 1;
    QApplication anwendung(eins, argv);
    static auto* spieler = new Spielerkontext;  // bis zum Prozessende, erreichbar
    HauptDialog* fenster = ErzeugeHauptfenster(*spieler, BestimmePfade());
    Spielerkontext& k = fenster->Spieler();
    if (port) k.netz.port = k.sender.netz.port = port;
    if (bport) k.netz.bport = k.sender.netz.bport = bport;
    if (netz) QTest::mouseClick(fenster->Element(BefehlNetzwerk), Qt::LeftButton);

    QTimer::singleShot(0, [&] {
        if (wie == "escape") {
            // An das Element mit dem Fokus, wie eine Taste: der Dialog bekommt sie weitergereicht.
            fenster->activateWindow();
            QWidget* ziel = QApplication::focusWidget() ? QApplication::focusWidget() : fenster;
            QTest::keyClick(ziel, Qt::Key_Escape);
        } else if (wie == "schliessen") {
            fenster->windowHandle()->close();  // wie das Schließfeld oder Alt+F4
        } else if (wie == "menue") {
            fenster->Menuepunkt(BefehlBeenden)->trigger();
        }
        QCoreApplication::exit(3);
    });
    QApplication::exec();
    return 3;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");  // nie ein echtes Fenster
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--kind") == 0) return Kind(argc, argv);

    QApplication anwendung(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
