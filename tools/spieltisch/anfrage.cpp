#include "anfrage.h"

#include <cstdio>

namespace {

// Ersetzt den Text zwischen dem ersten anfang und dem nächsten ende danach.
bool ErsetzeZwischen(std::string& text, std::string_view anfang, std::string_view ende, std::string_view wert) {
    const auto a = text.find(anfang);
    if (a == std::string::npos) return false;
    const auto von = a + anfang.size();
    const auto bis = text.find(ende, von);
    if (bis == std::string::npos) return false;
    text.replace(von, bis - von, wert);
    return true;
}

}  // namespace

std::string SchreibeAnfrage(const Tisch& t, const Zufallstisch& tisch, std::uint32_t cmdid,
                            std::string_view ipv4, std::uint16_t port) {
    std::string d;
    d.reserve(2600);
    char zeile[160];
    std::snprintf(zeile, sizeof zeile,
                  "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                  "<tablestate cmdid=\"%u\">\n"
                  "  <player>%d</player>\n",
                  static_cast<unsigned>(cmdid), static_cast<int>(tisch.player));
    d += zeile;
    d += "  <ipv4>";
    d += ipv4;
    std::snprintf(zeile, sizeof zeile,
                  "</ipv4>\n"
                  "  <port>%u</port>\n"
                  "  <running>true</running>\n",
                  static_cast<unsigned>(port));
    d += zeile;
    for (const Tischkugel& k : tisch.kugeln) {
        const Serverlage s = TischZuServer(t, k.x, k.y);
        std::snprintf(zeile, sizeof zeile,
                      "  <ball>\n"
                      "    <x-position>%.6f</x-position>\n"
                      "    <y-position>%.6f</y-position>\n"
                      "    <bagcount>%d</bagcount>\n"
                      "    <target>%d</target>\n"
                      "  </ball>\n",
                      s.x, s.y, static_cast<int>(k.bagcount), static_cast<int>(k.target));
        d += zeile;
    }
    d += "</tablestate>\n";
    return d;
}

Kopfdaten SetzeKopfdaten(std::string& text, std::uint32_t cmdid, std::string_view ipv4, std::uint16_t port) {
    Kopfdaten k;
    k.cmdid = ErsetzeZwischen(text, "cmdid=\"", "\"", std::to_string(cmdid));
    k.ipv4 = ErsetzeZwischen(text, "<ipv4>", "</ipv4>", ipv4);
    k.port = ErsetzeZwischen(text, "<port>", "</port>", std::to_string(port));
    return k;
}

std::string Ablagename(std::uint32_t cmdid) {
    char name[32];
    std::snprintf(name, sizeof name, "tisch-%04u.xml", static_cast<unsigned>(cmdid));
    return name;
}
