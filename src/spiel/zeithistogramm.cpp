#include "spiel/zeithistogramm.h"

#include <algorithm>
#include <cmath>

#include "spiel/json_lesen.h"

namespace {

constexpr int kFaecherJeDekade = 100;
constexpr int kLetztesFach = 12 * kFaecherJeDekade;  // 10^12 µs: elf Tage

}  // namespace

void Trage(Zeithistogramm& h, double us) {
    if (!(us >= 0)) us = 0;
    const int fach = us < 1 ? 0 : std::min(kLetztesFach, static_cast<int>(std::floor(std::log10(us) * kFaecherJeDekade)));
    ++h.faecher[fach];
    ++h.anzahl;
    h.maximumUs = std::max(h.maximumUs, us);
}

void LegeZusammen(Zeithistogramm& ziel, const Zeithistogramm& teil) {
    for (const auto& [fach, n] : teil.faecher) ziel.faecher[fach] += n;
    ziel.anzahl += teil.anzahl;
    ziel.maximumUs = std::max(ziel.maximumUs, teil.maximumUs);
}

std::optional<double> MedianMs(const Zeithistogramm& h) {
    if (h.anzahl == 0) return std::nullopt;
    const long rang = (h.anzahl + 1) / 2;
    long bisher = 0;
    for (const auto& [fach, n] : h.faecher) {
        bisher += n;
        if (bisher >= rang) return std::pow(10.0, (fach + 0.5) / kFaecherJeDekade) / 1000.0;
    }
    return std::nullopt;
}

nlohmann::ordered_json AlsJson(const Zeithistogramm& h) {
    nlohmann::ordered_json j;
    const std::optional<double> median = MedianMs(h);
    j["median"] = median ? nlohmann::ordered_json(*median) : nlohmann::ordered_json(nullptr);
    j["maximum"] = h.anzahl > 0 ? nlohmann::ordered_json(h.maximumUs / 1000.0) : nlohmann::ordered_json(nullptr);
    nlohmann::ordered_json faecher = nlohmann::ordered_json::array();
    for (const auto& [fach, n] : h.faecher) faecher.push_back({fach, n});
    j["histogramm"] = faecher;
    return j;
}

bool AusJson(const nlohmann::json& j, Zeithistogramm& h, std::string& fehler) {
    JsonLeser l{j, fehler};
    const nlohmann::json* faecher = l.Wert("histogramm");
    const nlohmann::json* maximum = l.Wert("maximum");
    if (!faecher || !maximum) return false;
    Zeithistogramm neu;
    if (!faecher->is_array()) return l.Falsch("\"histogramm\" ist keine Liste [[fach, anzahl], …]");
    for (const nlohmann::json& f : *faecher) {
        if (!f.is_array() || f.size() != 2 || !f[0].is_number_integer() || !f[1].is_number_unsigned() ||
            !std::in_range<long>(f[1].get<std::uint64_t>()))
            return l.Falsch("\"histogramm\" ist keine Liste [[fach, anzahl], …]");
        const std::int64_t fach = f[0].get<std::int64_t>();
        if (fach < 0 || fach > kLetztesFach) return l.Falsch("\"histogramm\" hat ein Fach außerhalb 0.." + std::to_string(kLetztesFach));
        neu.faecher[static_cast<int>(fach)] += f[1].get<long>();
        neu.anzahl += f[1].get<long>();
    }
    if (maximum->is_number()) neu.maximumUs = maximum->get<double>() * 1000.0;
    else if (!maximum->is_null() || neu.anzahl > 0) return l.Falsch("\"maximum\" ist keine Zahl");
    h = neu;
    return true;
}
