// Der eine Umriss des Tisches: die zwölf Bandenecken, an denen die geraden
// Banden in die Taschenmäuler abknicken, und je Ecke der Punkt an der
// Tischkante, zu dem ihre Backe hinausläuft. Planer, Simulation und Ansicht
// lesen alle diesen einen; gerechnet in double, denn die Differenzen zweier
// float sind darin genau (der Planer rundet sie beim Lesen wie immer auf float).
#pragma once

#include "model/tisch.h"

struct Umrisspunkt {
    double x, y;
};

struct Umriss {
    // 0 (BX, yc), 1 (BX, yb), 2 (xb, H−BY), 3 (xc, H−BY), 4 (xg, H−BY), 5 (xh, H−BY),
    // 6 (W−BX, yb), 7 (W−BX, yc), 8 (xh, BY), 9 (xg, BY), 10 (xb, BY), 11 (xc, BY)
    Umrisspunkt ecken[12];
    // Wo die Backe von ecken[i] die Tischkante erreicht: (0, yd), (0, ya), (xa, H) …
    Umrisspunkt kanten[12];
};

Umriss BaueUmriss(const Tisch& t);
