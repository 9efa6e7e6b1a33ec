#include "sim/welt.h"

#include <algorithm>

#include "model/konfiguration.h"

namespace {

double Hundertstel(const IniDatei& ini, const char* schluessel, std::int32_t vorgabe) {
    return static_cast<double>(static_cast<float>(IniGanzzahl(ini, "simulation", schluessel, vorgabe)) * 0.01f);
}

double MitVorzeichen(const IniDatei& ini, const char* schluessel) {
    return static_cast<double>(static_cast<float>(static_cast<std::int32_t>(IniGanzzahl(ini, "simulation", schluessel, 0))) * 0.01f);
}

}  // namespace

Welt WeltAus(const IniDatei& ini, Modell modell) {
    const Physik p = PhysikAus(ini);
    const bool r = modell == Modell::R;
    Welt w;
    w.modell = modell;
    w.bandengesetz = IniGanzzahl(ini, "simulation", "bandengesetz", 0) == 1u ? Bandengesetz::komponenten
                                                                               : Bandengesetz::spiegel;
    // Dieselbe Verzögerung, mit der die Stoßstärke rechnet: v² = vEnde² + 0.7·u·g·0.01·s.
    // Das Tuch des Tisches (R) darf anders rollen als das, mit dem der Planer rechnet.
    const std::int32_t u = static_cast<std::int32_t>(IniGanzzahl(ini, "physik", "u", 30));
    const double rollen = r ? Hundertstel(ini, "rollreibung", u) : static_cast<double>(p.u);
    w.aRollen = 0.35 * rollen * static_cast<double>(p.g) * 0.01;
    w.k = p.k;
    w.aGleiten = Hundertstel(ini, "gleitreibung", 140) * static_cast<double>(p.g) * 0.01;
    w.eKugel = r ? Hundertstel(ini, "stosszahl_kugel", 95) : 1.0;
    w.eNormal = Hundertstel(ini, "bande_normal", 85);
    w.eTangential = Hundertstel(ini, "bande_tangential", 95);
    // Mit Vorzeichen wie richtung_versatz: eine Bande kann den Drall umkehren.
    w.bandeDrall = static_cast<double>(
        static_cast<float>(static_cast<std::int32_t>(IniGanzzahl(ini, "simulation", "bande_drall", 10))) * 0.01f);
    w.bandeAbfall = Hundertstel(ini, "bande_abfall", 0);
    w.kugelReibung = r ? Hundertstel(ini, "kugelreibung", 6) : 0.0;
    w.staerkeFaktor = r ? Hundertstel(ini, "staerke_faktor", 100) : 1.0;
    // Als einziger Wert mit Vorzeichen gelesen: ein Versatz ist ebenso oft negativ.
    const auto versatz = static_cast<std::int32_t>(IniGanzzahl(ini, "simulation", "richtung_versatz", 0));
    w.richtungVersatz = r ? static_cast<double>(static_cast<float>(versatz) * 0.01f) * (3.14159265358979323846 / 180.0) : 0.0;
    w.bandeReibung = r ? Hundertstel(ini, "bande_reibung", 0) : 0.0;
    if (r) {
        w.bandeNormalFlach = MitVorzeichen(ini, "bande_normal_flach");
        w.bandeTangentialFlach = MitVorzeichen(ini, "bande_tangential_flach");
        w.bandeDrallFlach = MitVorzeichen(ini, "bande_drall_flach");
        w.bandeGleitenNormal = MitVorzeichen(ini, "bande_gleiten_normal");
        w.bandeGleitenDrall = MitVorzeichen(ini, "bande_gleiten_drall");
        w.bandeGleitenLaengs = MitVorzeichen(ini, "bande_gleiten_laengs");
    }
    if (r && IniGanzzahl(ini, "simulation", "wurf_art", 0) == 1u) {
        w.wurfart = Wurfart::schnell;
        w.wurfAbfall = Hundertstel(ini, "wurf_abfall", 109);
    }
    if (const std::uint32_t art = IniGanzzahl(ini, "simulation", "bande_art", 0); r && (art == 1u || art == 2u)) {
        w.bandenart = art == 1u ? Bandenart::nase : Bandenart::tuch;
        // Höhe der Nase über dem Tuch in Hundertsteln des Radius, von der Mitte
        // bis 1.5 Radien (Pool 1.27, Snooker 1.4); darüber drückte sie die
        // Kugel mehr ins Tuch als zurück, und das Tuch kennt das Gesetz nicht.
        w.naseSinus = std::clamp(Hundertstel(ini, "bande_nase", 140) - 1.0, 0.0, 0.5);
        w.naseReibung = Hundertstel(ini, "bande_nase_reibung", 20);
        // Mehr als 1 hielte die Kugel fest, statt sie zu bremsen.
        if (art == 2u) w.tuchReibung = std::min(Hundertstel(ini, "bande_tuch_reibung", 21), 1.0);
    }
    return w;
}

Welt LadeWelt(const std::string& pfad, Modell modell) {
    IniDatei ini;
    LeseIniDatei(pfad, ini);
    return WeltAus(ini, modell);
}

const char* Modellname(Modell m) { return m == Modell::P ? "P" : "R"; }
