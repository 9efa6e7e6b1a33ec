#include "planner/stossstaerke.h"

#include <cmath>
#include <numbers>

double GradInBogenmass(float grad) { return (static_cast<double>(grad) + grad) * std::numbers::pi * (1.0 / 360.0); }

float StartGeschwindigkeit(float strecke, float vEnde, const Physik& p) {
    // Eine negative Strecke zählt als 0: die Geschwindigkeit bleibt.
    const double s = std::max(0.0, 0.01 * strecke);
    return static_cast<float>(std::sqrt(static_cast<double>(vEnde) * vEnde + 0.7 * p.u * p.g * s));
}

float GeschwindigkeitVorStoss(float winkel, float vNach) {
    return static_cast<float>(vNach / std::cos(GradInBogenmass(180.0f - winkel)));
}

float GeschwindigkeitVorBande(Vektor zurueck, Vektor weiter, float vNach, const Physik& p) {
    const float h = Winkel(zurueck, weiter) / 2.0f;  // Winkel zur Bandennormalen
    const double b = GradInBogenmass(h);
    const double t = std::tan(b);
    return static_cast<float>(vNach / (std::cos(b) * std::sqrt(t * t + static_cast<double>(p.k) * p.k)));
}

float BerechneStossstaerke(const Stoss& s, const Physik& p, float r) {
    const float d = 2.0f * r;
    const float vend = p.vend;
    float v;
    switch (s.art) {
        case WeisseKugelLoch:
            v = StartGeschwindigkeit(Abstand(s.ziel, s.tasche) - d, vend, p);
            v = GeschwindigkeitVorStoss(s.winkel, v);
            return StartGeschwindigkeit(Abstand(s.weiss, s.ziel), v, p);
        case WeisseBandeKugelLoch:
            v = StartGeschwindigkeit(Abstand(s.ziel, s.tasche) - d, vend, p);
            v = GeschwindigkeitVorStoss(s.winkel, v);
            v = StartGeschwindigkeit(Abstand(s.bande, s.ziel) - r, v, p);
            v = GeschwindigkeitVorBande(Subtrahiere(s.weiss, s.bande), Subtrahiere(s.ziel, s.bande), v, p);
            return StartGeschwindigkeit(Abstand(s.bande, s.weiss) - r, v, p);
        case WeisseKugelBandeLoch:
            v = StartGeschwindigkeit(Abstand(s.bande, s.tasche) - r, vend, p);
            v = GeschwindigkeitVorBande(Subtrahiere(s.ziel, s.bande), Subtrahiere(s.tasche, s.bande), v, p);
            v = StartGeschwindigkeit(Abstand(s.bande, s.ziel) - 3.0f * r, v, p);
            v = GeschwindigkeitVorStoss(s.winkel, v);
            return StartGeschwindigkeit(Abstand(s.weiss, s.ziel), v, p);
        case WeisseKugelKugelLoch:
            v = StartGeschwindigkeit(Abstand(s.ziel, s.tasche) - d, vend, p);
            v = GeschwindigkeitVorStoss(s.winkel, v);
            v = StartGeschwindigkeit(Abstand(s.zwischenziel, s.ziel) - d, v, p);
            v = GeschwindigkeitVorStoss(s.winkel2, v);
            return StartGeschwindigkeit(Abstand(s.weiss, s.zwischenziel), v, p);
        case NurAnspielen:
        case UngewisserStoss:
            return StartGeschwindigkeit(Abstand(s.weiss, s.ziel) - d, vend, p);
        default:
            return vend;
    }
}
