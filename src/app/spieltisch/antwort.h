// Prüfung eines Ergebnis-Dokuments des Spielers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct Antwortpruefung {
    bool gut = false;
    std::string x, y;                  // shot/x und shot/y wie empfangen (ohne Rand-Leerraum)
    std::optional<std::int64_t> cmdid;  // gelesen, auch wenn sie nicht passt
    std::string fehler;                // deutsch, wenn nicht gut
};

// Gut ist ein wohlgeformtes Dokument mit genau einem Wurzelelement result,
// dessen Attribut cmdid die erwartete Zahl ist, und mit Zahlen in shot/x und shot/y.
Antwortpruefung PruefeAntwort(std::string_view text, std::uint32_t erwarteteCmdid);
