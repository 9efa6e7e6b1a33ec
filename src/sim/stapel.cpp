#include "sim/stapel.h"

#include <charconv>
#include <cfloat>
#include <cmath>
#include <memory>
#include <random>

#include <nlohmann/json.hpp>

#include "sim/rauschen.h"

namespace {

using nlohmann::json;

bool Endlich(const json& j) { return j.is_number() && std::isfinite(j.get<double>()); }
// Lagen und Stöße werden float: was darüber hinausgeht, wäre unendlich.
bool EndlichAlsFloat(const json& j) { return j.is_number() && std::fabs(j.get<double>()) <= FLT_MAX; }

// Immer als Kommazahl erkennbar (20.0, nicht 20), wie JSON-Leser sie typisieren.
void Zahl(std::string& aus, double x) {
    char puffer[32];
    const auto [ende, fehler] = std::to_chars(puffer, puffer + sizeof puffer, x);
    const std::string_view text(puffer, fehler == std::errc{} ? static_cast<std::size_t>(ende - puffer) : 0);
    aus += text;
    if (text.find_first_of(".e") == std::string_view::npos) aus += ".0";
}

void Ganz(std::string& aus, int x) {
    char puffer[16];
    const auto [ende, fehler] = std::to_chars(puffer, puffer + sizeof puffer, x);
    aus.append(puffer, fehler == std::errc{} ? ende : puffer);
}

// Ein Text ohne Steuerzeichen und Anführungszeichen, wie alle Meldungen hier.
void Text(std::string& aus, std::string_view s) {
    aus += '"';
    for (char c : s) {
        if (c == '"' || c == '\\') aus += '\\';
        aus += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
    }
    aus += '"';
}

}  // namespace

bool LeseStapelzeile(std::string_view zeile, Modell vorgabe, float radius, Stapelaufgabe& a, std::string& fehler) {
    const json z = json::parse(zeile.begin(), zeile.end(), nullptr, false);
    if (!z.is_object()) {
        fehler = "Die Zeile ist kein JSON-Objekt.";
        return false;
    }
    const auto kugeln = z.find("kugeln");
    if (kugeln == z.end() || !kugeln->is_array() || kugeln->size() != kAnzahlKugeln) {
        fehler = "\"kugeln\" muss 16 Kugeln [x, y, inloch] haben, die Weiße zuerst.";
        return false;
    }
    for (int i = 0; i < kAnzahlKugeln; ++i) {
        const json& k = (*kugeln)[static_cast<std::size_t>(i)];
        if (!k.is_array() || k.size() != 3 || !EndlichAlsFloat(k[0]) || !EndlichAlsFloat(k[1]) ||
            !k[2].is_number_integer()) {
            fehler = "Kugel " + std::to_string(i) + " ist nicht [x, y, inloch] mit endlichen Zahlen.";
            return false;
        }
        Kugel& kugel = a.stand.kugeln[i];
        kugel = Kugel{};
        kugel.x = k[0].get<float>();
        kugel.y = k[1].get<float>();
        kugel.inloch = k[2].get<int>() != 0;
        kugel.radius = radius;
    }
    a.stand.gruppe = halbe;  // spielt für die Simulation keine Rolle
    const auto stoss = z.find("stoss");
    if (stoss == z.end() || !stoss->is_array() || stoss->size() != 2 || !EndlichAlsFloat((*stoss)[0]) ||
        !EndlichAlsFloat((*stoss)[1])) {
        fehler = "\"stoss\" muss [x, y] mit zwei endlichen Zahlen sein.";
        return false;
    }
    a.stoss = {(*stoss)[0].get<float>(), (*stoss)[1].get<float>(), 0.0f};
    if (!std::isfinite(a.stoss.x) || !std::isfinite(a.stoss.y)) {
        fehler = "\"stoss\" ist zu groß.";
        return false;
    }
    a.modell = vorgabe;
    if (const auto m = z.find("modell"); m != z.end()) {
        if (*m == "P") a.modell = Modell::P;
        else if (*m == "R") a.modell = Modell::R;
        else {
            fehler = "\"modell\" ist \"P\" oder \"R\".";
            return false;
        }
    }
    const auto rauschen = z.find("rauschen"), saat = z.find("saat");
    a.verrauscht = rauschen != z.end() || saat != z.end();
    a.rauschen = 0.0;
    a.saat = 0;
    if (a.verrauscht) {
        if (rauschen == z.end() || saat == z.end()) {
            fehler = "\"rauschen\" und \"saat\" gehören zusammen.";
            return false;
        }
        if (!Endlich(*rauschen) || rauschen->get<double>() < 0.0) {
            fehler = "\"rauschen\" ist eine endliche Zahl ab 0.";
            return false;
        }
        if (!saat->is_number_unsigned()) {
            fehler = "\"saat\" ist eine ganze Zahl von 0 bis 18446744073709551615.";
            return false;
        }
        a.rauschen = rauschen->get<double>();
        a.saat = saat->get<std::uint64_t>();
    }
    return true;
}

