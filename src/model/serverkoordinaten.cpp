#include "model/serverkoordinaten.h"

#include <locale.h>
#include <stdlib.h>

#include <charconv>

namespace {

// strtod im C-Locale, gleich, was das Fenster als Locale gesetzt hat.
locale_t CLocale() {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return c;
}

}  // namespace

void ServerZuTisch(const Tisch& t, float sx, float sy, float& x, float& y) {
    x = (1.0f - sy) * 0.5f * t.breite;
    y = (sx + 0.5f) * t.hoehe;
}

Serverlage TischZuServer(const Tisch& t, float x, float y) {
    return {static_cast<double>(y) / t.hoehe - 0.5, 1.0 - 2.0 * static_cast<double>(x) / t.breite};
}

std::string Serverzahl(double v) {
    char text[400];  // %.6f einer großen double braucht über 300 Zeichen
    const auto [ende, fehler] = std::to_chars(text, text + sizeof text, v, std::chars_format::fixed, 6);
    return fehler == std::errc{} ? std::string(text, ende) : std::string("nan");
}

double LeseServerzahl(std::string_view text) {
    // Die Kopie liefert die abschließende NUL; ein NUL im Inhalt beendet die Zahl wie bei atof.
    const std::string s(text);
    const locale_t c = CLocale();
    return c ? strtod_l(s.c_str(), nullptr, c) : std::strtod(s.c_str(), nullptr);
}

void RundeWieDokument(const Tisch& t, float& x, float& y) {
    // Genau der Weg durch das Dokument: Text mit sechs Stellen, gelesen und
    // umgerechnet wie beim Spieler.
    const Serverlage l = TischZuServer(t, x, y);
    const double sx = LeseServerzahl(Serverzahl(l.x)), sy = LeseServerzahl(Serverzahl(l.y));
    ServerZuTisch(t, static_cast<float>(sx), static_cast<float>(sy), x, y);
}
