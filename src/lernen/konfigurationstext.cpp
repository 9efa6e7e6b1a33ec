#include "lernen/konfigurationstext.h"

#include <cmath>

#include "model/ini_datei.h"

namespace {

struct Zeile {
    std::string text;  // ohne Zeilenende
    std::string ende;  // "\n", "\r\n" oder leer (letzte Zeile ohne Umbruch)
};

std::vector<Zeile> Zerlege(std::string_view text) {
    std::vector<Zeile> zeilen;
    while (!text.empty()) {
        const std::size_t n = text.find('\n');
        std::string_view z = text.substr(0, n);
        std::string ende = n == std::string_view::npos ? "" : "\n";
        if (!ende.empty() && !z.empty() && z.back() == '\r') z.remove_suffix(1), ende = "\r\n";
        zeilen.push_back({std::string(z), ende});
        text = n == std::string_view::npos ? std::string_view{} : text.substr(n + 1);
    }
    return zeilen;
}

// Wo in der Datei eine Sektion gilt: ihre Kopfzeile und die letzte Zeile mit
// einem Schlüssel; −1, wenn es sie nicht gibt.
struct Abschnitt {
    long kopf = -1;
    long letzterSchluessel = -1;
};

// Die Zeile, die IniGanzzahl für (sektion, schluessel) liest, oder −1;
// abschnitt bekommt die Lage der geltenden Sektion.
long FindeSchluessel(const std::vector<Zeile>& zeilen, std::string_view sektion, std::string_view schluessel,
                     Abschnitt& abschnitt) {
    bool drin = false, gesehen = false;
    long treffer = -1;
    for (std::size_t i = 0; i < zeilen.size(); ++i) {
        const std::string_view z = IniTrimme(zeilen[i].text);
        if (z.empty() || z.front() == ';') continue;
        if (z.front() == '[') {
            const std::size_t zu = z.find(']');
            const std::string_view name = IniTrimme(z.substr(1, zu == std::string_view::npos ? zu : zu - 1));
            drin = !gesehen && IniGleich(name, sektion);
            if (drin) gesehen = true, abschnitt.kopf = static_cast<long>(i);
            continue;
        }
        const std::size_t gleich = z.find('=');
        if (!drin || gleich == std::string_view::npos) continue;
        abschnitt.letzterSchluessel = static_cast<long>(i);
        if (treffer < 0 && IniGleich(IniTrimme(z.substr(0, gleich)), schluessel)) treffer = static_cast<long>(i);
    }
    return treffer;
}

// Ersetzt in "schluessel = 95 ; Rest" nur "95".
void ErsetzeZahl(std::string& zeile, std::int64_t wert) {
    std::size_t i = zeile.find('=') + 1;
    while (i < zeile.size() && IniLeer(zeile[i])) ++i;
    std::size_t ende = i;
    if (ende < zeile.size() && (zeile[ende] == '+' || zeile[ende] == '-')) ++ende;
    while (ende < zeile.size() && zeile[ende] >= '0' && zeile[ende] <= '9') ++ende;
    zeile.replace(i, ende - i, std::to_string(wert));
}

}  // namespace

std::string SetzeIniwerte(std::string_view text, std::span<const Iniwert> werte) {
    std::vector<Zeile> zeilen = Zerlege(text);
    const std::string umbruch = text.find("\r\n") != std::string_view::npos ? "\r\n" : "\n";
    for (const Iniwert& w : werte) {
        Abschnitt a;
        const long treffer = FindeSchluessel(zeilen, w.sektion, w.schluessel, a);
        const std::string neu = w.schluessel + "=" + std::to_string(w.wert);
        if (treffer >= 0) {
            ErsetzeZahl(zeilen[static_cast<std::size_t>(treffer)].text, w.wert);
            continue;
        }
        if (!zeilen.empty() && zeilen.back().ende.empty()) zeilen.back().ende = umbruch;
        if (a.kopf < 0) {
            if (!zeilen.empty()) zeilen.push_back({"", umbruch});
            zeilen.push_back({"[" + w.sektion + "]", umbruch});
            zeilen.push_back({neu, umbruch});
            continue;
        }
        const long nach = std::max(a.kopf, a.letzterSchluessel);
        zeilen.insert(zeilen.begin() + nach + 1, {neu, umbruch});
    }
    std::string aus;
    for (const Zeile& z : zeilen) aus += z.text + z.ende;
    return aus;
}

std::vector<Iniwert> KalibrierteWerte(const Kalibrierergebnis& e) {
    std::vector<Iniwert> werte;
    for (int j = 0; j < kAnzahlKenngroessen; ++j) {
        const Schaetzwert& s = e.kenngroessen[static_cast<std::size_t>(j)];
        if (s.festgehalten) continue;
        std::int64_t wert = std::llround(s.wert);
        if (!MitVorzeichen(Art(j))) wert = std::max<std::int64_t>(0, wert);
        werte.push_back({"simulation", Art(j).schluessel, wert});
    }
    // Das Gesetz mit Nase nur, wenn der Fit es genommen hat: sonst bleibt die Datei, wie sie war.
    if (e.welt.bandenart == Bandenart::nase) {
        werte.push_back({"simulation", "bande_art", 1});
        werte.push_back({"simulation", "bande_nase", std::llround((1.0 + e.welt.naseSinus) * 100.0)});
        werte.push_back({"simulation", "bande_nase_reibung", std::llround(e.welt.naseReibung * 100.0)});
        // Das Winkelgesetz gilt an einer Nase nicht; stünde es weiter in der
        // Datei, begänne der nächste Fit mit ihm statt mit dem einfachen Gesetz.
        for (Kenngroesse k : {Kenngroesse::bande_normal_flach, Kenngroesse::bande_tangential_flach,
                              Kenngroesse::bande_drall_flach, Kenngroesse::bande_gleiten_normal,
                              Kenngroesse::bande_gleiten_drall, Kenngroesse::bande_gleiten_laengs})
            if (e.kenngroessen[static_cast<std::size_t>(k)].festgehalten) werte.push_back({"simulation", Art(k).schluessel, 0});
    }
    werte.push_back({"planer", "rauschen", std::max<std::int64_t>(0, std::llround(e.rauschfaktor * 100.0))});
    return werte;
}

std::string KalibrierteKonfiguration(std::string_view text, const Kalibrierergebnis& e) {
    return SetzeIniwerte(text, KalibrierteWerte(e));
}
