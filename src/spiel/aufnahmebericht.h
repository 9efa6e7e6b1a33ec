// Die Zusammenfassung über ganze Aufnahmen: zählen, zwei Teilberichte zu
// einem zusammenlegen, als JSON schreiben und wieder lesen. Der JSON-Bericht
// trägt alle Zählungen, damit Teilläufe genau den ganzen Lauf ergeben.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "planner/schiedsrichter.h"
#include "sim/welt.h"
#include "spiel/aufnahme.h"
#include "spiel/bereiche.h"

// Was ein Lauf war: nur Berichte gleicher Läufe lassen sich zusammenlegen.
struct Aufnahmelauf {
    std::uint32_t saat = 0;
    std::int32_t gruppe = 0;
    int objektkugeln = 15;
    std::string planer;  // "vorgegeben", "robust" oder "netz"
    std::string welt;    // die Datei von --welt, sonst leer
    bool operator==(const Aufnahmelauf&) const = default;
};

struct Spielbericht {
    Modell modell;
    double rauschen;
    Aufnahmelauf lauf;
    std::vector<Bereich> bereiche;  // die Tische
    int tische = 0, stoesse = 0, erfolge = 0, ohneAntwort = 0;
    int fehler[kAnzahlUrsachen] = {};
    long kugeln = 0;
    int geraeumt = 0;
    bool artenBekannt = false;
    int artStoesse[7] = {}, artErfolge[7] = {};  // die sechs Arten und die Rundumsuche der robusten Wahl
    double simUs = 0, planerUs = 0;  // Summen
    int gekappt = 0;  // Entscheidungen, die die Zeitgrenze des Planers abschnitt (nur im Prozess bekannt)
};

void Zaehle(Spielbericht& b, const Aufnahme& a);

// Legt teil zu ziel; false mit deutscher Meldung, wenn die Läufe nicht
// zusammenpassen oder sich ihre Tische überschneiden (ziel bleibt dann, wie es war).
bool LegeZusammen(Spielbericht& ziel, const Spielbericht& teil, std::string& fehler);

// "Richtungssuche" für die Rundumsuche der robusten Wahl, sonst wie Artname.
const char* Artenname(int art);

nlohmann::ordered_json AlsJson(const Spielbericht& b);
// false mit deutscher Meldung, wenn j kein Bericht über Aufnahmen ist.
bool AusJson(const nlohmann::json& j, Spielbericht& b, std::string& fehler);
