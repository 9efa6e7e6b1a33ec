// Einen Bericht aus JSON zurücklesen, ohne Ausnahmen nach außen: jeder fehlende
// oder falsch getypte Schlüssel gibt false und eine deutsche Meldung.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "spiel/bereiche.h"

struct JsonLeser {
    const nlohmann::json& j;
    std::string& fehler;
    const char* praefix = "";

    bool Falsch(const std::string& text) const {
        fehler = text;
        return false;
    }
    const nlohmann::json* Wert(const char* schluessel) const {
        const auto w = j.is_object() ? j.find(schluessel) : j.end();
        if (w != j.end()) return &*w;
        Fehlt(schluessel, "vorhanden");
        return nullptr;
    }
    template <typename Ganzzahl>
    bool Ganz(const char* schluessel, Ganzzahl& z) const {
        const nlohmann::json* w = Wert(schluessel);
        if (!w) return false;
        if (w->is_number_unsigned() && std::in_range<Ganzzahl>(w->get<std::uint64_t>())) {
            z = static_cast<Ganzzahl>(w->get<std::uint64_t>());
            return true;
        }
        if (w->is_number_integer() && std::in_range<Ganzzahl>(w->get<std::int64_t>())) {
            z = static_cast<Ganzzahl>(w->get<std::int64_t>());
            return true;
        }
        return Fehlt(schluessel, "eine ganze Zahl im Bereich");
    }
    bool Zahl(const char* schluessel, double& z) const {
        const nlohmann::json* w = Wert(schluessel);
        if (!w) return false;
        if (!w->is_number()) return Fehlt(schluessel, "eine Zahl");
        z = w->get<double>();
        return true;
    }
    bool Text(const char* schluessel, std::string& t) const {
        const nlohmann::json* w = Wert(schluessel);
        if (!w) return false;
        if (!w->is_string()) return Fehlt(schluessel, "ein Text");
        t = w->get<std::string>();
        return true;
    }
    const nlohmann::json* Objekt(const char* schluessel) const {
        const nlohmann::json* w = Wert(schluessel);
        if (!w || w->is_object()) return w;
        Fehlt(schluessel, "ein Objekt");
        return nullptr;
    }

private:
    bool Fehlt(const char* schluessel, const char* erwartet) const {
        fehler = std::string("\"") + praefix + schluessel + "\" ist nicht " + erwartet;
        return false;
    }
};

nlohmann::ordered_json BereicheAlsJson(const std::vector<Bereich>& bereiche);
// Eine Liste [[von, bis], …] ohne Überschneidung; false mit Meldung sonst.
bool LeseBereiche(const JsonLeser& l, const char* schluessel, std::vector<Bereich>& bereiche);
