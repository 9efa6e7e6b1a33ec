// Der Tisch, den der Spieler aus seinen Beobachtungen gelernt hat: die Welt R,
// die zu ihnen passt, und das Rauschen seines Queues. Der lernende Spieler hält
// den jeweils letzten; der Planer bekommt ihn mit dem Planerkontext.
#pragma once

#include <array>

#include "sim/stossklasse.h"
#include "sim/welt.h"

struct GelernterTisch {
    Welt welt;        // Modell R
    double rauschen;  // Rauschfaktor F des Queues
    std::array<double, kAnzahlStossklassen> klassenrauschen;  // F je Stoßklasse (Kalibrierergebnis::klassen)
    long beobachtungen;
};
