// Die Aufrufoptionen von spieltisch und ihr Leser. Der Leser prüft nur die
// Form (bekannte Option, Zahl im Bereich, welche Optionen zusammengehören);
// Dateien liest erst der Ablauf.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/welt.h"

struct Optionen {
    std::string spielerAdresse = "127.0.0.1";  // nur IPv4 in Punktschreibweise
    std::uint16_t spielerPort = 2222;
    std::uint16_t antwortPort = 2223;  // 0: irgendein freier Port
    std::optional<std::uint32_t> zufallSaat;
    std::uint32_t anzahl = 0;  // Zufallstische, nur mit zufallSaat
    std::string speicherVerzeichnis;  // leer: nichts speichern
    std::optional<std::uint16_t> statusPort;
    std::uint32_t statusWartenMs = 0;
    std::uint32_t zeitlimitMs = 5000;
    bool nurSenden = false;

    // Ganze Aufnahmen spielen (--spielen): der Tisch referiert jeden Stoß.
    bool spielen = false;
    int kugeln = 15;             // Objektkugeln auf jedem Tisch
    std::int32_t gruppe = 0;     // die Gruppe des Spielers
    double rauschen = 0.0;       // Rauschfaktor F
    Modell modell = Modell::R;
    bool lokal = false;          // Planer im Prozess statt über das Netz
    bool robust = false;         // mit lokal: die robuste Wahl statt der vorgegebenen
    int threads = 1;             // nur im Prozess
    std::optional<std::uint32_t> zeitgrenze;  // ms für die Planer im Prozess; ohne: sie zählen Stöße
    bool json = false;
    std::string protokollDatei;  // leer: keines
    std::string konfiguration;   // leer: config.ini neben dem Programm
    bool vergleich = false;      // beide Planer über mehrere Rauschfaktoren
    std::string bild;            // mit vergleich: die Kurven als PNG
    std::string bilderVerzeichnis;
    std::uint32_t ab = 1;        // erster Tisch (--spielen) bzw. erstes Gestell (--partien)
    std::string welt;            // leer: der Schiedsrichter spielt in der Welt aus --config
    std::string beobachtungen;   // leer: keine

    // Ganze Partien (--partien K): zwei Spieler, K Partien auf K/2 Gestellen.
    std::uint32_t partien = 0;
    std::string spielerA, spielerB;  // vorgegeben, robust, eine config.ini oder HOST:PORT
    bool rauschreihe = false;        // dieselben Partien über mehrere Rauschfaktoren
    std::vector<double> rauschfaktoren;  // --faktoren; leer: 0, 0.5, 1, 1.5, 2
    bool mitteilen = false;              // robuste Spieler im Prozess planen mit dem F der Reihe

    // Lernen auf einem fremden Tisch (--lernkurve): lernend, ohne Lernen, mit der wahren Welt.
    bool lernkurve = false;
    std::uint32_t bis = 300;  // so viele Beobachtungen lernt der Lernende

    // Berichte zusammenlegen (--zusammenfassen): die Dateien sind JSON-Berichte.
    bool zusammenfassen = false;
    std::uint32_t erwartetVon = 0, erwartetBis = 0;  // --erwartet VON-BIS; 0: nichts erwartet

    bool hilfe = false;
    bool version = false;
    std::vector<std::string> dateien;
};

// Gestelle, die ein Lauf mit --partien höchstens erreicht (die cmdid bleibt unter 2^31).
constexpr std::uint32_t kHoechstesGestell = 4000000;
// Tische, die ein Lauf mit --spielen höchstens erreicht.
constexpr std::uint32_t kHoechsterTisch = 60000000;

// nullopt bei falschem Aufruf; dann steht in fehler eine deutsche Meldung.
std::optional<Optionen> LeseOptionen(const std::vector<std::string>& argumente, std::string& fehler);

// "IPv4:PORT" wie 127.0.0.1:2222; sonst false.
bool LeseNetzadresse(std::string_view wert, std::string& adresse, std::uint16_t& port);

extern const char* const kHilfetext;
