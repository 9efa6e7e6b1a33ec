#include "einstellungen.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

struct Schluessel {
    const char* name;
    std::int32_t vorgabe;
};

// Die Vorgaben von PlanerAus, WeltAus und PhysikAus: so liest sie auch der Spieler.
constexpr Schluessel kPlaner[] = {{"modus", 0},       {"kandidaten", 6},         {"proben", 32},
                                  {"rauschen", 100},  {"welt", 1},               {"stellung", 50},
                                  {"zeitgrenze", 200}, {"sicherheit", 1},        {"sicherheit_schwelle", 50},
                                  {"lernen", 0},      {"beobachten", 0},         {"lernen_alle", 20}};
constexpr Schluessel kPhysik[] = {{"g", 981}, {"u", 30}, {"k", 20}, {"vend", 10}, {"vmax", 500}};
constexpr Schluessel kSimulation[] = {{"bandengesetz", 0},      {"gleitreibung", 140},   {"stosszahl_kugel", 95},
                                      {"bande_normal", 85},     {"bande_tangential", 95}, {"bande_drall", 10},
                                      {"bande_abfall", 0},      {"kugelreibung", 6},     {"staerke_faktor", 100}};

template <std::size_t N>
nlohmann::ordered_json Werte(const IniDatei& ini, const char* sektion, const Schluessel (&tabelle)[N]) {
    nlohmann::ordered_json j = nlohmann::ordered_json::object();
    for (const Schluessel& s : tabelle) j[s.name] = IniGanzzahl(ini, sektion, s.name, s.vorgabe);
    return j;
}

nlohmann::ordered_json Simulation(const IniDatei& ini) {
    nlohmann::ordered_json j = Werte(ini, "simulation", kSimulation);
    // rollreibung fällt auf [physik] u zurück; richtung_versatz und bande_drall tragen ein Vorzeichen.
    j["rollreibung"] = IniGanzzahl(ini, "simulation", "rollreibung",
                                   static_cast<std::int32_t>(IniGanzzahl(ini, "physik", "u", 30)));
    j["richtung_versatz"] = static_cast<std::int32_t>(IniGanzzahl(ini, "simulation", "richtung_versatz", 0));
    j["bande_drall"] = static_cast<std::int32_t>(IniGanzzahl(ini, "simulation", "bande_drall", 10));  // ebenso
    // Das zweite Bandengesetz steht nur im Bericht, wenn es gilt: Berichte mit
    // dem ersten bleiben, wie sie waren, und lassen sich weiter zusammenlegen.
    if (const std::uint32_t art = IniGanzzahl(ini, "simulation", "bande_art", 0); art == 1u || art == 2u) {
        j["bande_art"] = art;
        j["bande_nase"] = IniGanzzahl(ini, "simulation", "bande_nase", 140);
        j["bande_nase_reibung"] = IniGanzzahl(ini, "simulation", "bande_nase_reibung", 20);
        if (art == 2u) j["bande_tuch_reibung"] = IniGanzzahl(ini, "simulation", "bande_tuch_reibung", 21);
    }
    if (const std::uint32_t reibung = IniGanzzahl(ini, "simulation", "bande_reibung", 0)) j["bande_reibung"] = reibung;
    if (IniGanzzahl(ini, "simulation", "wurf_art", 0) == 1u) {
        j["wurf_art"] = 1;
        j["wurf_abfall"] = IniGanzzahl(ini, "simulation", "wurf_abfall", 109);
    }
    // Ebenso das Winkelgesetz der Bande, mit Vorzeichen.
    for (const char* name : {"bande_normal_flach", "bande_tangential_flach", "bande_drall_flach", "bande_gleiten_normal",
                             "bande_gleiten_drall", "bande_gleiten_laengs"})
        if (const auto wert = static_cast<std::int32_t>(IniGanzzahl(ini, "simulation", name, 0))) j[name] = wert;
    return j;
}

std::string Klein(std::string_view s) {
    std::string k(s);
    for (char& c : k)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return k;
}

// Wessen Einstellungen unter diesem Schlüssel stehen.
std::string Wer(const std::string& schluessel) {
    if (schluessel == "a") return "Spieler A";
    if (schluessel == "b") return "Spieler B";
    if (schluessel == "spieler") return "Spieler";
    if (schluessel == "schiedsrichter") return "Schiedsrichter";
    return schluessel;
}

