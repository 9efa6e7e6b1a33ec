#include "planner/hoechststaerke.h"

#include <algorithm>
#include <cmath>

float Hoechststaerke(const Physik& physik) {
    // Je Achse höchstens 0.00005 Rundung: zusammen unter 0.0001.
    const float grenze = physik.vmax - 0.0001f;
    return std::isfinite(grenze) ? std::max(grenze, 0.0f) : 0.0f;
}

Vektor Begrenzt(Vektor stoss, float grenze) {
    if (!std::isfinite(stoss.x) || !std::isfinite(stoss.y)) return {0.0f, 0.0f, 0.0f};
    stoss.z = 0.0f;
    const double laenge = std::hypot(static_cast<double>(stoss.x), static_cast<double>(stoss.y));
    if (laenge <= grenze) return stoss;
    const double f = grenze / laenge;
    Vektor v{static_cast<float>(stoss.x * f), static_cast<float>(stoss.y * f), 0.0f};
    // Das Runden auf float kann die Länge um ein Ulp über die Grenze heben.
    while (Laenge(v) > grenze) v = {std::nextafter(v.x, 0.0f), std::nextafter(v.y, 0.0f), 0.0f};
    return v;
}
