// spieltisch: ein Ersatz für den Spielserver. Schickt Tischstände an den
// Spieler, nimmt seine Ergebnisse an und prüft sie.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "abbruch.h"
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
#include "fenster/qtstart.h"
#include "stosswerk_version.h"

int main(int argc, char** argv) {
    // Ein Spieler, der die Verbindung früh schließt, darf den Lauf nicht beenden.
    std::signal(SIGPIPE, SIG_IGN);

    // Ein Bericht, der nicht hinausgeht (volle Platte, /dev/full), ist kein Erfolg.
    const auto schliesse = [](int r) {
        std::cout.flush();
        return SchliesseAusgabe("spieltisch", kGut) == kGut && std::cout ? r : kFalscherAufruf;
    };
    std::string fehler;
    const std::optional<Optionen> optionen = LeseOptionen(std::vector<std::string>(argv + 1, argv + argc), fehler);
    if (!optionen) {
        std::cerr << "spieltisch: " << fehler << "\n(Hilfe mit --help)\n";
        return kFalscherAufruf;
    }
    if (optionen->hilfe) {
        std::cout << kHilfetext;
        return schliesse(kGut);
    }
    if (optionen->version) {
        std::cout << "spieltisch " << kStosswerkVersion << "\n";
        return schliesse(kGut);
    }
    // Bilder malt Qt ohne Bildschirm; die Anwendung braucht es für die Schrift.
    std::unique_ptr<QGuiApplication> qt;
    if (!optionen->bild.empty() || !optionen->bilderVerzeichnis.empty())
        qt = StarteQt({.programm = "spieltisch",
                  .fehlerformat = "Bilder können nicht gezeichnet werden (%s).",
                  .rueckgabe = kFalscherAufruf,
                  .ohneBildschirm = true,
                  .warnungen = false});
    // Nur die langen Läufe mit Bericht über das Fertige halten auf Strg+C an;
    // alle anderen endet das Signal wie gewohnt.
    if (!optionen->vergleich && !optionen->lernkurve && !optionen->zusammenfassen &&
        (optionen->spielen || (optionen->partien > 0 && !optionen->rauschreihe)))
        FangeAbbruchAb();
    const auto bildfehler = std::make_shared<Bildfehler>();
    // Ein Bericht, der nicht hinausgeht, ist kein Erfolg.
    int r;
    if (optionen->zusammenfassen)
        r = FasseZusammen(*optionen, std::cout, std::cerr);
    else if (optionen->vergleich)
        r = Vergleiche(*optionen, std::cout, std::cerr, MaleVergleich);
    else if (optionen->lernkurve)
        r = ZeichneLernkurve(*optionen, std::cout, std::cerr, MaleLernkurve);
    else if (optionen->partien > 0 && optionen->rauschreihe)
        r = SpieleRauschreihe(*optionen, std::cout, std::cerr, MaleSiegkurve);
    else if (optionen->partien > 0)
        r = SpielePartienAus(*optionen, std::cout, std::cerr,
                             optionen->bilderVerzeichnis.empty()
                                 ? Partiebildmaler{}
                                 : PartiebildMaler(optionen->bilderVerzeichnis, bildfehler));
    else if (optionen->spielen)
        r = SpieleAufnahmen(*optionen, std::cout, std::cerr,
                            optionen->bilderVerzeichnis.empty()
                                ? Bildmaler{}
                                : FehlerbildMaler(optionen->bilderVerzeichnis, bildfehler));
    else
        r = FuehreAus(*optionen, std::cout, std::cerr);
    if (!bildfehler->pfad.empty()) {
        std::cerr << "spieltisch: Bild " << bildfehler->pfad << " kann nicht geschrieben werden.\n";
        if (r == kAllesBeantwortet || r == kAntwortFehlt) r = kFalscherAufruf;
    }
    return schliesse(r);
}
