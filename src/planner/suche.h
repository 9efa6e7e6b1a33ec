// Die Stoßsuche: alle sechs Arten sammeln, zählen, sortieren, den besten
// zeichnen und als Stoßvektor (Richtung × Stärke) zurückgeben; der Anzeige wird
// der Stoß gemeldet (MeldeStoss).
#pragma once

#include "model/konfiguration.h"
#include "planner/stoss.h"
#include "planner/stossarten.h"

// Reicht für alle Arten zusammen (höchstens kMaxStoesse).
constexpr int kListenGroesse = 6929;

// Zählt je Art; anzahl[6] ist die Summe. Füllt liste unsortiert.
int SammleStoesse(const Spielstand& stand, Stoss* liste, int anzahl[7]);

// Was eine Suche gefunden hat, für Programme, die mehr als den Vektor zeigen.
struct Suchbericht {
    int anzahl[7];  // je Art, dann die Summe
    Stoss bester;   // der gespielte Kandidat
    // Nur bei der robusten Wahl: wie oft er in den Proben gelang (proben 0: nicht robust).
    int proben = 0;
    int erfolge = 0;
    // Was die robuste Wahl gespielt hat, wenn es kein Lochstoß war: den
    // Anstoß auf ein volles Dreieck oder einen Sicherheitsstoß.
    bool anstoss = false;
    bool sicherheit = false;
};

// Die Taschenpunkte müssen berechnet sein (einmal nach dem Laden des Tisches).
void SucheStoss(const Spielstand& stand, Vektor& stoss, Suchbericht* bericht = nullptr);
// Dasselbe mit schon gelesener Physik und Kugelradius (wer config.ini ohnehin
// gelesen hat, liest sie für die Stärke nicht noch einmal).
void SucheStoss(const Spielstand& stand, Vektor& stoss, Suchbericht* bericht, const Physik& physik, float radius);

// Der erste Teil der Suche: sammeln, die sieben Protokollzeilen, sortieren.
// liste braucht Platz für kListenGroesse; gibt die Anzahl zurück.
int SucheKandidaten(const Spielstand& stand, Stoss* liste, int anzahl[7]);

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
