// Die Kommandozeile aller Programme: eine Tabelle der Optionen, dieselben
// Meldungen ("programm: Text" und der Hinweis auf --help) und dieselben
// Rückgabewerte: 0 gut, 1 fehlerhafte oder unlesbare Eingabe (auch ein
// Schreibfehler), 2 falscher Aufruf.
#pragma once

#include <charconv>
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

enum Rueckgabe : int { kGut = 0, kFehlerhafteEingabe = 1, kFalscherAufruf = 2 };

struct Option {
    std::string_view name;  // "--gruppe"
    const char* erwartet;   // nullptr: ein Schalter ohne Wert; sonst was der Wert sein muss
    std::function<bool(std::string_view wert)> setze;  // false: der Wert passt nicht
};

struct Aufruf {
    const char* programm;
    const char* hilfe;  // der ganze Text von --help
    std::vector<Option> optionen;
    std::vector<std::string>* dateien = nullptr;  // Argumente ohne "-" (und "-" selbst); nullptr: keine
    std::set<std::string, std::less<>> gesetzt{};  // die genannten Optionen
    bool hilfeVerlangt = false, versionVerlangt = false;
};

// Liest die Argumente (ohne den Programmnamen). false mit Meldung in fehler.
// --help und --version setzen nur ihre Marke; "--" beendet die Optionen.
bool LeseArgumente(Aufruf& a, const std::vector<std::string>& argumente, std::string& fehler);

// Wie LeseArgumente für main: -1, wenn das Programm weiterläuft; sonst der
// Rückgabewert, Hilfe, Version oder Meldung schon ausgegeben.
int LeseAufruf(Aufruf& a, int argc, char** argv);

inline bool Gesetzt(const Aufruf& a, std::string_view name) { return a.gesetzt.count(name) > 0; }

// Der Grund eines Dateifehlers (errno), deutsch wie alle Meldungen.
std::string Grund(int fehler);

// "programm: text" und der Hinweis auf --help nach stderr; gibt kFalscherAufruf zurück.
int Aufruffehler(const char* programm, const std::string& text);
// "programm: text" nach stderr; gibt kFehlerhafteEingabe zurück.
int Eingabefehler(const char* programm, const std::string& text);

// Am Ende: die Standardausgabe leeren; ging dabei oder vorher etwas nicht
// hinaus (volle Platte, /dev/full, geschlossene Pipe), sagt das eine Meldung,
// und es gibt kFehlerhafteEingabe statt rueckgabe.
int SchliesseAusgabe(const char* programm, int rueckgabe);

// Genau eine Zahl, ohne Rest und ohne Vorzeichen "+" (ganze Zahlen, double).
template <class Zahl>
bool LeseZahl(std::string_view s, Zahl& zahl) {
    auto [ende, fehler] = std::from_chars(s.data(), s.data() + s.size(), zahl);
    return !s.empty() && fehler == std::errc{} && ende == s.data() + s.size();
}

// Die Bausteine der Tabelle.
Option Schalter(std::string_view name, bool& ziel);
// Ein Wert, der nicht leer sein darf (Datei, Verzeichnis, Name).
Option Text(std::string_view name, std::string& ziel, const char* erwartet);
template <class Zahl>
Option Zahlwert(std::string_view name, Zahl& ziel, Zahl minimum, Zahl maximum, const char* erwartet) {
    return {name, erwartet, [&ziel, minimum, maximum](std::string_view w) {
                Zahl z{};
                if (!LeseZahl(w, z) || !(z >= minimum && z <= maximum)) return false;  // auch NaN
                ziel = z;
                return true;
            }};
}
