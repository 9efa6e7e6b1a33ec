// Die gemeinsamen Datensätze: Tisch, Kugel, Spielstand und die 18 Taschenpunkte.
// Längen in Tischeinheiten (float), Ursprung an der äußeren Tischecke,
// x entlang der Breite, y entlang der Höhe; z ist immer 0.
#pragma once

#include <cstdint>

#include "geometry/vektor.h"

struct Kugel {
    float x;
    float y;
    float z;
    std::uint8_t inloch;      // 1: eingelocht, nie Hindernis, nie Ziel
    float radius;             // im Spielstand immer eine Kopie von Tisch.radius
    std::int32_t zieltasche;  // 0: jede Tasche, 1..6: Taschennummer + 1, sonst keine
};

inline Vektor Lage(const Kugel& k) { return {k.x, k.y, k.z}; }

enum Kugelgruppe : std::int32_t {
    halbe = 0,  // die halben Kugeln 9..15
    volle = 1,  // die vollen Kugeln 1..7
    alle = 2,   // beide Gruppen
};

constexpr int kAnzahlKugeln = 16;
constexpr int kAnzahlTaschenpunkte = 18;

struct Spielstand {
    Kugel kugeln[kAnzahlKugeln];
    std::int32_t gruppe;  // eine Kugelgruppe; aus dem Netz kann auch anderes kommen
};

struct Tisch {
    float xa, xb, xc, xd, xe, xf, xg, xh, xi;
    float ya, yb, yc, yd;
    float breite, hoehe;
    float bande_x, bande_y;
    float tol_winkel, tol_ecke, tol_abstand;
    float radius;
    Kugel kugeln[kAnzahlKugeln];  // Grundaufstellung: nur x, y, inloch, zieltasche
};

// Die Grundaufstellung des Tisches mit der Gruppe halbe.
void SetzeStandardaufstellung(const Tisch& tisch, Spielstand& stand);
