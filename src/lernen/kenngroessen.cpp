#include "lernen/kenngroessen.h"

#include <cmath>
#include <numbers>

namespace {

// Grenzen, in denen die Physik Sinn behält: Stoßzahlen und Anteile höchstens 1.
constexpr Kenngroessenart kArten[kAnzahlKenngroessen] = {
    {"gleitreibung", 1.0, 100.0, 10.0, 0.0},  // als Vielfaches der Rollreibung
    {"stosszahl_kugel", 0.2, 1.0, 1.0, 100.0},
    {"kugelreibung", 0.0, 0.5, 0.1, 100.0},
    {"bande_normal", 0.2, 1.0, 1.0, 100.0},
    {"bande_tangential", 0.2, 1.0, 1.0, 100.0},
    {"bande_drall", 0.0, 1.0, 0.1, 100.0},
    {"bande_abfall", 0.0, 5.0, 0.1, 100.0},
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
    w.staerkeFaktor = k[7];
    w.richtungVersatz = k[8] / kGrad;
    return w;
}

double InHundertstel(Kenngroesse k, double wert, const Welt& basis, double g) {
    if (k == Kenngroesse::gleitreibung) return wert * basis.aRollen / (g * 1e-4);
    return wert * Art(k).hundertstel;
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
