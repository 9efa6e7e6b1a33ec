#include "model/tisch.h"

Tisch tisch{};
Vektor Taschenpunkte[kAnzahlTaschenpunkte]{};
Spielstand spielstand{};
std::mutex spielstandMutex;

void SetzeStandardaufstellung(Spielstand& stand) {
    for (int i = 0; i < kAnzahlKugeln; ++i) {
        const Kugel& q = tisch.kugeln[i];
        Kugel& k = stand.kugeln[i];
        k.x = q.x;
        k.y = q.y;
        k.z = 0.0f;
        k.inloch = q.inloch;
        k.radius = tisch.radius;
        k.zieltasche = q.zieltasche;
    }
    stand.gruppe = halbe;
}

void BerechneTaschenpunkte() {
    const float bx = tisch.bande_x, by = tisch.bande_y;
    const float w = tisch.breite, h = tisch.hoehe;
    const float te = tisch.tol_ecke, xe = tisch.xe;
    Vektor* t = Taschenpunkte;
    // Je Tasche: der Taschenpunkt selbst, dann zwei Punkte te daneben.
    t[0] = {bx, by, 0};           t[1] = {bx + te, by, 0};          t[2] = {bx, by + te, 0};
    t[3] = {bx, h - by, 0};       t[4] = {bx + te, h - by, 0};      t[5] = {bx, h - by - te, 0};
    t[6] = {xe, by, 0};           t[7] = {xe + te, by, 0};          t[8] = {xe - te, by, 0};
    t[9] = {xe, h - by, 0};       t[10] = {xe + te, h - by, 0};     t[11] = {xe - te, h - by, 0};
    t[12] = {w - bx, by, 0};      t[13] = {w - bx - te, by, 0};     t[14] = {w - bx, by + te, 0};
    t[15] = {w - bx, h - by, 0};  t[16] = {w - bx - te, h - by, 0}; t[17] = {w - bx, h - by - te, 0};
}
