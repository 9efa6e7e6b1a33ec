// Der Tisch, wie ihn die Simulation sieht: genau die Vielecke, die die
// Tischansicht zeichnet. Bandenflächen und Backen sind Strecken, an denen
// eine Kugel im Abstand r anschlägt; die zwölf Bandenecken sind Punkte; die
// Taschenmäuler sind die Strecken zwischen den beiden Ecken einer Tasche.
#pragma once

#include "model/tischkontext.h"
#include "sim/v2.h"

struct Strecke {
    V2 a, b;
    V2 richtung;    // Einheitsvektor von a nach b
    double laenge;
    V2 normale;     // Einheitsvektor zur Spielseite: dort liegt die Kugel, die anschlägt
};

struct Tischgeometrie {
    Strecke banden[6];    // links, rechts, unten links, unten rechts, oben links, oben rechts
    Strecke backen[12];   // je Bandenecke die schräge Seite hinaus zur Tischkante
    V2 ecken[12];         // die Bandenecken des Umrisses, 10 und 11 vertauscht
    Strecke maeuler[6];   // Tasche 0..5; normale zeigt in den Tisch
    double radius;
};

Tischgeometrie BaueTischgeometrie(const Tischkontext& tk);

// Liegt p jenseits eines Taschenmauls, also schon in der Tasche? Gibt die
// Tasche 0..5 oder −1.
int TascheJenseits(const Tischgeometrie& g, V2 p);
