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
#include "lernen/spieler_lernt.h"

namespace {

constexpr const char* kOhneBildschirm =
    "stosswerk: Kein Bildschirm gefunden (weder DISPLAY noch WAYLAND_DISPLAY gesetzt). "
    "Ohne Fenster starten mit --ohne-fenster.\n";

bool Gesetzt(const char* name) {
    const char* wert = std::getenv(name);
    return wert && *wert;
}

QtMessageHandler vorigeAusgabe = nullptr;

// Scheitert die Plattform (kein X-Server, kein Plugin), bricht Qt mit qFatal
// ab; das wird hier zur Meldung und Rückgabe 1.
void AusgabeBeimStart(QtMsgType art, const QMessageLogContext& ort, const QString& text) {
    if (art == QtFatalMsg) {
        std::fprintf(stderr,
                     "stosswerk: Das Fenster kann nicht geöffnet werden (%s). "
                     "Ohne Fenster starten mit --ohne-fenster.\n",
                     text.toLocal8Bit().constData());
        std::fflush(stderr);
        std::_Exit(1);
    }
    if (vorigeAusgabe)
        vorigeAusgabe(art, ort, text);
    else
        std::fprintf(stderr, "%s\n", qFormatLogMessage(art, ort, text).toLocal8Bit().constData());
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

}  // namespace

int FensterProgramm(char* programmname, const Fensteroptionen& optionen) {
    if (!optionen.bildschirmfoto.empty()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    } else if (!Gesetzt("DISPLAY") && !Gesetzt("WAYLAND_DISPLAY") && !Gesetzt("QT_QPA_PLATFORM")) {
        std::fputs(kOhneBildschirm, stderr);
        return 1;
    }
    vorigeAusgabe = qInstallMessageHandler(AusgabeBeimStart);
    static int argc = 1;
    static char* argv[] = {programmname, nullptr};
    [[maybe_unused]] static QApplication* anwendung = new QApplication(argc, argv);  // lebt bis zum Prozessende
    qInstallMessageHandler(vorigeAusgabe);

    InstalliereAnzeige(FensterAnzeige());
    HauptDialog* fenster = ErzeugeHauptfenster();
    LadeGelerntenTisch();  // mit [planer] lernen=1: planen und zeigen in der gelernten Welt
    if (!optionen.bildschirmfoto.empty()) {
        const int ergebnis = Bildschirmfoto(*fenster, optionen);
        std::fflush(stdout);
        std::_Exit(ergebnis);  // wie Befehl 2: nichts abbauen
    }
    return QApplication::exec();
}
