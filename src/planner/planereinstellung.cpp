#include "planner/planereinstellung.h"

#include <algorithm>

Planereinstellung PlanerAus(const IniDatei& ini) {
    auto zahl = [&](const char* schluessel, std::int32_t vorgabe) { return IniGanzzahl(ini, "planer", schluessel, vorgabe); };
    Planereinstellung e;
    e.modus = zahl("modus", 0) == 1u ? Planermodus::robust : Planermodus::vorgegeben;
    // Vorzeichenlos gelesen: eine −1 wäre riesig. Begrenzt, damit eine Suche
    // nie unbegrenzt lange rechnet.
    e.kandidaten = static_cast<int>(std::clamp<std::uint32_t>(zahl("kandidaten", 6), 1, 20));
    e.proben = static_cast<int>(std::clamp<std::uint32_t>(zahl("proben", 32), 1, 256));
    e.rauschen = static_cast<double>(std::min<std::uint32_t>(zahl("rauschen", 100), 1000)) * 0.01;
    e.welt = zahl("welt", 1) == 0u ? Modell::P : Modell::R;
    e.stellung = static_cast<double>(std::min<std::uint32_t>(zahl("stellung", 50), 1000)) * 0.01;
    e.zeitgrenze = static_cast<int>(std::min<std::uint32_t>(zahl("zeitgrenze", 200), 600000));
    e.stoesse = -1;
    e.sicherheit = zahl("sicherheit", 1) != 0u;
    e.sicherheitSchwelle = static_cast<double>(std::min<std::uint32_t>(zahl("sicherheit_schwelle", 50), 100)) * 0.01;
    e.tiefe = zahl("tiefe", 1) == 2u ? 2 : 1;
    e.lernen = zahl("lernen", 0) == 1u;
    e.beobachten = e.lernen || zahl("beobachten", 0) == 1u;
    e.lernenAlle = static_cast<int>(std::clamp<std::uint32_t>(zahl("lernen_alle", 20), 1, 100000));
    e.vertrauenJeArt = zahl("vertrauen_je_art", 0) == 1u;
    e.klassenrauschen.fill(0.0);
    return e;
}

Planereinstellung StossbudgetStattZeit(Planereinstellung e) {
    if (e.zeitgrenze > 0) e.stoesse = e.zeitgrenze * kStoesseJeMillisekunde;
    e.zeitgrenze = 0;
    return e;
}
