#include "fenster/programm.h"

#include <QApplication>
#include <QPixmap>
#include <cstdio>
#include <cstdlib>

#include "anzeige/anzeige.h"
#include "fenster/befehle.h"
#include "fenster/dialoglayout.h"
#include "fenster/fensteranzeige.h"
#include "fenster/hauptfenster.h"
#include "fenster/qtstart.h"
#include "spieler/spielerkontext.h"

namespace {

constexpr const char* kOhneBildschirm =
    "stosswerk: Kein Bildschirm gefunden (weder DISPLAY noch WAYLAND_DISPLAY gesetzt). "
    "Ohne Fenster starten mit --ohne-fenster.\n";

bool Gesetzt(const char* name) {
    const char* wert = std::getenv(name);
    return wert && *wert;
}

int Bildschirmfoto(HauptDialog& fenster, const Fensteroptionen& o) {
    if (o.gruppe >= 0) FuehreBefehlAus(BefehlHalbe + o.gruppe);
    FuehreBefehlAus(BefehlStart);
    // Stärkste Kompression: das Bild soll klein ins Repository passen.
    if (!fenster.grab().save(QString::fromLocal8Bit(o.bildschirmfoto.c_str()), "PNG", 0)) {
        std::fprintf(stderr, "stosswerk: Das Bild \"%s\" kann nicht gespeichert werden.\n", o.bildschirmfoto.c_str());
        return 1;
    }
    return 0;
}

QGuiApplication* NeueAnwendung(int& argc, char** argv) { return new QApplication(argc, argv); }

}  // namespace

int FensterProgramm(const Pfade& pfade, const Fensteroptionen& optionen) {
    const bool bild = !optionen.bildschirmfoto.empty();
    if (!bild && !Gesetzt("DISPLAY") && !Gesetzt("WAYLAND_DISPLAY") && !Gesetzt("QT_QPA_PLATFORM")) {
        std::fputs(kOhneBildschirm, stderr);
        return 1;
    }
    if (bild) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Scheitert die Plattform (kein X-Server, kein Plugin), bricht Qt mit
    // qFatal ab; das wird eine Meldung und Rückgabe 1.
    // Lebt bis zum Prozessende, wie das Fenster (kein Abbau nach exec).
    [[maybe_unused]] static QGuiApplication* anwendung =
        StarteQt({"stosswerk", "Das Fenster kann nicht geöffnet werden (%s). Ohne Fenster starten mit --ohne-fenster.",
                  1, false, true},
                 NeueAnwendung)
            .release();

    static Spielerkontext spieler;  // lebt bis zum Prozessende, wie die Threads, die ihn benutzen
    HauptDialog* fenster = ErzeugeHauptfenster(spieler, pfade);
    if (bild) {
        const int ergebnis = Bildschirmfoto(*fenster, optionen);
        std::fflush(stdout);
        std::_Exit(ergebnis);  // wie Befehl 2: nichts abbauen
    }
    return QApplication::exec();
}
