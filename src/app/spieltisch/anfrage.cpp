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