std::string Wert(const nlohmann::json* w) { return w ? (w->is_string() ? w->get<std::string>() : w->dump()) : "(fehlt)"; }

// Der erste Unterschied zweier Sektionen (Objekte Schlüssel → Wert), in beiden Richtungen.
std::string Sektionsunterschied(const nlohmann::json& t, const nlohmann::json& e) {
    for (const auto* seite : {&e, &t}) {
        if (!seite->is_object()) continue;
        for (auto it = seite->begin(); it != seite->end(); ++it) {
            const std::string& k = it.key();
            const nlohmann::json* a = t.is_object() && t.contains(k) ? &t[k] : nullptr;
            const nlohmann::json* b = e.is_object() && e.contains(k) ? &e[k] : nullptr;
            if (!a || !b || *a != *b) return k + "=" + Wert(a) + " statt " + Wert(b);
        }
    }
    return {};
}

}  // namespace

nlohmann::ordered_json WeltAlsJson(const IniDatei& ini, const std::string& datei) {
    nlohmann::ordered_json j;
    j["datei"] = datei;
    j["simulation"] = Simulation(ini);
    j["physik"] = Werte(ini, "physik", kPhysik);
    return j;
}

nlohmann::ordered_json EinstellungenAlsJson(const IniDatei& ini, const std::string& datei) {
    nlohmann::ordered_json j;
    j["datei"] = datei;
    j["planer"] = Werte(ini, "planer", kPlaner);
    // Nur wenn sie gilt: Berichte mit tiefe 1 bleiben, wie sie waren.
    if (IniGanzzahl(ini, "planer", "tiefe", 1) == 2u) j["planer"]["tiefe"] = 2;
    j["simulation"] = Simulation(ini);
    j["physik"] = Werte(ini, "physik", kPhysik);
    // Der Tisch, auf dem der Spieler plant: nur was in der Datei steht.
    nlohmann::ordered_json tisch = nlohmann::ordered_json::object();
    for (const IniEintrag& e : ini.eintraege) {
        const std::string sektion = Klein(e.sektion);
        if (sektion != "tisch" && sektion != "toleranz" && sektion != "kugeln") continue;
        const std::string name = sektion + "." + Klein(e.schluessel);
        if (!tisch.contains(name)) tisch[name] = std::string(e.wert);
    }
    j["tisch"] = tisch;
    return j;
}

nlohmann::ordered_json EinstellungenAusDatei(const std::string& pfad, bool nurWelt) {
    IniDatei ini;
    LeseIniDatei(pfad, ini);
    return nurWelt ? WeltAlsJson(ini, pfad) : EinstellungenAlsJson(ini, pfad);
}

std::string Einstellungsunterschied(const nlohmann::json& teil, const nlohmann::json& erwartet) {
    if (teil == erwartet) return {};
    // Erst die Spieler, dann der Schiedsrichter: der Spieler ist meist gemeint.
    std::vector<std::string> wen = {"a", "b", "spieler", "schiedsrichter"};
    for (const auto* seite : {&erwartet, &teil})
        if (seite->is_object())
            for (auto it = seite->begin(); it != seite->end(); ++it)
                if (std::find(wen.begin(), wen.end(), it.key()) == wen.end()) wen.push_back(it.key());
    for (const std::string& wer : wen) {
        const nlohmann::json t = teil.is_object() && teil.contains(wer) ? teil[wer] : nlohmann::json();
        const nlohmann::json e = erwartet.is_object() && erwartet.contains(wer) ? erwartet[wer] : nlohmann::json();
        if (t == e) continue;
        if (!t.is_object() || !e.is_object())
            return Wer(wer) + (t.is_object() ? " plant im Prozess, erwartet über das Netz"
                                             : e.is_object() ? " spielt über das Netz, erwartet im Prozess"
                                                             : " anders");
        for (const char* sektion : {"planer", "simulation", "physik", "tisch"}) {
            const nlohmann::json ts = t.contains(sektion) ? t[sektion] : nlohmann::json();
            const nlohmann::json es = e.contains(sektion) ? e[sektion] : nlohmann::json();
            const std::string u = Sektionsunterschied(ts, es);
            if (!u.empty()) return Wer(wer) + " [" + sektion + "] " + u;
        }
    }
    return {};  // nur die Pfade unterscheiden sich
}