void ErgebnisAlsJson(std::string& aus, Modell modell, Vektor gespielt, const Simergebnis& e) {
    aus += "{\"modell\":";
    Text(aus, Modellname(modell));
    aus += ",\"stoss\":[";
    Zahl(aus, gespielt.x);
    aus += ',';
    Zahl(aus, gespielt.y);
    aus += "],\"ereignisse\":[";
    for (int n = 0; n < e.anzahl; ++n) {
        const Ereignis& r = e.ereignisse[n];
        if (n) aus += ',';
        aus += "{\"t\":";
        Zahl(aus, r.t);
        aus += ",\"art\":";
        Text(aus, Ereignisname(r.art));
        aus += ",\"kugeln\":[";
        Ganz(aus, r.kugel);
        if (r.art == Ereignisart::kugel) aus += ',', Ganz(aus, r.andere);
        aus += ']';
        if (r.art == Ereignisart::tasche) aus += ",\"tasche\":", Ganz(aus, r.tasche);
        aus += '}';
    }
    aus += "],\"kugeln\":[";
    for (int i = 0; i < kAnzahlKugeln; ++i) {
        if (i) aus += ',';
        aus += "{\"nr\":";
        Ganz(aus, i);
        aus += ",\"x\":";
        Zahl(aus, e.lage[i].x);
        aus += ",\"y\":";
        Zahl(aus, e.lage[i].y);
        aus += ",\"inloch\":";
        Ganz(aus, e.inloch[i] ? 1 : 0);
        aus += ",\"tasche\":";
        Ganz(aus, e.tasche[i]);
        aus += '}';
    }
    aus += "],\"erste_beruehrung\":";
    Ganz(aus, e.ersteBeruehrung);
    aus += ",\"versenkt\":[";
    bool erste = true;
    for (int n = 0; n < e.anzahl; ++n) {
        const Ereignis& r = e.ereignisse[n];
        if (r.art != Ereignisart::tasche) continue;
        if (!erste) aus += ',';
        erste = false;
        aus += "{\"nr\":";
        Ganz(aus, r.kugel);
        aus += ",\"tasche\":";
        Ganz(aus, r.tasche);
        aus += ",\"t\":";
        Zahl(aus, r.t);
        aus += '}';
    }
    aus += "],\"ereignisgrenze\":";
    aus += e.ereignisgrenze ? "true" : "false";
    aus += '}';
}

long SpieleStapel(std::istream& ein, std::ostream& aus, const Tischgeometrie& g, const Welt welten[2],
                  Modell vorgabe) {
    auto e = std::make_unique<Simergebnis>();
    Stapelaufgabe a;
    std::string zeile, fehler, text;
    long fehlerhaft = 0;
    while (std::getline(ein, zeile)) {
        text.clear();
        if (!zeile.empty() && zeile.back() == '\r') zeile.pop_back();
        if (!LeseStapelzeile(zeile, vorgabe, static_cast<float>(g.radius), a, fehler)) {
            ++fehlerhaft;
            text += "{\"fehler\":";
            Text(text, fehler);
            text += '}';
        } else {
            Vektor stoss = a.stoss;
            if (a.verrauscht) {
                std::mt19937_64 zufall(a.saat);
                stoss = VerrauscheStoss(stoss, a.rauschen, zufall);
            }
            if (!Simuliere(g, welten[a.modell == Modell::P ? 0 : 1], a.stand, stoss, *e)) {
                ++fehlerhaft;
                text += "{\"fehler\":\"Der Rauschfaktor ist zu groß: der Stoß wird unendlich.\"}";
            } else {
                ErgebnisAlsJson(text, a.modell, stoss, *e);
            }
        }
        text += '\n';
        aus.write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    aus.flush();
    return fehlerhaft;
}
