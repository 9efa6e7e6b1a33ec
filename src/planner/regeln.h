// Die Regeln des Ersatztisches für ganze Partien, soweit ein einzelner Stoß
// sie entscheidet: welche Kugel die Weiße zuerst treffen darf, Fouls und der
// gültige Anstoß. Gruppenwahl, Aufnahmewechsel, Sieg und Remis entscheidet die
// Partie (src/spiel); der Planer braucht dieselben Regeln für Anstoß und
// Sicherheitsstoß, darum stehen sie hier, unter beiden.
#pragma once

#include "model/tisch.h"
#include "sim/simulation.h"

enum class Foul : int {
    keins = 0,
    weisse_versenkt,
    keine_beruehrung,
    falsche_erste,   // zuerst eine fremde Kugel oder die Schwarze vor der Zeit
    keine_bande,     // nach der Berührung fiel nichts und keine Kugel erreichte eine Bande
};
constexpr int kAnzahlFouls = 5;

// "", "weisse_versenkt", "keine_beruehrung", "falsche_erste", "keine_bande"
const char* Foulname(Foul f);

// Welche Kugeln die Weiße zuerst treffen darf: die der eigenen Gruppe, die
// noch liegen; ist die Gruppe geräumt, die Schwarze. Offener Tisch (alle):
// jede Objektkugel außer der Schwarzen, solange eine liegt. Anders als
// EigeneKugeln (die Regel des Planers) zählt nur, was wirklich auf dem Tisch liegt.
void ErlaubteErste(const Spielstand& vorher, bool erlaubt[kAnzahlKugeln]);

// Objektkugeln, die in diesem Stoß eine Bande, Backe oder Bandenecke berührten.
int KugelnAnBande(const Simergebnis& e);

// Der schwerste Foul des Stoßes (in der Reihenfolge der Aufzählung), sonst keins.
Foul PruefeFoul(const Spielstand& vorher, const Simergebnis& e);

// Ein Anstoß gilt, wenn eine Kugel fällt oder mindestens vier Objektkugeln
// eine Bande erreichen. (Ob die Weiße fiel, ist ein Foul für sich.)
bool AnstossGueltig(const Simergebnis& e);
