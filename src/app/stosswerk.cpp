// stosswerk: der Spieler mit seinem Fenster. Ohne Fenster (--ohne-fenster)
// schaltet er das Netz gleich ein und läuft, bis SIGINT oder SIGTERM ihn ausschaltet.
#include <pthread.h>

#include <charconv>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "anzeige/anzeige.h"
#include "aufruf.h"
#include "fenster/programm.h"
#include "model/konfiguration.h"
#include "spieler/spielerkontext.h"

namespace {

constexpr const char* kHilfe =
    "Aufruf: stosswerk [--ohne-fenster | --bildschirmfoto DATEI [--gruppe N]]\n"
    "                  [--verzeichnis DIR] [--daten DIR] [--help] [--version]\n"
    "\n"
    "Computerspieler für Poolbillard: nimmt Tischstände vom Spielserver an, plant\n"
    "den Stoß und schickt die Antwort zurück. Ohne Option öffnet er sein Fenster.\n"
    "\n"
    "  --ohne-fenster        ohne Fenster: Netz sofort an, Protokoll auf die Standard-\n"
    "                        ausgabe; SIGINT oder SIGTERM schalten es aus und beenden\n"
    "  --bildschirmfoto DATEI  das Fenster unsichtbar öffnen, einmal wie mit \"Start\"\n"
    "                        planen, sein Bild als PNG nach DATEI schreiben und enden\n"
    "  --gruppe N            für das Bild: 0 halbe (Vorgabe), 1 volle, 2 alle Kugeln\n"
    "  --verzeichnis DIR     config.ini und die XML-Vorlagen aus DIR statt neben dem\n"
    "                        Programm lesen\n"
    "  --daten DIR           hierhin schreibt der Spieler, was er über den Tisch lernt\n"
    "                        (beobachtungen.jsonl, gelernt.ini; [planer] beobachten\n"
    "                        und lernen); sonst STATE_DIRECTORY des Dienstes oder das\n"
    "                        Verzeichnis von config.ini\n"
    "  --help                diese Hilfe\n"
    "  --version             die Version ausgeben\n"
    "\n"
    "Rückgabewert: 0 nach dem Beenden, 1 ohne Bildschirm, wenn das Bild nicht\n"
    "gespeichert werden kann, wenn der Server nicht startet (etwa weil der Port\n"
    "belegt ist, eine Vorlage fehlt oder das Datenverzeichnis zum Beobachten nicht\n"
    "beschreibbar ist) oder ohne Fenster unerwartet endet, 2 bei falschem Aufruf.\n";

// Läuft ohne Fenster, bis ein Signal kommt. Die Signale sind in allen Threads
// gesperrt und werden hier mit sigwait abgeholt: kein Handler, keine Schleife.
// SIGUSR1 schickt der Server-Thread, wenn er unerwartet endet.
int OhneFenster(const Pfade& pfade) {
    sigset_t signale;
    sigemptyset(&signale);
    sigaddset(&signale, SIGINT);
    sigaddset(&signale, SIGTERM);
    sigaddset(&signale, SIGUSR1);
    pthread_sigmask(SIG_BLOCK, &signale, nullptr);

    static Spielerkontext spieler;  // lebt bis zum Prozessende, wie die Threads, die ihn benutzen
    const Anzeige anzeige = KonsolenAnzeige();
    if (const int fehler = BaueSpieler(spieler, pfade, anzeige)) {
        // Auch auf die Fehlerausgabe, wo ein Dienstverwalter Fehler sucht.
        const std::string text = FormatiereLog(kKonfigurationUnlesbar, pfade.konfiguration.c_str(), fehler);
        std::fprintf(stderr, "stosswerk: %.*s\n", static_cast<int>(text.size() - 2), text.c_str());
    }

    LoescheLog(anzeige);
    const pthread_t hauptThread = pthread_self();
    spieler.server.unerwartetesEnde = [hauptThread] { pthread_kill(hauptThread, SIGUSR1); };
    // Die Meldung steht dann auf der Fehlerausgabe; die Rückgabe 1 sieht auch
    // ein Dienstverwalter.
    if (!SchalteNetzEin(spieler)) {
        std::fflush(stdout);
        return 1;
    }

    int signal = 0;
    do {
        sigwait(&signale, &signal);
    } while (signal == SIGUSR1 && ServerLaeuft(spieler.server));  // ein SIGUSR1 von außen ändert nichts

    // Ohne Server nimmt niemand mehr Anfragen an: "running" zurücknehmen und
    // mit 1 enden, damit ein Dienstverwalter den Spieler neu startet.
    const bool unerwartet = signal == SIGUSR1;
    if (unerwartet) SchreibeLog(anzeige, "Server unerwartet beendet, Stosswerk endet mit 1.\r\n");
    StoppeServer(spieler.server);
    WarteAufServerende(spieler.server, std::chrono::seconds(2));  // damit "Server wurde gestoppt!" noch im Protokoll steht
    SendeNetzStatus(spieler.sender, false);
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(unerwartet ? 1 : 0);  // laufende Sendethreads nicht abbauen
}

}  // namespace

int main(int argc, char** argv) {
    bool ohneFenster = false;
    std::string verzeichnis, daten;
    Fensteroptionen fenster;
    Aufruf aufruf{.programm = "stosswerk",
                  .hilfe = kHilfe,
                  .optionen = {Schalter("--ohne-fenster", ohneFenster),
                               Text("--verzeichnis", verzeichnis, "ein Verzeichnis"),
                               Text("--daten", daten, "ein Verzeichnis"),
                               Text("--bildschirmfoto", fenster.bildschirmfoto, "einen Dateinamen"),
                               Zahlwert<int>("--gruppe", fenster.gruppe, 0, 2, "0 (halbe), 1 (volle) oder 2 (alle)")}};
    if (const int r = LeseAufruf(aufruf, argc, argv); r >= 0) return r;
    if (ohneFenster && !fenster.bildschirmfoto.empty())
        return Aufruffehler(aufruf.programm, "--ohne-fenster und --bildschirmfoto schließen einander aus.");
    if (Gesetzt(aufruf, "--gruppe") && fenster.bildschirmfoto.empty())
        return Aufruffehler(aufruf.programm, "--gruppe gilt nur mit --bildschirmfoto.");
    const Pfade pfade = BestimmePfade(verzeichnis, "", daten);
    if (ohneFenster) return OhneFenster(pfade);
    return FensterProgramm(pfade, fenster);
}
