#include "net/xml_schreiben.h"

#include "model/serverkoordinaten.h"

#include <charconv>
#include <cstdio>

#include "anzeige/anzeige.h"

namespace {

bool IstLeerzeichen(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// "%d" über to_chars: unabhängig von der Locale, die das Fenster setzt.
std::string Dezimal(std::int32_t wert) {
    char puffer[16];
    const auto ergebnis = std::to_chars(puffer, puffer + sizeof puffer, wert);
    return std::string(puffer, ergebnis.ptr);
}

const char* Wahrheit(bool b) { return b ? "true" : "false"; }

}  // namespace

// Die Breite 3 ist schon durch die vier Nachkommastellen (oder "inf"/"nan") erfüllt.
std::string Festkomma(float wert) {
    char puffer[64];  // FLT_MAX hat 39 Vorkommastellen
    const auto ergebnis = std::to_chars(puffer, puffer + sizeof puffer, static_cast<double>(wert),
                                        std::chars_format::fixed, 4);
    return std::string(puffer, ergebnis.ptr);
}

std::optional<std::string> LeseMusterdatei(const std::string& verzeichnis, std::string_view name,
                                           bool ohneLeerzeichen) {
    const std::string pfad = verzeichnis + std::string(name);
    std::FILE* datei = std::fopen(pfad.c_str(), "rb");
    if (!datei) return std::nullopt;

    std::string text;
    auto anhaengen = [&](char c) {
        if (!ohneLeerzeichen || !IstLeerzeichen(c)) text += c;
    };
    // Das Muster wird wie eine Textdatei unter Windows gelesen: CR LF kommt als
    // LF an, damit eine dort bearbeitete Datei dasselbe Dokument ergibt.
    bool nachCR = false;
    char puffer[4096];
    std::size_t n;
    while ((n = std::fread(puffer, 1, sizeof puffer, datei)) > 0) {
        for (std::size_t i = 0; i < n; ++i) {
            const char c = puffer[i];
            if (nachCR && c != '\n') anhaengen('\r');
            nachCR = c == '\r';
            if (!nachCR) anhaengen(c);
        }
    }
    if (nachCR) anhaengen('\r');
    // Ein Verzeichnis lässt sich öffnen, aber nicht lesen.
    const bool lesefehler = std::ferror(datei) != 0;
    std::fclose(datei);
    if (lesefehler) return std::nullopt;
    return text;
}

std::string ErsetzePlatzhalter(std::string_view platzhalter, std::string_view wert, std::string text) {
    const std::size_t stelle = text.find(platzhalter);
    if (stelle != std::string::npos) text.replace(stelle, platzhalter.size(), wert);
    return text;
}

std::optional<std::string> ErzeugeStatusXML(const Anzeige& a, const std::string& verzeichnis,
                                            const NetzStatus& status) {
    auto muster = LeseMusterdatei(verzeichnis, "ki-status.xml", true);
    if (!muster) {
        ZeigeMeldung(a, "Fehler", "Die Status-XML-Musterdatei konnte nicht geöffnet werden", Symbol::Fehler);
        return std::nullopt;
    }
    std::string text = std::move(*muster);
    text = ErsetzePlatzhalter("##IP-ADRESSE##", status.ipAdresse, std::move(text));
    text = ErsetzePlatzhalter("##PORT##", Dezimal(status.port), std::move(text));
    text = ErsetzePlatzhalter("##RUN##", Wahrheit(status.running), std::move(text));
    return text;
}

std::optional<std::string> ErzeugeErgebnisXML(const Anzeige& a, const std::string& verzeichnis, const Vektor& stoss,
                                              const NetzStatus& status) {
    auto muster = LeseMusterdatei(verzeichnis, "ki-result.xml", false);
    if (!muster) {
        ZeigeMeldung(a, "Fehler", "Die Ergebnis-XML-Musterdatei konnte nicht geöffnet werden", Symbol::Fehler);
        return std::nullopt;
    }
    std::string text = std::move(*muster);
    text = ErsetzePlatzhalter("##X-POS##", Festkomma(stoss.x), std::move(text));
    text = ErsetzePlatzhalter("##Y-POS##", Festkomma(stoss.y), std::move(text));
    text = ErsetzePlatzhalter("##IP-ADRESSE##", status.ipAdresse, std::move(text));
    text = ErsetzePlatzhalter("##CMD##", Dezimal(status.cmd), std::move(text));
    text = ErsetzePlatzhalter("##PORT##", Dezimal(status.port), std::move(text));
    text = ErsetzePlatzhalter("##RUN##", Wahrheit(status.running), std::move(text));
    return text;
}

std::string SchreibeAnfrage(const Tisch& t, const Zufallstisch& tisch, std::uint32_t cmdid,
                            std::string_view ipv4, std::uint16_t port) {
    std::string d;
    d.reserve(2600);
    char zeile[160];
    std::snprintf(zeile, sizeof zeile,
                  "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                  "<tablestate cmdid=\"%u\">\n"
                  "  <player>%d</player>\n",
                  static_cast<unsigned>(cmdid), static_cast<int>(tisch.player));
    d += zeile;
    d += "  <ipv4>";
    d += ipv4;
    std::snprintf(zeile, sizeof zeile,
                  "</ipv4>\n"
                  "  <port>%u</port>\n"
                  "  <running>true</running>\n",
                  static_cast<unsigned>(port));
    d += zeile;
    for (const Tischkugel& k : tisch.kugeln) {
        const Serverlage s = TischZuServer(t, k.x, k.y);
        d += "  <ball>\n    <x-position>" + Serverzahl(s.x) + "</x-position>\n    <y-position>" + Serverzahl(s.y) +
             "</y-position>\n    <bagcount>" + Dezimal(k.bagcount) + "</bagcount>\n    <target>" + Dezimal(k.target) +
             "</target>\n  </ball>\n";
    }
    d += "</tablestate>\n";
    return d;
}
