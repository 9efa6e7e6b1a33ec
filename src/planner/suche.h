// Die Stoßsuche: alle sechs Arten sammeln, zählen, sortieren; der beste wird
// gezeichnet und als Stoßvektor (Richtung × Stärke) zurückgegeben.
#pragma once

#include <string>
#include <vector>

#include "model/konfiguration.h"
#include "model/tischkontext.h"
#include "planner/planergebnis.h"
#include "planner/stoss.h"
#include "planner/stossarten.h"

// Reicht für alle Arten zusammen (höchstens kMaxStoesse).
constexpr int kListenGroesse = 6929;

// Zählt je Art; anzahl[6] ist die Summe. Füllt liste unsortiert.
int SammleStoesse(const Tischkontext& tk, const Spielstand& stand, Stoss* liste, int anzahl[7]);

// Die vorgegebene Suche; physik und radius gelten für die Stoßstärke.
Planergebnis SucheStoss(const Tischkontext& tk, const Spielstand& stand, const Physik& physik, float radius);

// Der erste Teil der Suche: sammeln und sortieren. liste braucht Platz für
// kListenGroesse; gibt die Anzahl zurück.
int SucheKandidaten(const Tischkontext& tk, const Spielstand& stand, Stoss* liste, int anzahl[7]);

// Die sieben Protokollzeilen der Suche: je Art ihr Zähler, dann die Summe.
std::vector<std::string> Zaehlerzeilen(const int anzahl[7]);

// Der Stoßvektor zum Kandidaten s mit der Stärke staerke: Einheitsrichtung
// zum ersten Punkt der Weißen (eine Weiße genau in der Tischmitte hat
// beim blinden Stoß keine: dann entlang +x).
Vektor StossVektor(const Stoss& s, float staerke);

// Wie ein Blasensort nach bewertung mit ">" – stabil, und ein Datensatz mit
// NaN-Bewertung bleibt stehen und lässt nichts an sich vorbei –, aber nicht
// quadratisch: jede Strecke zwischen zwei NaN wird stabil sortiert.
void SortiereStoesse(Stoss* liste, int anzahl);
// Der wörtliche Blasensort, zum Vergleich in Tests und Benchmarks.
void SortiereStoesseBlasensort(Stoss* liste, int anzahl);

// "WeisseKugelLoch", … wie die Zähler der Suche ohne "cnt"; "?" für andere Werte.
const char* Artname(std::int32_t art);

// Richtung zum ersten Punkt, den die Weiße ansteuert, z = 0.
Vektor Stossrichtung(const Stoss& s);
