// Der eine blinde Stoß durch die Tischmitte: damit gibt es immer einen Stoß.
#include "planner/stossarten.h"

int FindeUngewisserStoss(const Spielstand& stand, Stoss* frei) {
    const Vektor s0 = Lage(stand.kugeln[0]);
    Stoss s{};
    s.weiss = s0;
    s.ziel = {tisch.breite - s0.x, tisch.hoehe - s0.y, 0.0f};
    s.art = UngewisserStoss;
    s.bewertung = BewerteUngewisserStoss(s);
    frei[0] = s;
    return 1;
}

float BewerteUngewisserStoss(const Stoss&) { return 3000.0f; }
