// Ganze Aufnahmen: der Ersatztisch schickt den Tischstand, spielt den
// geantworteten Stoß (mit dem Rauschen eines echten Queues) auf seinem Tisch,
// beurteilt ihn (BeurteileStoss, der Schiedsrichter des einzelnen Stoßes)
// und schickt, solange es gut geht, den neuen Stand.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "model/tischkontext.h"
#include "planner/schiedsrichter.h"
#include "planner/stoss.h"
#include "sim/simulation.h"
#include "spiel/spieler.h"
#include "spiel/zufallstisch.h"

// Ein gespielter Stoß, wie er ins Protokoll geht.
struct Stosszeile {
    std::uint32_t tisch;  // Nummer des Tisches im ganzen Lauf, ab 1
    int stoss;            // 1.. in der Aufnahme
    Spielstand vorher;    // wie der Spieler ihn las
    double antwort[2];
    Vektor gespielt;      // nach dem Rauschen
    std::vector<int> versenkt;
    int ersteBeruehrung;
    Urteil urteil;
    int art;              // StossArt, −1 wenn unbekannt (über das Netz)
    bool gekappt;         // die Zeitgrenze des Planers schnitt die Entscheidung ab
    double simUs, planerUs;
    Spielstand nachher;   // Endlagen, versenkte Kugeln eingelocht
};

struct Aufnahme {
    std::vector<Stosszeile> stoesse;
    int kugeln = 0;       // eigene Kugeln aus gelungenen Stößen
    bool geraeumt = false;
    bool ohneAntwort = false;  // abgebrochen, weil eine Antwort fehlte
};

// Für ein Bild des misslungenen Stoßes: alles, was es zeigt.
struct Fehlstoss {
    const Stosszeile& zeile;
    const Planerantwort& antwort;
    const Simergebnis& ergebnis;
    const Laufwege& wege;
};
using Bildmaler = std::function<void(const Fehlstoss&)>;

struct Spielumgebung {
    Tischkontext tk;       // der Tisch des Ersatzservers (Vorgabetisch)
    std::string konfiguration;  // --config oder die neben dem Programm: Planer im Prozess, Welt
    Tischgeometrie geometrie;
    Welt welt;             // in ihr spielt der Schiedsrichter jeden Stoß
    double rauschen;
    std::uint32_t saat;
    Bildmaler maler;       // leer: keine Bilder
    int zeitgrenze = -1;   // ≥ 0: die Planer im Prozess messen mit der Uhr (ms); −1: sie zählen Stöße
};

// Jede Aufnahme bekommt ihre eigenen cmdids: 32 Stöße je Tisch reichen
// (höchstens 15 gelungene und ein letzter).
std::uint32_t AufnahmeCmdid(std::uint32_t tischNr, int stoss);

// Spielt die Aufnahme des Spielers auf dem Tisch start (Nummer tischNr im Lauf).
Aufnahme SpieleAufnahme(const Spielumgebung& u, std::uint32_t tischNr, const Zufallstisch& start,
                        const Planer& planer);
