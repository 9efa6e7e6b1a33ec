#include "zusammenfassen.h"

#include <fstream>

#include <nlohmann/json.hpp>

#include "ablauf.h"
#include "bericht.h"
#include "einstellungen.h"
#include "partieausgabe.h"
#include "spiel/aufnahmebericht.h"
#include "spiel/json_lesen.h"
#include "spiel/partiebericht.h"

namespace {

// Liest Datei pfad als JSON; false mit Meldung.
bool LeseJson(const std::string& pfad, nlohmann::json& j, std::string& fehler) {
    std::ifstream datei(pfad, std::ios::binary);
    if (!datei) {
        fehler = "nicht lesbar";
        return false;
    }
    j = nlohmann::json::parse(datei, nullptr, false);
    if (j.is_discarded()) {
        fehler = "kein JSON";
        return false;
    }
    return true;
}

// Legt alle Berichte einer Art zusammen; false mit Meldung (welche Datei, warum).
template <typename Bericht>
bool LegeAlleZusammen(const Optionen& o, const std::vector<nlohmann::json>& berichte, Bericht& gesamt,
                      std::string& fehler) {
    for (std::size_t i = 0; i < berichte.size(); ++i) {
        Bericht b;
        std::string grund;
        if (!AusJson(berichte[i], b, grund) || (i > 0 && !LegeZusammen(gesamt, b, grund))) {
            fehler = o.dateien[i] + ": " + grund;
            return false;
        }
        if (i == 0) gesamt = b;
    }
    return true;
}

// Ein Teil mit anderen Einstellungen als der erste gehört zu einem anderen
// Lauf, auch wenn Saat, Welt und Spielernamen gleich sind; false mit Meldung.
bool PruefeEinstellungen(const Optionen& o, const std::vector<nlohmann::json>& berichte, std::string& fehler) {
    const auto einstellungen = [](const nlohmann::json& j) {
        return j.is_object() && j.contains("einstellungen") ? j["einstellungen"] : nlohmann::json();
    };
    const nlohmann::json erste = einstellungen(berichte[0]);
    for (std::size_t i = 1; i < berichte.size(); ++i) {
        const nlohmann::json teil = einstellungen(berichte[i]);
        if (teil.is_null() != erste.is_null()) {
            fehler = "Teil " + o.dateien[i] + ": " +
                     (teil.is_null() ? "ohne Einstellungen, " + o.dateien[0] + " mit"
                                     : "mit Einstellungen, " + o.dateien[0] + " ohne") +
                     " (ein Bericht einer älteren Fassung); ob sie gleich waren, ist nicht zu prüfen";
            return false;
        }
        if (const std::string u = Einstellungsunterschied(teil, erste); !u.empty()) {
            fehler = "Teil " + o.dateien[i] + ": " + u;
            return false;
        }
    }
    return true;
}

// Die Gestelle jedes Teils (ältere Berichte: die mit gezählten Partien) ohne Überschneidung.
bool Gestelle(const Optionen& o, const std::vector<nlohmann::json>& berichte, std::vector<Bereich>& alle,
              std::string& fehler) {
    for (std::size_t i = 0; i < berichte.size(); ++i) {
        std::vector<Bereich> teil;
        std::string grund;
        const JsonLeser l{berichte[i], grund};
        if (!LeseBereiche(l, berichte[i].contains("bereiche") ? "bereiche" : "gestelle", teil)) {
            fehler = o.dateien[i] + ": " + grund;
            return false;
        }
        for (const Bereich& b : teil) {
            if (!FuegeBereichHinzu(alle, b)) {
                fehler = o.dateien[i] + ": die Gestelle " + std::to_string(b.von) + "–" + std::to_string(b.bis) +
                         " sind schon gezählt";
                return false;
            }
        }
    }
    return true;
}

std::vector<Bereich> Luecken(const std::vector<Bereich>& bereiche) {
    std::vector<Bereich> luecken;
    for (std::size_t i = 1; i < bereiche.size(); ++i) luecken.push_back({bereiche[i - 1].bis + 1, bereiche[i].von - 1});
    return luecken;
}

std::string AlsText(const std::vector<Bereich>& bereiche) {
    std::string t;
    for (const Bereich& b : bereiche)
        t += (t.empty() ? "" : ", ") + std::to_string(b.von) + (b.von == b.bis ? "" : "–" + std::to_string(b.bis));
    return t.empty() ? "keine" : t;
}

// Was die Teile zusammen umfassen, wo Lücken sind und ob einer abgebrochen war.
struct Umfang {
    std::vector<Bereich> bereiche;
    bool unvollstaendig = false;
    const char* einheit;  // "Tische" oder "Gestelle"
};

void ErgaenzeJson(nlohmann::ordered_json& j, const Umfang& u, const nlohmann::json& einstellungen) {
    j["bereiche"] = BereicheAlsJson(u.bereiche);
    j["luecken"] = BereicheAlsJson(Luecken(u.bereiche));
    if (!einstellungen.is_null()) j["einstellungen"] = einstellungen;
    j["unvollstaendig"] = u.unvollstaendig;
}

void SchreibeUmfang(std::ostream& aus, const Umfang& u, std::size_t teile) {
    aus << u.einheit << ": " << AlsText(u.bereiche) << " (aus " << teile << (teile == 1 ? " Teil" : " Teilen") << ")\n";
    if (!Luecken(u.bereiche).empty()) aus << "Lücken: " << AlsText(Luecken(u.bereiche)) << "\n";
    if (u.unvollstaendig) aus << "Abgebrochen: mindestens ein Teil endete vorzeitig\n";
}

// --erwartet: genau von–bis, ohne Lücke; false mit Meldung.
bool PruefeErwartet(const Optionen& o, const Umfang& u, std::string& fehler) {
    if (o.erwartetBis == 0) return true;
    const Bereich erwartet{o.erwartetVon, o.erwartetBis};
    if (u.bereiche.size() == 1 && u.bereiche[0] == erwartet) return true;
    fehler = std::string("erwartet sind die ") + u.einheit + " " + AlsText({erwartet}) + ", die Teile umfassen " +
             AlsText(u.bereiche);
    return false;
}

}  // namespace

