#include "lernen/kenngroessen.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// Bandenreibung von hier an: sie begrenzt nur noch fast streifende Stöße,
// und die Welt rechnet wie ohne Grenze (0).
constexpr double kUnbegrenzt = 5.0;

// Grenzen, in denen die Physik Sinn behält: Stoßzahlen und Anteile höchstens 1.
constexpr Kenngroessenart kArten[kAnzahlKenngroessen] = {
    {"gleitreibung", 1.0, 100.0, 10.0, 0.0},  // als Vielfaches der Rollreibung
    {"stosszahl_kugel", 0.2, 1.0, 1.0, 100.0},
    {"kugelreibung", 0.0, 0.5, 0.1, 100.0},
    {"bande_normal", 0.2, 1.0, 1.0, 100.0},
    {"bande_tangential", 0.2, 1.0, 1.0, 100.0},
    {"bande_drall", -1.0, 1.0, 0.1, 100.0},     // negativ: die Bande kehrt den Drall um
    {"bande_abfall", 0.0, 5.0, 0.1, 100.0},
    {"bande_reibung", 0.02, kUnbegrenzt, 0.1, 100.0},
    {"staerke_faktor", 0.1, 10.0, 1.0, 100.0},
    {"richtung_versatz", -10.0, 10.0, 0.1, 100.0},  // Grad
};

constexpr double kGrad = 180.0 / std::numbers::pi;

}  // namespace

const Kenngroessenart& Art(Kenngroesse k) { return kArten[static_cast<int>(k)]; }

Kenngroessen AusWelt(const Welt& w) {
    // Ein Versatz von 359.8° ist einer von −0.2°.
    double versatz = std::remainder(w.richtungVersatz * kGrad, 360.0);
    if (versatz == -180.0) versatz = 180.0;
    return {w.aRollen > 0.0 ? w.aGleiten / w.aRollen : 0.0,
            w.eKugel,
            w.kugelReibung,
            w.eNormal,
            w.eTangential,
            w.bandeDrall,
            w.bandeAbfall,
            w.bandeReibung > 0.0 ? std::min(w.bandeReibung, kUnbegrenzt) : kUnbegrenzt,
            w.staerkeFaktor,
            versatz};
}

Welt InWelt(const Kenngroessen& k, const Welt& basis) {
    Welt w = basis;
    w.aGleiten = k[0] * basis.aRollen;
    w.eKugel = k[1];
    w.kugelReibung = k[2];
    w.eNormal = k[3];
    w.eTangential = k[4];
    w.bandeDrall = k[5];
    w.bandeAbfall = k[6];
    w.bandeReibung = k[7] >= kUnbegrenzt ? 0.0 : k[7];
    w.staerkeFaktor = k[8];
    w.richtungVersatz = k[9] / kGrad;
    return w;
}

double InHundertstel(Kenngroesse k, double wert, const Welt& basis, double g) {
    if (k == Kenngroesse::gleitreibung) return wert * basis.aRollen / (g * 1e-4);
    return wert * Art(k).hundertstel;
}

double Dateiwert(Kenngroesse k, double wert, const Welt& basis, double g) {
    if (k == Kenngroesse::bande_reibung && wert >= kUnbegrenzt) return 0.0;
    return InHundertstel(k, wert, basis, g);
}

double RollreibungInHundertstel(const Welt& w, double g) { return w.aRollen / (0.35 * g * 1e-4); }

Welt MitRollverzoegerung(const Welt& w, double aRollen) {
    const double lambda = aRollen / w.aRollen, wurzel = std::sqrt(lambda);
    Welt neu = w;
    neu.aRollen = aRollen;
    neu.aGleiten = w.aGleiten * lambda;
    neu.staerkeFaktor = w.staerkeFaktor * wurzel;
    neu.bandeAbfall = w.bandeAbfall / wurzel;
    return neu;
}
