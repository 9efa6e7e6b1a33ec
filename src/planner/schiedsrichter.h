// Der Schiedsrichter des Ersatztisches: war der gespielte Stoß gut? Gut ist
// er, wenn eine eigene Kugel fällt, die Weiße nicht, und die Weiße zuerst eine
// eigene Kugel trifft (die Schwarze nur als letzte eigene). Eigene Kugeln
// zählen nach derselben Regel wie beim Planer, auf dem Stand vor dem Stoß,
// und nur in ihrer Zieltasche, wenn sie eine haben.
#pragma once

#include "model/tisch.h"
#include "sim/simulation.h"

enum class Ursache : int {
    keine = 0,          // gelungen
    verfehlt,           // keine eigene Kugel gefallen
    weisse_versenkt,
    falsche_erste,      // zuerst eine fremde Kugel (oder die Schwarze zu früh) getroffen
    keine_beruehrung,   // die Weiße hat keine Kugel berührt
    schwarze_zu_frueh,  // die Schwarze fiel, bevor sie eigene war (oder nicht in ihre Zieltasche): Partie verloren
};
constexpr int kAnzahlUrsachen = 6;

// "", "verfehlt", "weisse_versenkt", "falsche_erste", "keine_beruehrung", "schwarze_zu_frueh"
const char* Ursachenname(Ursache u);

struct Urteil {
    bool erfolg;
    Ursache ursache;
    int eigeneVersenkt;  // eigene Kugeln (mit der Schwarzen, wenn sie eigene war), die fielen
    bool geraeumt;       // danach ist keine eigene Kugel mehr auf dem Tisch, auch die Schwarze nicht
};

// Bei mehreren Fehlern zählt der schwerste: Schwarze zu früh, Weiße versenkt,
// keine Berührung, falsche erste Kugel, verfehlt.
Urteil BeurteileStoss(const Spielstand& vorher, const Simergebnis& e);
