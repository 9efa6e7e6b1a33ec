// Der Tisch, den der Spieler aus seinen Beobachtungen gelernt hat: die Welt R,
// die zu ihnen passt, und das Rauschen seines Queues. Der Lernthread setzt ihn,
// der Planer und die Vorschau lesen ihn; bis ein neuer fertig ist, gilt der
// letzte. Nur mit [planer] lernen=1 gesetzt.
#pragma once

#include <memory>

#include "sim/welt.h"

struct GelernterTisch {
    Welt welt;        // Modell R
    double rauschen;  // Rauschfaktor F des Queues
    long beobachtungen;
};

void SetzeGelernterTisch(std::shared_ptr<const GelernterTisch> t);
// nullptr, solange nichts gelernt ist.
std::shared_ptr<const GelernterTisch> GelernterTischJetzt();