int FasseZusammen(const Optionen& o, std::ostream& aus, std::ostream& meldungen) {
    std::vector<nlohmann::json> berichte;
    for (const std::string& pfad : o.dateien) {
        std::string fehler;
        nlohmann::json j;
        if (!LeseJson(pfad, j, fehler)) {
            meldungen << "spieltisch: " << pfad << ": " << fehler << ".\n";
            return kFalscherAufruf;
        }
        berichte.push_back(std::move(j));
    }
    const nlohmann::json& erster = berichte[0];
    const bool partien = erster.is_object() && erster.contains("art") && erster["art"] == "partien";
    const nlohmann::json einstellungen =
        erster.is_object() && erster.contains("einstellungen") ? erster["einstellungen"] : nlohmann::json();
    Umfang umfang{{}, false, partien ? "Gestelle" : "Tische"};
    for (const nlohmann::json& j : berichte)
        umfang.unvollstaendig |= j.is_object() && j.contains("unvollstaendig") && j["unvollstaendig"] == true;
    std::string fehler;
    // Erst die Art (die Meldung des Lesers), dann die Einstellungen, dann die Bereiche.
    const auto scheitert = [&](bool gut) {
        if (!gut) meldungen << "spieltisch: " << fehler << ".\n";
        return !gut;
    };
    if (partien) {
        Partiebericht b;
        if (scheitert(LegeAlleZusammen(o, berichte, b, fehler) && PruefeEinstellungen(o, berichte, fehler) &&
                      Gestelle(o, berichte, umfang.bereiche, fehler) && PruefeErwartet(o, umfang, fehler)))
            return kFalscherAufruf;
        if (o.json) {
            nlohmann::ordered_json j = AlsJson(b);
            ErgaenzeJson(j, umfang, einstellungen);
            aus << j.dump() << "\n";
        } else {
            SchreibePartiebericht(b, aus);
            SchreibeUmfang(aus, umfang, berichte.size());
        }
        return kAllesBeantwortet;
    }
    Spielbericht b;
    if (scheitert(LegeAlleZusammen(o, berichte, b, fehler) && PruefeEinstellungen(o, berichte, fehler)))
        return kFalscherAufruf;
    umfang.bereiche = b.bereiche;
    if (scheitert(PruefeErwartet(o, umfang, fehler))) return kFalscherAufruf;
    if (o.json) {
        nlohmann::ordered_json j = AlsJson(b);
        ErgaenzeJson(j, umfang, einstellungen);
        aus << j.dump() << "\n";
    } else {
        SchreibeBericht(b, aus);
        SchreibeUmfang(aus, umfang, berichte.size());
    }
    return kAllesBeantwortet;
}
