// Was die Programme an ihrer Kommandozeile gemeinsam haben: ein Dokument aus
// einer Datei oder der Standardeingabe, Zahlen ohne Rest, deutsche Gründe.
#pragma once

#include <charconv>
#include <memory>
#include <string>
#include <string_view>

#include "model/konfiguration.h"
#include "model/tischkontext.h"

// Der Grund eines Dateifehlers (errno), deutsch wie alle Meldungen.
std::string Grund(int fehler);

// Die ganze Datei, oder mit "-" die Standardeingabe. Bei false sagt errno, warum.
bool LeseDokument(const std::string& pfad, std::string& text);

// Genau eine Zahl, ohne Rest und ohne Vorzeichen "+" (ganze Zahlen, double).
template <class Zahl>
bool LeseZahl(std::string_view s, Zahl& zahl) {
    auto [ende, fehler] = std::from_chars(s.data(), s.data() + s.size(), zahl);
    return !s.empty() && fehler == std::errc{} && ende == s.data() + s.size();
}

// "programm: text" und der Hinweis auf --help nach stderr; gibt 2 zurück.
int Aufruffehler(const char* programm, const std::string& text);

// Die config.ini eines Programms, einmal gelesen, und der Tisch daraus.
struct Programmtisch {
    Pfade pfade;
    std::shared_ptr<const IniDatei> ini;
    Tischkontext tisch;
};

// Was stosswerk-plan und stosswerk-sim vor dem Planen tun: die genannte
// config.ini (sie muss lesbar sein) oder die neben dem Programm, der Tisch
// daraus, dann die Grundaufstellung mit gruppe oder die Kugeln und die Gruppe
// des Dokuments. 0, sonst der Rückgabewert des Programms (1 fehlerhaftes
// Dokument, 2 falscher Aufruf), die Meldung schon geschrieben. Mit json
// schreibt der Dokumentleser keine "fehler"-Zeilen.
int LadeTischUndStand(const char* programm, const std::string& config, const std::string& dokumentPfad,
                      std::int32_t gruppe, bool json, Programmtisch& p, Spielstand& stand);
