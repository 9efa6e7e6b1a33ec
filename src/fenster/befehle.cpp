#include "fenster/befehle.h"

#include <QAction>
#include <QPushButton>
#include <cstdio>
#include <cstdlib>

#include "anzeige/anzeige.h"
#include "fenster/bildfenster.h"
#include "fenster/dialoglayout.h"
#include "fenster/fensteranzeige.h"
#include "fenster/hauptfenster.h"
#include "spieler/spielerkontext.h"

bool NetzwerkAn = false;
std::atomic<bool> LaufwegeAn = false;

namespace {

Spielerkontext& Spieler() { return Hauptfenster->Spieler(); }

void MarkiereGruppe(int befehl) {
    if (QAction* a = Hauptfenster->Menuepunkt(befehl)) a->setChecked(true);
}

void Start() {
    // Der Server-Thread schreibt den Stand mit; geplant wird auf einer Kopie,
    // das stehende Bild wird ohne Neuzeichnen übermalt.
    const Planergebnis p = Starte(Spieler(), Hauptfenster->Stand());
    ZeigeKugeln(Spieler().anzeige, Hauptfenster->Stand());
    ZeigeVektor(Spieler().anzeige, p.stoss);
}

void ZeigeSchalter() {
    if (auto* schalter = qobject_cast<QPushButton*>(Hauptfenster->Element(BefehlNetzwerk)))
        schalter->setChecked(NetzwerkAn);
}

void Netzwerk() {
    NetzwerkAn = !NetzwerkAn;
    ZeigeSchalter();
    if (NetzwerkAn) {
        LoescheLog(Spieler().anzeige);
        // Ohne lauschenden Server wäre "running" gelogen: der Schalter geht
        // wieder aus, Meldung und Protokoll sagen, warum.
        if (!SchalteNetzEin(Spieler())) {
            NetzwerkAn = false;
            ZeigeSchalter();
        }
    } else {
        SchalteNetzAus(Spieler());
    }
}

// Der Server-Thread ist geendet, ohne dass jemand ausgeschaltet hat: der
// Schalter geht aus, und "running" wird zurückgenommen. Ist das Netz
// inzwischen aus oder schon wieder mit einem neuen Server an, bleibt alles.
void ServerUnerwartetBeendet() {
    if (!Hauptfenster || !NetzwerkAn || ServerLaeuft(Spieler().server)) return;
    NetzwerkAn = false;
    ZeigeSchalter();
    SchreibeLog(Spieler().anzeige, "Server unerwartet beendet, Netzwerk ausgeschaltet.\r\n");
    SendeNetzStatus(Spieler().sender, false);
}

[[noreturn]] void Beenden() {
    if (NetzwerkAn) SchalteNetzAus(Spieler());
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(0);  // laufende Server- und Sendethreads nicht abbauen
}

void Gruppe(int befehl) {
    MarkiereGruppe(befehl);
    Hauptfenster->SetzeGruppe(befehl - BefehlHalbe);
    Hauptfenster->Tischansicht()->NeuZeichnenMitLoeschen();
    ZeigeKugeln(Spieler().anzeige, Hauptfenster->Stand());
}

// Die Marke setzt Qt beim Auslösen selbst um; der Befehl übernimmt sie.
void Laufwege() {
    const QAction* a = Hauptfenster->Menuepunkt(BefehlLaufwege);
    LaufwegeAn = a && a->isChecked();
    if (!LaufwegeAn) Hauptfenster->Tischansicht()->LoescheVorschau();
}

}  // namespace

void InitialisiereHauptfenster() {
    Spielerkontext& k = Spieler();
    k.server.unerwartetesEnde = [] { SpaeterAufFensterThread(ServerUnerwartetBeendet); };
    k.geplant = ZeigeLaufwege;
    Spielstand stand;
    SetzeStandardaufstellung(k.tisch.tisch, stand);
    Hauptfenster->SetzeStand(stand);
    Hauptfenster->setWindowTitle(QString::fromUtf8(kFenstertitel));
    MarkiereGruppe(BefehlHalbe);
    Laufwege();
    ZeigeKugeln(k.anzeige, Hauptfenster->Stand());
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
