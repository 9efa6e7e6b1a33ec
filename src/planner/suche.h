// Die Stoßsuche: alle sechs Arten sammeln, zählen, sortieren, den besten
// zeichnen und als Stoßvektor (Richtung × Stärke) zurückgeben; der Anzeige wird
// der Stoß gemeldet (MeldeStoss).
#pragma once

#include "planner/stoss.h"
#include "planner/stossarten.h"

// Reicht für alle Arten zusammen (höchstens kMaxStoesse).
constexpr int kListenGroesse = 6929;

// Zählt je Art; anzahl[6] ist die Summe. Füllt liste unsortiert.
int SammleStoesse(const Spielstand& stand, Stoss* liste, int anzahl[7]);

// Was eine Suche gefunden hat, für Programme, die mehr als den Vektor zeigen.
struct Suchbericht {
    int anzahl[7];  // je Art, dann die Summe
    Stoss bester;
};

// Die Taschenpunkte müssen berechnet sein (einmal nach dem Laden des Tisches).
void SucheStoss(const Spielstand& stand, Vektor& stoss, Suchbericht* bericht = nullptr);

// Wie ein Blasensort nach bewertung mit ">" – stabil, und ein Datensatz mit
// NaN-Bewertung bleibt stehen und lässt nichts an sich vorbei –, aber nicht
// quadratisch: jede Strecke zwischen zwei NaN wird stabil sortiert.
void SortiereStoesse(Stoss* liste, int anzahl);
// Der wörtliche Blasensort, zum Vergleich in Tests und Benchmarks.
void SortiereStoesseBlasensort(Stoss* liste, int anzahl);

// Richtung zum ersten Punkt, den die Weiße ansteuert, z = 0.
Vektor Stossrichtung(const Stoss& s);
