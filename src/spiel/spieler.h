// Ein Spieler am Ersatztisch: was er auf einen Tischstand antwortet, und der
// Planer im Prozess, der mit seiner eigenen config.ini plant. Wie ein
// Tischstand zum Spieler kommt (Dokument, Netz), weiß das Programm; es reicht
// den Weg als Planer herein.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "model/ini_datei.h"
#include "model/konfiguration.h"
#include "model/tischkontext.h"
#include "planner/planerkontext.h"
#include "planner/planergebnis.h"
#include "planner/stoss.h"
#include "planner/suche.h"
#include "spiel/zufallstisch.h"

// Was der Spieler auf einen Tischstand antwortet.
struct Planerantwort {
    bool gut = false;        // false: keine oder eine fehlerhafte Antwort
    std::string x, y;        // die Zahlen, wie sie in der Antwort stehen
    Spielstand gelesen{};    // der Tischstand, wie der Spieler ihn las
    bool mitStoss = false;   // nur im Prozess: der gewählte Kandidat und der Bericht sind bekannt
    Stoss bester{};
    bool anstoss = false;    // nur im Prozess: der Planer spielte einen Anstoß
    bool sicherheit = false;  // nur im Prozess: der Planer spielte einen Sicherheitsstoß
    bool gekappt = false;     // nur im Prozess: die Zeitgrenze des Planers schnitt die Entscheidung ab
};

// Die Zahl einer Antwort (shot/x oder shot/y), wie der Tisch sie nimmt.
double AntwortZahl(const std::string& text);

// Der Stoß aus den Zahlen einer Antwort. Was über float hinausgeht, wird
// unendlich statt undefiniert: die Simulation spielt einen solchen Stoß nicht,
// die Weiße berührt nichts.
Vektor AntwortStoss(double x, double y);

// Bekommt die Lage, wie der Tisch sie sendet (player ist die Gruppe des
// Stoßenden), und die cmdid der Anfrage.
using Planer = std::function<Planerantwort(const Zufallstisch& lage, std::uint32_t cmdid)>;

// Ein Planer im Prozess mit einer config.ini, die einmal gelesen wird.
struct LokalerPlaner {
    bool robust = false;
    Tischkontext tisch;  // auf ihm plant er, und mit ihm liest er die Dokumente
    Planerkontext kontext;
    std::shared_ptr<const IniDatei> ini;  // eine IniDatei zeigt in sich selbst: nie kopieren
};

// Liest pfad einmal. robust: immer die robuste Wahl; vorgegeben: immer die
// vorgegebene; nachDatei: wie [planer] modus der Datei sagt. muss: eine
// fehlende oder unlesbare Datei ist ein Fehler (sonst gelten die Vorgaben).
// Geplant wird auf dem Tisch der Datei ([tisch], [toleranz], [kugeln]), wie
// ein Spieler mit dieser config.ini es täte.
enum class Wahl { vorgegeben, robust, nachDatei };
bool LadePlaner(const std::string& pfad, Wahl wahl, bool muss, LokalerPlaner& p);

// Wie lange der Planer im Prozess rechnen darf. zeitgrenze −1: so viele
// simulierte Stöße, wie seine eigene zeitgrenze auf einer unbelasteten
// Maschine erlaubte (StossbudgetStattZeit), damit Läufe nicht von der Last
// abhängen; sonst mit der Uhr, zeitgrenze ms (0: unbegrenzt).
void Bemesse(LokalerPlaner& p, int zeitgrenze);

// Plant auf stand, wie der Spieler es täte; threadsicher.
Planergebnis PlaneLokal(const LokalerPlaner& p, const Spielstand& stand);
