#include "spiel/json_lesen.h"

nlohmann::ordered_json BereicheAlsJson(const std::vector<Bereich>& bereiche) {
    nlohmann::ordered_json j = nlohmann::ordered_json::array();
    for (const Bereich& b : bereiche) j.push_back({b.von, b.bis});
    return j;
}

bool LeseBereiche(const JsonLeser& l, const char* schluessel, std::vector<Bereich>& bereiche) {
    const nlohmann::json* w = l.Wert(schluessel);
    if (!w) return false;
    const auto falsch = [&] { return l.Falsch(std::string("\"") + schluessel + "\" ist keine Liste [[von, bis], …]"); };
    if (!w->is_array()) return falsch();
    bereiche.clear();
    for (const nlohmann::json& b : *w) {
        if (!b.is_array() || b.size() != 2 || !b[0].is_number_unsigned() || !b[1].is_number_unsigned()) return falsch();
        const std::uint64_t von = b[0].get<std::uint64_t>(), bis = b[1].get<std::uint64_t>();
        if (von < 1 || von > bis || bis > UINT32_MAX) return falsch();
        if (!FuegeBereichHinzu(bereiche, {static_cast<std::uint32_t>(von), static_cast<std::uint32_t>(bis)}))
            return l.Falsch(std::string("\"") + schluessel + "\" überschneidet sich selbst");
    }
    return true;
}
