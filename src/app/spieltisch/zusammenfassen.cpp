#include "zusammenfassen.h"

#include <fstream>

#include <nlohmann/json.hpp>

#include "ablauf.h"
#include "bericht.h"
#include "partieausgabe.h"
#include "spiel/aufnahmebericht.h"
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
    std::string fehler;
    if (partien) {
        Partiebericht b;
        if (!LegeAlleZusammen(o, berichte, b, fehler)) {
            meldungen << "spieltisch: " << fehler << ".\n";
            return kFalscherAufruf;
        }
        if (o.json) aus << AlsJson(b).dump() << "\n";
        else SchreibePartiebericht(b, aus);
        return kAllesBeantwortet;
    }
    Spielbericht b;
    if (!LegeAlleZusammen(o, berichte, b, fehler)) {
        meldungen << "spieltisch: " << fehler << ".\n";
        return kFalscherAufruf;
    }
    if (o.json) aus << AlsJson(b).dump() << "\n";
    else SchreibeBericht(b, aus);
    return kAllesBeantwortet;
}
