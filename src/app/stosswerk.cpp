// stosswerk: der Spieler. Ohne Fenster (--ohne-fenster) schaltet er das Netz
// gleich ein und läuft, bis SIGINT oder SIGTERM ihn ausschaltet.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "model/konfiguration.h"
#include "model/tisch.h"
#include "net/senden.h"
#include "net/server.h"
#include "ui/anzeige.h"

namespace {

constexpr const char* kHilfe =
    "Aufruf: stosswerk [--ohne-fenster] [--verzeichnis DIR] [--help]\n"
    "\n"
    "Computerspieler für Poolbillard: nimmt Tischstände vom Spielserver an, plant\n"
    "den Stoß und schickt die Antwort zurück.\n"
    "\n"
    "  --ohne-fenster    ohne Fenster: Netz sofort an, Protokoll auf die Standard-\n"
    "                    ausgabe; SIGINT oder SIGTERM schalten es aus und beenden\n"
    "  --verzeichnis DIR config.ini und die XML-Vorlagen aus DIR statt neben dem\n"
    "                    Programm lesen\n"
    "  --help            diese Hilfe\n"
    "\n"
    "Rückgabewert: 0 nach dem Beenden, 2 bei falschem Aufruf.\n";

int Aufruffehler(const std::string& text) {
    std::fprintf(stderr, "stosswerk: %s\n(Hilfe mit --help)\n", text.c_str());
    return 2;
}

// Läuft ohne Fenster, bis ein Signal kommt. Die Signale sind in allen Threads
// gesperrt und werden hier mit sigwait abgeholt: kein Handler, keine Schleife.
int OhneFenster() {
    sigset_t signale;
    sigemptyset(&signale);
    sigaddset(&signale, SIGINT);
    sigaddset(&signale, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signale, nullptr);

    InstalliereAnzeige(KonsolenAnzeige());
    LoescheLog();
    StarteServer(tisch.port);
    SendeNetzStatus(true);

    int signal = 0;
    sigwait(&signale, &signal);

    StoppeServer();
    WarteAufServerende(std::chrono::seconds(2));  // damit "Server wurde gestoppt!" noch im Protokoll steht
    SendeNetzStatus(false);
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(0);  // laufende Sendethreads nicht abbauen
}

}  // namespace

int main(int argc, char** argv) {
    bool ohneFenster = false;
    for (int i = 1; i < argc; ++i) {
        std::string_view a = argv[i];
        if (a == "--help" || a == "-h") {
            std::fputs(kHilfe, stdout);
            return 0;
        } else if (a == "--ohne-fenster") {
            ohneFenster = true;
        } else if (a == "--verzeichnis") {
            if (i + 1 >= argc) return Aufruffehler("--verzeichnis braucht ein Verzeichnis.");
            SetzeProgrammverzeichnis(argv[++i]);
        } else {
            return Aufruffehler("Unbekannte Option \"" + std::string(a) + "\".");
        }
    }

    LadeTisch(tisch, Konfigurationsdatei());
    BerechneTaschenpunkte();
    SetzeStandardaufstellung(spielstand);

    if (!ohneFenster) {
        std::fputs("stosswerk: Das Fenster ist in diesem Build nicht verfügbar. "
                   "Ohne Fenster starten mit --ohne-fenster.\n",
                   stderr);
        return 2;
    }
    return OhneFenster();
}
