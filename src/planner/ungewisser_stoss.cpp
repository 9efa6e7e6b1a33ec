// Der eine blinde Stoß durch die Tischmitte: damit gibt es immer einen Stoß.
#include "planner/stossarten.h"

int FindeUngewisserStoss(const Tischkontext& tk, const Spielstand& stand, Stoss* frei) {
    const Vektor s0 = Lage(stand.kugeln[0]);
    Stoss s{};
    s.weiss = s0;
    s.ziel = {tk.tisch.breite - s0.x, tk.tisch.hoehe - s0.y, 0.0f};
    s.art = UngewisserStoss;
    s.bewertung = BewerteUngewisserStoss(tk.tisch, s);
    frei[0] = s;
    return 1;
}

float BewerteUngewisserStoss(const Tisch&, const Stoss&) { return 3000.0f; }
