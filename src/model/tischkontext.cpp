#include "model/tischkontext.h"

#include "model/konfiguration.h"

namespace {

void BerechneTaschenpunkte(const Tisch& tisch, Vektor t[kAnzahlTaschenpunkte]) {
    const float bx = tisch.bande_x, by = tisch.bande_y;
    const float w = tisch.breite, h = tisch.hoehe;
    const float te = tisch.tol_ecke, xe = tisch.xe;
    // Je Tasche: der Taschenpunkt selbst, dann zwei Punkte te daneben.
    t[0] = {bx, by, 0};           t[1] = {bx + te, by, 0};          t[2] = {bx, by + te, 0};
    t[3] = {bx, h - by, 0};       t[4] = {bx + te, h - by, 0};      t[5] = {bx, h - by - te, 0};
    t[6] = {xe, by, 0};           t[7] = {xe + te, by, 0};          t[8] = {xe - te, by, 0};
    t[9] = {xe, h - by, 0};       t[10] = {xe + te, h - by, 0};     t[11] = {xe - te, h - by, 0};
    t[12] = {w - bx, by, 0};      t[13] = {w - bx - te, by, 0};     t[14] = {w - bx, by + te, 0};
    t[15] = {w - bx, h - by, 0};  t[16] = {w - bx - te, h - by, 0}; t[17] = {w - bx, h - by - te, 0};
}

}  // namespace

Tischkontext BaueTischkontext(const Tisch& t) {
    Tischkontext k;
    k.tisch = t;
    BerechneTaschenpunkte(t, k.taschenpunkte);
    k.umriss = BaueUmriss(t);
    return k;
}

Tischkontext VorgabeKontext() {
    Tisch t;
    TischAus(IniDatei{}, t);
    return BaueTischkontext(t);
}
