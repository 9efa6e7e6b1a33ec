#include "antwort.h"

#include <charconv>
#include <cmath>

#include <pugixml.hpp>

namespace {

std::string_view Getrimmt(std::string_view s) {
    constexpr std::string_view kLeer = " \t\r\n";
    const auto a = s.find_first_not_of(kLeer);
    if (a == std::string_view::npos) return {};
    return s.substr(a, s.find_last_not_of(kLeer) - a + 1);
}

bool IstZahl(std::string_view s) {
    double d = 0;
    auto [ende, fehler] = std::from_chars(s.data(), s.data() + s.size(), d);
    return !s.empty() && fehler == std::errc{} && ende == s.data() + s.size() && std::isfinite(d);
}

Antwortpruefung Fehler(Antwortpruefung p, std::string text) {
    p.gut = false;
    p.fehler = std::move(text);
    return p;
}

}  // namespace

Antwortpruefung PruefeAntwort(std::string_view text, std::uint32_t erwarteteCmdid) {
    Antwortpruefung p;
    if (Getrimmt(text).empty()) return Fehler(p, "leere Antwort");

    pugi::xml_document dokument;
    const pugi::xml_parse_result ergebnis =
        dokument.load_buffer(text.data(), text.size(),
                             pugi::parse_default | pugi::parse_declaration | pugi::parse_fragment);
    if (!ergebnis) {
        return Fehler(p, std::string("kein wohlgeformtes XML (") + ergebnis.description() + " bei Byte " +
                             std::to_string(ergebnis.offset) + ")");
    }
    // pugixml nimmt auch mehrere Wurzeln und Text daneben hin; XML nicht. Als
    // Fragment gelesen bleibt solcher Text als Knoten stehen und fällt hier auf.
    pugi::xml_node wurzel;
    int wurzeln = 0;
    for (pugi::xml_node n : dokument.children()) {
        if (n.type() == pugi::node_element) {
            wurzel = n;
            ++wurzeln;
        } else if (n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata) {
            return Fehler(p, "Text außerhalb des Wurzelelements");
        }
    }
    if (wurzeln != 1) return Fehler(p, "nicht genau ein Wurzelelement");
    if (std::string_view(wurzel.name()) != "result") {
        return Fehler(p, std::string("Wurzelelement <") + wurzel.name() + "> statt <result>");
    }

    const pugi::xml_attribute attribut = wurzel.attribute("cmdid");
    if (!attribut) return Fehler(p, "Attribut cmdid fehlt");
    const std::string_view wert = Getrimmt(attribut.value());
    std::int64_t cmdid = 0;
    auto [ende, fehler] = std::from_chars(wert.data(), wert.data() + wert.size(), cmdid);
    if (wert.empty() || fehler != std::errc{} || ende != wert.data() + wert.size()) {
        return Fehler(p, "cmdid \"" + std::string(attribut.value()) + "\" ist keine Zahl");
    }
    p.cmdid = cmdid;
    if (cmdid != static_cast<std::int64_t>(erwarteteCmdid)) {
        return Fehler(p, "cmdid " + std::to_string(cmdid) + " statt " + std::to_string(erwarteteCmdid));
    }

    const pugi::xml_node stoss = wurzel.child("shot");
    if (!stoss) return Fehler(p, "Element shot fehlt");
    const pugi::xml_node x = stoss.child("x"), y = stoss.child("y");
    if (!x || !y) return Fehler(p, !x ? "Element shot/x fehlt" : "Element shot/y fehlt");
    p.x = Getrimmt(x.text().get());
    p.y = Getrimmt(y.text().get());
    if (!IstZahl(p.x)) return Fehler(p, "shot/x \"" + p.x + "\" ist keine Zahl");
    if (!IstZahl(p.y)) return Fehler(p, "shot/y \"" + p.y + "\" ist keine Zahl");
    p.gut = true;
    return p;
}
