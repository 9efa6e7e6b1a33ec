// Die Zusammenfassung über Partien: Siege, Remis, Anstöße, Fouls,
// Sicherheitsstöße, Kugeln je Aufnahme, Stöße je Partie, Entscheidungszeiten;
// zählen, zusammenlegen, als JSON schreiben und wieder lesen.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "sim/welt.h"
#include "spiel/bereiche.h"
#include "spiel/partie.h"
#include "spiel/zeithistogramm.h"

struct Partielauf {
    std::uint32_t saat = 0;
    std::string spieler[2];  // wie angegeben: vorgegeben, robust, Datei oder HOST:PORT
    std::string welt;        // die Datei von --welt, sonst leer
    bool operator==(const Partielauf&) const = default;
};

struct Spielerzahlen {
    int siege = 0, siegeAlsAnstoesser = 0;  // als Anstoßender: wer laut Reihenfolge anstieß
    int durchlaeufe = 0;                    // Anstoß und aus: gewonnen in der Aufnahme des eigenen Anstoßes
    long stoesse = 0, aufnahmen = 0, kugeln = 0;             // kugeln: eigene, in Aufnahmen
    int anstoesse = 0, anstoesseLegal = 0, anstoesseVersenkt = 0, anstoesseWeisse = 0;
    long fouls[kAnzahlPartiefouls] = {};  // [0] bleibt 0
    int schwarzeZuFrueh = 0, schwarzeMitFoul = 0;
    long sicherheiten = 0, gegnerVerfehlt = 0;
    long gekappt = 0;  // Entscheidungen, die die Zeitgrenze des Planers abschnitt (nur im Prozess bekannt)
    Zeithistogramm zeit;
};

struct Partiebericht {
    Modell modell = Modell::R;
    double rauschen = 0;
    Partielauf lauf;
    std::vector<Bereich> gestelle;
    int partien = 0, remis = 0, ohneAntwort = 0;  // partien ohne die abgebrochenen
    long stoesse = 0;
    int stoesseMax = 0;
    long ereignisgrenze = 0;  // Stöße, deren Simulation an der Ereignisgrenze abbrach
    Spielerzahlen spieler[2];
};

void Zaehle(Partiebericht& b, const Partie& p);

// Legt teil zu ziel; false mit deutscher Meldung, wenn die Läufe nicht
// zusammenpassen oder sich ihre Gestelle überschneiden (ziel bleibt dann, wie es war).
bool LegeZusammen(Partiebericht& ziel, const Partiebericht& teil, std::string& fehler);

// Anteil der Partien, die A gewann, und sein Wilson-Intervall zu 95 %.
double QuoteA(const Partiebericht& b, double& unten, double& oben);

nlohmann::ordered_json AlsJson(const Partiebericht& b);
bool AusJson(const nlohmann::json& j, Partiebericht& b, std::string& fehler);
