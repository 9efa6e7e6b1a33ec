#include "sim/welt.h"

#include "model/konfiguration.h"

namespace {

double Hundertstel(const IniDatei& ini, const char* schluessel, std::int32_t vorgabe) {
    return static_cast<double>(static_cast<float>(IniGanzzahl(ini, "simulation", schluessel, vorgabe)) * 0.01f);
}

}  // namespace

Welt WeltAus(const IniDatei& ini, Modell modell) {
    const Physik p = PhysikAus(ini);
    Welt w;
    w.modell = modell;
    w.bandengesetz = IniGanzzahl(ini, "simulation", "bandengesetz", 0) == 1u ? Bandengesetz::komponenten
                                                                               : Bandengesetz::spiegel;
    // Dieselbe Verzögerung, mit der die Stoßstärke rechnet: v² = vEnde² + 0.7·u·g·0.01·s.
    w.aRollen = 0.35 * static_cast<double>(p.u) * static_cast<double>(p.g) * 0.01;
    w.k = p.k;
    w.aGleiten = Hundertstel(ini, "gleitreibung", 20) * static_cast<double>(p.g) * 0.01;
    w.eKugel = modell == Modell::P ? 1.0 : Hundertstel(ini, "stosszahl_kugel", 95);
    w.eNormal = Hundertstel(ini, "bande_normal", 85);
    w.eTangential = Hundertstel(ini, "bande_tangential", 95);
    return w;
}

Welt LadeWelt(const std::string& pfad, Modell modell) {
    IniDatei ini;
    LeseIniDatei(pfad, ini);
    return WeltAus(ini, modell);
}

const char* Modellname(Modell m) { return m == Modell::P ? "P" : "R"; }
