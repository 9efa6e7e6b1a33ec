#include "model/tisch.h"

void SetzeStandardaufstellung(const Tisch& tisch, Spielstand& stand) {
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
