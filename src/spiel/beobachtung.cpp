#include "spiel/beobachtung.h"

#include <nlohmann/json.hpp>

namespace {

nlohmann::ordered_json Kugeln(const Spielstand& s) {
    nlohmann::ordered_json k = nlohmann::ordered_json::array();
    for (const Kugel& kugel : s.kugeln) k.push_back({kugel.x, kugel.y, kugel.inloch ? 1 : 0});
    return k;
}

}  // namespace

std::string Beobachtungszeile(const Spielstand& vorher, Vektor stoss, const Spielstand& nachher) {
    nlohmann::ordered_json j;
    j["vorher"] = Kugeln(vorher);
    j["gruppe"] = vorher.gruppe;
    j["stoss"] = {stoss.x, stoss.y};
    j["nachher"] = Kugeln(nachher);
    return j.dump();
}
