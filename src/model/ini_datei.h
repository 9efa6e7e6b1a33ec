// Ein kleiner INI-Leser mit genau den Regeln, die config.ini braucht:
// Zeilen getrimmt, [name] beginnt eine Sektion, schluessel=wert getrimmt,
// Sektionen und Schlüssel ohne Rücksicht auf Groß-/Kleinschreibung, nur die
// erste Sektion eines Namens zählt und darin der erste Schlüssel. Der Wert ist
// die führende Dezimalzahl wie bei atoi, genommen als vorzeichenlose 32 Bit.
// Gängige INI-Bibliotheken weichen davon ab (eingerückte Fortsetzungszeilen).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Leerraum wie bei isspace im C-Locale; Zeilen, Namen und Werte werden darum getrimmt.
inline bool IniLeer(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }
inline std::string_view IniTrimme(std::string_view s) {
    while (!s.empty() && IniLeer(s.front())) s.remove_prefix(1);
    while (!s.empty() && IniLeer(s.back())) s.remove_suffix(1);
    return s;
}

// Sektionen und Schlüssel gelten ohne Rücksicht auf Groß-/Kleinschreibung (nur ASCII).
inline bool IniGleich(std::string_view a, std::string_view b) {
    const auto klein = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (klein(a[i]) != klein(b[i])) return false;
    return true;
}

struct IniEintrag {
    std::string_view sektion;
    std::string_view schluessel;
    std::string_view wert;
};

struct IniDatei {
    std::string text;                  // der ganze Dateiinhalt; die Einträge zeigen hinein,
                                       // darum eine IniDatei nicht kopieren oder verschieben
    std::vector<IniEintrag> eintraege;  // nur aus der ersten Sektion jedes Namens
};

// Liest die Datei einmal ganz. false, wenn sie fehlt oder nicht lesbar ist;
// dann ist ini leer und jede Abfrage liefert ihren Vorgabewert.
bool LeseIniDatei(const std::string& pfad, IniDatei& ini);

// Baut die Einträge aus ini.text (auch für Tests ohne Datei).
void ZerlegeIniText(IniDatei& ini);

// Wie GetPrivateProfileIntA: Vorgabe, wenn Sektion oder Schlüssel fehlen.
std::uint32_t IniGanzzahl(const IniDatei& ini, std::string_view sektion,
                          std::string_view schluessel, std::int32_t vorgabe);

// Die führende Dezimalzahl mit optionalem Vorzeichen, 0 ohne Zahl. Überlauf
// läuft modulo 2^32 um, statt wie atoi undefiniert zu sein.
std::uint32_t LeseGanzzahl(std::string_view wert);
