#include "net/xml_lesen.h"

#include "model/serverkoordinaten.h"

#include <locale.h>
#include <stdlib.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

void MeldeFehlschlag(bool melden) {
    if (melden) std::fputs("fehler\n", stdout);
}

// Zahlen stehen immer mit Punkt im Dokument. Das Fenster übernimmt die Locale
// der Umgebung, und unter de_DE läse strtol anders; darum eine eigene
// C-Locale, die für die Lebensdauer des Prozesses bleibt.
locale_t CLocale() {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return c;
}

// atoi; jenseits von 32 Bit wird begrenzt, statt undefiniert umzulaufen.
std::int32_t Ganzzahl(std::string_view inhalt) {
    const std::string s(inhalt);
    const locale_t c = CLocale();
    const long v = c ? strtol_l(s.c_str(), nullptr, 10, c) : std::strtol(s.c_str(), nullptr, 10);
    if (v > INT32_MAX) return INT32_MAX;
    if (v < INT32_MIN) return INT32_MIN;
    return static_cast<std::int32_t>(v);
}

// Endlich und als float darstellbar; NaN fällt durch den Vergleich.
bool AlsFloatEndlich(double d) { return std::fabs(d) <= static_cast<double>(FLT_MAX); }

// Anfang des n-ten Vorkommens von muster. Nach jedem Fund geht es ein Zeichen
// hinter seinem Anfang weiter, Fundstellen dürfen sich also überlappen.
// memchr springt nur über Stellen, an denen schon das erste Zeichen nicht
// passt; entschieden wird mit BeginntMit, das auch das Textende meldet.
std::optional<std::size_t> SucheNte(std::string_view text, std::string_view muster, int n, bool melden) {
    std::size_t p = 0;
    int gefunden = 0;
    while (p <= text.size()) {
        if (!muster.empty() && p < text.size() && text[p] != muster.front()) {
            const void* q = std::memchr(text.data() + p, muster.front(), text.size() - p);
            p = q ? static_cast<std::size_t>(static_cast<const char*>(q) - text.data()) : text.size();
        }
        bool textEnde = false;
        if (BeginntMit(text.substr(p), muster, textEnde, melden)) {
            if (++gefunden == n) return p;
        } else if (textEnde) {
            return std::nullopt;
        }
        ++p;
    }
    return std::nullopt;
}

// Wie LeseTag, aber als Ausschnitt des Textes: die Kugelinhalte werden nur
// durchsucht, nicht kopiert.
std::optional<std::string_view> SucheTag(std::string_view name, int n, std::string_view text, bool melden) {
    if (n < 1) return std::nullopt;
    std::string auf = "<";
    auf += name;
    auf += '>';
    std::string zu = "</";
    zu += name;
    zu += '>';
    const auto anfang = SucheNte(text, auf, n, melden);
    if (!anfang) return std::nullopt;
    const auto ende = SucheNte(text, zu, n, melden);
    if (!ende) return std::nullopt;
    const std::size_t inhalt = *anfang + auf.size();
    if (*ende < inhalt) {
        // Das Element gilt als fehlend; auch das ist eine erfolglose Suche.
        MeldeFehlschlag(melden);
        return std::nullopt;
    }
    return text.substr(inhalt, *ende - inhalt);
}

}  // namespace

bool BeginntMit(std::string_view text, std::string_view muster, bool& textEnde, bool melden) {
    for (std::size_t i = 0; i < muster.size(); ++i) {
        if (i == text.size()) {
            textEnde = true;
            MeldeFehlschlag(melden);
            return false;
        }
        if (text[i] != muster[i]) return false;
    }
    return true;
}

std::optional<std::string> LeseTag(std::string_view name, int n, std::string_view text, bool melden) {
    const auto inhalt = SucheTag(name, n, text, melden);
    if (!inhalt) return std::nullopt;
    return std::string(*inhalt);
}

std::int32_t LeseCmdId(std::string_view text, bool melden) {
    constexpr std::string_view kMuster = "cmdid=\"";
    const auto fund = SucheNte(text, kMuster, 1, melden);
    if (!fund) return 0;
    std::string_view wert = text.substr(*fund + kMuster.size());
    // Ohne schließendes Anführungszeichen zählt der Rest des Textes.
    wert = wert.substr(0, wert.find('"'));
    return Ganzzahl(wert);
}

bool LeseSpielstandXML(const Tischkontext& tk, std::string_view text, Spielstand& stand, bool melden) {
    // Erst bei vollständigem Erfolg übernehmen: ein fehlerhaftes Dokument soll
    // keinen halb gefüllten Spielstand hinterlassen.
    Spielstand neu{};
    for (int i = 0; i < kAnzahlKugeln; ++i) {
        const auto kugel = SucheTag("ball", i + 1, text, melden);
        if (!kugel) return false;
        const auto sx = SucheTag("x-position", 1, *kugel, melden);
        if (!sx) return false;
        const auto sy = SucheTag("y-position", 1, *kugel, melden);
        if (!sy) return false;
        const auto tasche = SucheTag("bagcount", 1, *kugel, melden);
        if (!tasche) return false;
        const auto ziel = SucheTag("target", 1, *kugel, melden);
        if (!ziel) return false;

        const double dx = LeseServerzahl(*sx);
        const double dy = LeseServerzahl(*sy);
        if (!AlsFloatEndlich(dx) || !AlsFloatEndlich(dy)) return false;
        float x = 0.0f, y = 0.0f;
        ServerZuTisch(tk.tisch, static_cast<float>(dx), static_cast<float>(dy), x, y);
        // Große, aber endliche Serverwerte laufen bei der Umrechnung über.
        if (!std::isfinite(x) || !std::isfinite(y)) return false;

        Kugel& k = neu.kugeln[i];
        k.x = x;
        k.y = y;
        k.z = 0.0f;
        k.inloch = Ganzzahl(*tasche) != -1 ? 1 : 0;
        k.radius = tk.tisch.radius;
        k.zieltasche = Ganzzahl(*ziel);
    }
    const auto spieler = SucheTag("player", 1, text, melden);
    if (!spieler) return false;
    neu.gruppe = Ganzzahl(*spieler);
    stand = neu;
    return true;
}

bool LeseNetzStatusXML(NetzStatus& status, std::string_view text, bool melden) {
    // Alle drei Suchen laufen wie vorgesehen, auch wenn die erste scheitert:
    // jede erfolglose gibt ihr "fehler" aus.
    auto adresse = LeseTag("ipv4", 1, text, melden);
    const std::int32_t cmd = LeseCmdId(text, melden);
    const auto port = SucheTag("port", 1, text, melden);
    if (!adresse || !port) return false;
    const auto laeuft = SucheTag("running", 1, text, melden);
    status.ipAdresse = std::move(*adresse);
    status.cmd = cmd;
    status.port = Ganzzahl(*port);
    status.running = laeuft && *laeuft == "true";
    return true;
}
