// Ganze Aufnahmen: der Ersatztisch schickt den Tischstand, spielt den
// geantworteten Stoß (mit dem Rauschen eines echten Queues) auf seinem Tisch,
// beurteilt ihn und schickt, solange es gut geht, den neuen Stand.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "planner/schiedsrichter.h"
#include "planner/stoss.h"
#include "sim/simulation.h"
#include "tische.h"

// Was der Planer auf einen Tischstand antwortet.
struct Planerantwort {
    bool gut = false;     // false: keine oder eine fehlerhafte Antwort
    std::string x, y;     // die Zahlen, wie sie in der Antwort stehen
    bool mitStoss = false;  // nur im Prozess: der gewählte Kandidat ist bekannt
    Stoss bester{};
};
// Bekommt das Dokument, wie es der Spieler bekäme, und seine cmdid.
using Planer = std::function<Planerantwort(const std::string& dokument, std::uint32_t cmdid)>;

// Ein gespielter Stoß, wie er ins Protokoll geht.
struct Stosszeile {
    std::uint32_t tisch;  // 1..K
    int stoss;            // 1.. in der Aufnahme
    Spielstand vorher;    // wie der Spieler ihn las
    double antwort[2];
    Vektor gespielt;      // nach dem Rauschen
    std::vector<int> versenkt;
    int ersteBeruehrung;
    Urteil urteil;
    int art;              // StossArt, −1 wenn unbekannt (über das Netz)
    double simUs, planerUs;
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
    Tisch tisch;           // der Tisch des Ersatzservers (Vorgabetisch)
    Tischgeometrie geometrie;
    Welt welt;
    double rauschen;
    std::uint32_t saat;
    std::string eigeneAdresse;  // für die Dokumente
    std::uint16_t antwortPort;
    Bildmaler maler;       // leer: keine Bilder
};

// Der Zufallsgenerator des Rauschens für Tisch tischNr: nur aus Saat und
// Tischnummer, damit jeder Thread und jeder Planer dieselben Störungen zieht.
std::uint64_t RauschSaat(std::uint32_t saat, std::uint32_t tischNr);

// Spielt die Aufnahme des Spielers auf dem Tisch start.
Aufnahme SpieleAufnahme(const Spielumgebung& u, std::uint32_t tischNr, const Zufallstisch& start,
                        const Planer& planer);

// Der Planer im Prozess: liest das Dokument wie der Spieler, sucht den Stoß
// und schreibt seine Zahlen, wie sie die Antwort trüge. Threadsicher.
// robust: die robuste Wahl mit den Werten aus [planer] der config.ini.
Planerantwort PlaneLokal(const std::string& dokument, bool robust);

// Die Zusammenfassung über alle Aufnahmen.
struct Spielbericht {
    Modell modell;
    double rauschen;
    int tische = 0, stoesse = 0, erfolge = 0, ohneAntwort = 0;
    int fehler[kAnzahlUrsachen] = {};
    long kugeln = 0;
    int geraeumt = 0;
    bool artenBekannt = false;
    int artStoesse[7] = {}, artErfolge[7] = {};  // die sechs Arten und die Rundumsuche der robusten Wahl
    double simUs = 0, planerUs = 0;  // Summen
};

void Zaehle(Spielbericht& b, const Aufnahme& a);

// Wilson-Intervall zu 95 % für erfolge von n.
void Intervall95(int erfolge, int n, double& unten, double& oben);
