#include "fenster/befehle.h"

#include <QAction>
#include <QPushButton>
#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "anzeige/anzeige.h"
#include "fenster/bildfenster.h"
#include "fenster/dialoglayout.h"
#include "fenster/fensteranzeige.h"
#include "fenster/hauptfenster.h"
#include "model/konfiguration.h"
#include "model/tisch.h"
#include "net/senden.h"
#include "net/server.h"
#include "planner/robuste_suche.h"

bool NetzwerkAn = false;
std::atomic<bool> LaufwegeAn = false;

namespace {

// Der Server-Thread schreibt den Spielstand mit; gearbeitet wird auf einer Kopie.
Spielstand Kopie() {
    std::lock_guard sperre(spielstandMutex);
    return spielstand;
}

void MarkiereGruppe(int befehl) {
    if (QAction* a = Hauptfenster->Menuepunkt(befehl)) a->setChecked(true);
}

void Start() {
    LoescheLog();
    const Spielstand stand = Kopie();
    Vektor stoss{};
    PlaneStoss(stand, stoss);  // zeichnet über das stehende Bild, ohne Neuzeichnen
    ZeigeKugeln(Kopie());
    ZeigeVektor(stoss);
}

void ZeigeSchalter() {
    if (auto* schalter = qobject_cast<QPushButton*>(Hauptfenster->Element(BefehlNetzwerk)))
        schalter->setChecked(NetzwerkAn);
}

void Netzwerk() {
    NetzwerkAn = !NetzwerkAn;
    ZeigeSchalter();
    if (NetzwerkAn) {
        LoescheLog();
        // Ohne lauschenden Server wäre "running" gelogen: der Schalter geht
        // wieder aus, Meldung und Protokoll sagen, warum.
        if (!StarteServer(tisch.port)) {
            NetzwerkAn = false;
            ZeigeSchalter();
            return;
        }
        SendeNetzStatus(true);
    } else {
        StoppeServer();
        SendeNetzStatus(false);
    }
}

// Der Server-Thread ist geendet, ohne dass jemand ausgeschaltet hat: der
// Schalter geht aus, und "running" wird zurückgenommen. Ist das Netz
// inzwischen aus oder schon wieder mit einem neuen Server an, bleibt alles.
void ServerUnerwartetBeendet() {
    if (!NetzwerkAn || ServerLaeuft()) return;
    NetzwerkAn = false;
    if (Hauptfenster) ZeigeSchalter();
    SchreibeLog("Server unerwartet beendet, Netzwerk ausgeschaltet.\r\n");
    SendeNetzStatus(false);
}

[[noreturn]] void Beenden() {
    if (NetzwerkAn) {
        StoppeServer();
        SendeNetzStatus(false);
    }
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(0);  // laufende Server- und Sendethreads nicht abbauen
}

void Gruppe(int befehl) {
    MarkiereGruppe(befehl);
    {
        std::lock_guard sperre(spielstandMutex);
        spielstand.gruppe = befehl - BefehlHalbe;
    }
    Hauptfenster->Tischansicht()->NeuZeichnenMitLoeschen();
    ZeigeKugeln(Kopie());
}

// Die Marke setzt Qt beim Auslösen selbst um; der Befehl übernimmt sie.
void Laufwege() {
    const QAction* a = Hauptfenster->Menuepunkt(BefehlLaufwege);
    LaufwegeAn = a && a->isChecked();
    if (!LaufwegeAn) Hauptfenster->Tischansicht()->LoescheVorschau();
}

}  // namespace

void InitialisiereHauptfenster() {
    if (const int fehler = LadeTisch(tisch, Konfigurationsdatei()))
        SchreibeLog(kKonfigurationUnlesbar, Konfigurationsdatei().c_str(), fehler);
    BeiUnerwartetemServerende([] { SpaeterAufFensterThread(ServerUnerwartetBeendet); });
    BerechneTaschenpunkte();
    {
        std::lock_guard sperre(spielstandMutex);
        SetzeStandardaufstellung(spielstand);
    }
    Hauptfenster->setWindowTitle(QString::fromUtf8(kFenstertitel));
    MarkiereGruppe(BefehlHalbe);
    Laufwege();
    ZeigeKugeln(Kopie());
}

void FuehreBefehlAus(int befehl) {
    switch (befehl) {
        case BefehlStart:
            Start();
            break;
        case BefehlNetzwerk:
            Netzwerk();
            break;
        case BefehlBeenden:
            Beenden();
        case BefehlHalbe:
        case BefehlVolle:
        case BefehlAlle:
            Gruppe(befehl);
            break;
        case BefehlLaufwege:
            Laufwege();
            break;
        default:
            break;
    }
}
