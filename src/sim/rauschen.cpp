#include "sim/rauschen.h"

#include <algorithm>
#include <cmath>
#include <numbers>

void Normalpaar(std::mt19937_64& zufall, double& z1, double& z2) {
    // 53 Bit je Zahl, in (0, 1]: der Logarithmus bekommt nie 0.
    const double u1 = (static_cast<double>(zufall() >> 11) + 1.0) * 0x1.0p-53;
    const double u2 = static_cast<double>(zufall() >> 11) * 0x1.0p-53;
    const double r = std::sqrt(-2.0 * std::log(u1));
    z1 = r * std::cos(2.0 * std::numbers::pi * u2);
    z2 = r * std::sin(2.0 * std::numbers::pi * u2);
}

Vektor VerrauscheStoss(Vektor stoss, double faktor, std::mt19937_64& zufall) {
    double zr, zs;
    Normalpaar(zufall, zr, zs);
    return VerrauscheStoss(stoss, faktor, zr, zs);
}

Vektor VerrauscheStoss(Vektor stoss, double faktor, double zr, double zs) {
    if (faktor == 0.0) return stoss;
    const double staerke = std::hypot(static_cast<double>(stoss.x), static_cast<double>(stoss.y));
    const double richtung = std::atan2(static_cast<double>(stoss.y), static_cast<double>(stoss.x)) +
                            zr * kStreuungRichtungGrad * faktor * std::numbers::pi / 180.0;
    const double neu = std::max(0.0, staerke + zs * kStreuungStaerke * faktor);
    return {static_cast<float>(neu * std::cos(richtung)), static_cast<float>(neu * std::sin(richtung)), 0.0f};
}
