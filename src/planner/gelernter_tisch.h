// Der Tisch, den der Spieler aus seinen Beobachtungen gelernt hat: die Welt R,
// die zu ihnen passt, und das Rauschen seines Queues. Der lernende Spieler hält
// den jeweils letzten; der Planer bekommt ihn mit dem Planerkontext.
#pragma once

#include "sim/welt.h"

struct GelernterTisch {
    Welt welt;        // Modell R
    double rauschen;  // Rauschfaktor F des Queues
    long beobachtungen;
};
