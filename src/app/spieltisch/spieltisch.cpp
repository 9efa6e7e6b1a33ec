// spieltisch: ein Ersatz für den Spielserver. Schickt Tischstände an den
// Spieler, nimmt seine Ergebnisse an und prüft sie.
#include <QGuiApplication>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <iostream>
#include <string>
#include <vector>

#include "ablauf.h"
#include "fehlerbild.h"
#include "lernkurve.h"
#include "lernkurvenbild.h"
#include "siegkurve.h"
#include "optionen.h"
#include "partienablauf.h"
#include "spielablauf.h"
#include "vergleich.h"
#include "vergleichsbild.h"
#include "zusammenfassen.h"
#include "stosswerk_version.h"

namespace {

// Qt bricht mit qFatal ab, wenn die gewählte Plattform nicht geht: dann eine
// Meldung statt eines Absturzes. Warnungen gehören nicht in den Bericht.
void QtAusgabe(QtMsgType art, const QMessageLogContext&, const QString& text) {
    if (art != QtFatalMsg) return;
    std::fprintf(stderr, "spieltisch: Bilder können nicht gezeichnet werden (%s).\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
    std::_Exit(kFalscherAufruf);
}

}  // namespace

int main(int argc, char** argv) {
    // Ein Spieler, der die Verbindung früh schließt, darf den Lauf nicht beenden.
    std::signal(SIGPIPE, SIG_IGN);

    std::string fehler;
    const std::optional<Optionen> optionen = LeseOptionen(std::vector<std::string>(argv + 1, argv + argc), fehler);
    if (!optionen) {
        std::cerr << "spieltisch: " << fehler << "\n(Hilfe mit --help)\n";
        return kFalscherAufruf;
    }
    if (optionen->hilfe) {
        std::cout << kHilfetext;
        return 0;
    }
    if (optionen->version) {
        std::cout << "spieltisch " << kStosswerkVersion << "\n";
        return 0;
    }
    // Bilder malt Qt ohne Bildschirm; die Anwendung braucht es für die Schrift.
    std::unique_ptr<QGuiApplication> qt;
    if (!optionen->bild.empty() || !optionen->bilderVerzeichnis.empty()) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);  // ohne Bildschirm; eine gesetzte Wahl gilt
        qInstallMessageHandler(QtAusgabe);
        qt = std::make_unique<QGuiApplication>(argc, argv);
    }
    if (optionen->zusammenfassen) return FasseZusammen(*optionen, std::cout, std::cerr);
    if (optionen->vergleich) return Vergleiche(*optionen, std::cout, std::cerr, MaleVergleich);
    if (optionen->lernkurve) return ZeichneLernkurve(*optionen, std::cout, std::cerr, MaleLernkurve);
    if (optionen->partien > 0 && optionen->rauschreihe)
        return SpieleRauschreihe(*optionen, std::cout, std::cerr, MaleSiegkurve);
    if (optionen->partien > 0)
        return SpielePartienAus(*optionen, std::cout, std::cerr,
                                optionen->bilderVerzeichnis.empty() ? Partiebildmaler{}
                                                                    : PartiebildMaler(optionen->bilderVerzeichnis));
    if (optionen->spielen)
        return SpieleAufnahmen(*optionen, std::cout, std::cerr,
                               optionen->bilderVerzeichnis.empty() ? Bildmaler{} : FehlerbildMaler(optionen->bilderVerzeichnis));
    return FuehreAus(*optionen, std::cout, std::cerr);
}
