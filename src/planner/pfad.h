// Die gemeinsamen Bausteine der Stoßarten: eigene Kugeln, erlaubte Taschen,
// Anspielpunkt, Winkel- und Feldprüfung, Kugeln und Bandenecken im Weg,
// Bandenpunkte. Jeder Vergleich ist absichtlich genau so streng oder nicht
// streng, wie er hier steht; NaN fällt immer durch.
#pragma once

#include "geometry/vektor.h"
#include "model/tischkontext.h"

// eigene[1..15]: darf gespielt werden. eigene[0] bleibt unberührt.
void EigeneKugeln(const Spielstand& stand, bool eigene[kAnzahlKugeln]);

// Liegt noch eine eigene Kugel (auch die Schwarze, wenn sie eigene ist)?
bool EigeneAufDemTisch(const Spielstand& stand);

// j ist ein Taschenpunkt-Index 0..17; zieltasche 0 erlaubt jede Tasche.
bool TascheErlaubt(const Spielstand& stand, int kugel, int j);

// Wo die Mitte der stoßenden Kugel beim Treffen liegen muss, damit die Kugel
// bei kugel Richtung ziel läuft. r ist der Radius der Weißen.
Vektor Anspielpunkt(Vektor kugel, Vektor ziel, float r);

// winkel > 90 + tol_winkel, streng; NaN fällt durch.
bool WinkelZulaessig(const Tisch& t, float winkel);

// Die Winkelgrenze 90 + tol_winkel als Kosinus: der arccos ist der teuerste
// Teil der Suche, und fast alle Winkel liegen weit weg von der Grenze.
struct Winkelgrenze {
    float grenze;     // 90 + tol_winkel
    double kosinus;   // cos(grenze)
    bool schnell;     // nur wo der Kosinus mit dem Winkel sicher fällt
};
Winkelgrenze WinkelgrenzeVon(const Tisch& t);

// Genau WinkelZulaessig(Winkel(u, v)), aber der arccos wird nur nahe der
// Grenze gerechnet. Den Winkel selbst holt, wer ihn speichert, mit Winkel().
bool WinkelZulaessig(const Winkelgrenze& g, Vektor u, Vektor v);
// Genau WinkelZulaessig(WinkelAmPunkt(a, b, c)).
inline bool WinkelAmPunktZulaessig(const Winkelgrenze& g, Vektor a, Vektor b, Vektor c) {
    return WinkelZulaessig(g, {a.x - b.x, a.y - b.y, 0.0f}, {c.x - b.x, c.y - b.y, 0.0f});
}

// Mehr als r innerhalb aller Bandenlinien, streng. r ist der Radius der Weißen.
bool ImSpielfeld(const Tisch& t, Vektor p, float r);

// Liegt eine Kugel 1..15 (nicht eingelocht, nicht ausgenommen) dem Weg von
// von nach nach näher als 2r + tol_abstand? -1 nimmt keine Kugel aus.
bool KugelImWeg(const Tischkontext& tk, const Spielstand& stand, Vektor von, Vektor nach, int ausnahme1, int ausnahme2);

// Die zwölf Endpunkte der geraden Bandenstücke, aus dem Umriss des Tisches.
void Bandenecken(const Tischkontext& tk, Vektor ecken[12]);

// Kommt der Weg einer Bandenecke näher als r + tol_abstand?
bool BandeneckeImWeg(const Tischkontext& tk, const Spielstand& stand, Vektor von, Vektor nach);

// Winkel an b zwischen den Richtungen zu a und zu c, in der Tischebene.
float WinkelAmPunkt(Vektor a, Vektor b, Vektor c);

// Berührpunkte auf den vier Bandenlinien (links, oben, rechts, unten) für
// einen Weg von von über eine Bande nach nach, Einfallswinkel = Ausfallswinkel.
void BandenPunkte(const Tisch& t, Vektor von, Vektor nach, Vektor punkte[4]);

// Liegt p auf einem geraden Bandenstück, weg von den Taschenmäulern?
bool AufBande(const Tisch& t, Vektor p, bool laengsseite);

// a · b / c, das Produkt zuerst.
inline float Anteil(float a, float b, float c) {
    float ab = a * b;
    return ab / c;
}
