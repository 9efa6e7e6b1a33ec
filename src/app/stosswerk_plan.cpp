// stosswerk-plan: lädt den Tisch und zeigt ihn (der Planer folgt).
#include <cstdio>

#include "model/konfiguration.h"
#include "model/tisch.h"

int main() {
    LadeTisch(tisch, Konfigurationsdatei());
    BerechneTaschenpunkte();
    std::printf("Tisch %.2f x %.2f, Banden %.2f / %.2f, Radius %.2f\n", tisch.breite, tisch.hoehe,
                tisch.bande_x, tisch.bande_y, tisch.radius);
    for (int j = 0; j < kAnzahlTaschenpunkte; ++j)
        std::printf("Taschenpunkt %2d: %.2f / %.2f\n", j, Taschenpunkte[j].x, Taschenpunkte[j].y);
    return 0;
}
