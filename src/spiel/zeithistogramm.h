// Entscheidungszeiten als Histogramm mit 100 Fächern je Zehnerpotenz (ein Fach
// ist 2.3 % breit): Teilläufe addieren ihre Fächer genau, und der Median eines
// zusammengelegten Laufs ist derselbe wie der eines ganzen. Das Maximum wird
// genau geführt.
#pragma once

#include <map>
#include <optional>

#include <nlohmann/json.hpp>

struct Zeithistogramm {
    std::map<int, long> faecher;  // Fach → Anzahl; Fach f umfasst 10^(f/100) bis 10^((f+1)/100) µs
    long anzahl = 0;
    double maximumUs = 0;
};

void Trage(Zeithistogramm& h, double mikrosekunden);
void LegeZusammen(Zeithistogramm& ziel, const Zeithistogramm& teil);

// Die Mitte (geometrisch) des Fachs, in dem der untere Median liegt, in ms; leer: nichts.
std::optional<double> MedianMs(const Zeithistogramm& h);

// {"median": ms, "maximum": ms, "histogramm": [[fach, anzahl], …]}; ohne Werte null.
nlohmann::ordered_json AlsJson(const Zeithistogramm& h);
bool AusJson(const nlohmann::json& j, Zeithistogramm& h, std::string& fehler);
