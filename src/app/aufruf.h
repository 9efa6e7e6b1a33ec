// Was die Programme an ihrer Kommandozeile gemeinsam haben: ein Dokument aus
// einer Datei oder der Standardeingabe, Zahlen ohne Rest, deutsche Gründe.
#pragma once

#include <charconv>
#include <string>
#include <string_view>

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
