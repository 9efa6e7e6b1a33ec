// spieltisch: ein Ersatz für den Spielserver. Schickt Tischstände an den
// Spieler, nimmt seine Ergebnisse an und prüft sie.
#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "ablauf.h"
#include "optionen.h"
#include "spielablauf.h"
#include "stosswerk_version.h"

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
    if (optionen->spielen) return SpieleAufnahmen(*optionen, std::cout, std::cerr, {});
    return FuehreAus(*optionen, std::cout, std::cerr);
}
