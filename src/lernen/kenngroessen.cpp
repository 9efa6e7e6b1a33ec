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
    // Das Bandengesetz über Winkel und Gleiten: 0 ist das feste Gesetz.
    {"bande_normal_flach", -0.8, 0.8, 0.1, 100.0},
    {"bande_tangential_flach", -0.8, 0.8, 0.1, 100.0},
    {"bande_drall_flach", -3.0, 3.0, 0.1, 100.0},
    {"bande_gleiten_normal", -1.0, 1.0, 0.1, 100.0},
    {"bande_gleiten_drall", -1.0, 1.0, 0.1, 100.0},
    {"bande_gleiten_laengs", -1.0, 1.0, 0.1, 100.0},
    {"staerke_faktor", 0.1, 10.0, 1.0, 100.0},
    {"richtung_versatz", -10.0, 10.0, 0.1, 100.0},  // Grad
};

constexpr double kGrad = 180.0 / std::numbers::pi;

}  // namespace

const Kenngroessenart& Art(Kenngroesse k) { return kArten[static_cast<int>(k)]; }

Kenngroessen AusWelt(const Welt& w) {
    using K = Kenngroesse;
    // Ein Versatz von 359.8° ist einer von −0.2°.
    double versatz = std::remainder(w.richtungVersatz * kGrad, 360.0);
    if (versatz == -180.0) versatz = 180.0;
    Kenngroessen k{};
    auto setze = [&k](K j, double wert) { k[static_cast<std::size_t>(j)] = wert; };
    setze(K::gleitreibung, w.aRollen > 0.0 ? w.aGleiten / w.aRollen : 0.0);
    setze(K::stosszahl_kugel, w.eKugel);
    setze(K::kugelreibung, w.kugelReibung);
    setze(K::bande_normal, w.eNormal);
    setze(K::bande_tangential, w.eTangential);
    setze(K::bande_drall, w.bandeDrall);
    setze(K::bande_abfall, w.bandeAbfall);
    setze(K::bande_reibung, w.bandeReibung > 0.0 ? std::min(w.bandeReibung, kUnbegrenzt) : kUnbegrenzt);
    setze(K::bande_normal_flach, w.bandeNormalFlach);
    setze(K::bande_tangential_flach, w.bandeTangentialFlach);
    setze(K::bande_drall_flach, w.bandeDrallFlach);
    setze(K::bande_gleiten_normal, w.bandeGleitenNormal);
    setze(K::bande_gleiten_drall, w.bandeGleitenDrall);
    setze(K::bande_gleiten_laengs, w.bandeGleitenLaengs);
    setze(K::staerke_faktor, w.staerkeFaktor);
    setze(K::richtung_versatz, versatz);
    return k;
}

Welt InWelt(const Kenngroessen& k, const Welt& basis) {
    using K = Kenngroesse;
    auto wert = [&k](K j) { return k[static_cast<std::size_t>(j)]; };
    Welt w = basis;
    w.aGleiten = wert(K::gleitreibung) * basis.aRollen;
    w.eKugel = wert(K::stosszahl_kugel);
    w.kugelReibung = wert(K::kugelreibung);
    w.eNormal = wert(K::bande_normal);
    w.eTangential = wert(K::bande_tangential);
    w.bandeDrall = wert(K::bande_drall);
    w.bandeAbfall = wert(K::bande_abfall);
    w.bandeReibung = wert(K::bande_reibung) >= kUnbegrenzt ? 0.0 : wert(K::bande_reibung);
    w.bandeNormalFlach = wert(K::bande_normal_flach);
    w.bandeTangentialFlach = wert(K::bande_tangential_flach);
    w.bandeDrallFlach = wert(K::bande_drall_flach);
    w.bandeGleitenNormal = wert(K::bande_gleiten_normal);
    w.bandeGleitenDrall = wert(K::bande_gleiten_drall);
    w.bandeGleitenLaengs = wert(K::bande_gleiten_laengs);
    w.staerkeFaktor = wert(K::staerke_faktor);
    w.richtungVersatz = wert(K::richtung_versatz) / kGrad;
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
