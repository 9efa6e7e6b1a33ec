#include "lernen/kalibrierbericht.h"

#include <cmath>
#include <cstdio>
#include <optional>

#include <nlohmann/json.hpp>

#include "lernen/konfigurationstext.h"

namespace {

using nlohmann::ordered_json;

std::string Format(const char* muster, auto... werte) {
    char puffer[256];
    std::snprintf(puffer, sizeof puffer, muster, werte...);
    return puffer;
}

// Der Wert, den --schreibe einträgt, oder −1 für festgehaltene.
// Was --schreibe einträgt; nichts für festgehaltene.
std::optional<long> Dateiwert(const Kalibrierergebnis& e, int j) {
    for (const Iniwert& w : KalibrierteWerte(e))
        if (w.sektion == "simulation" && w.schluessel == Art(j).schluessel) return static_cast<long>(w.wert);
    return std::nullopt;
}

std::string Unsicherheit(const Schaetzwert& s) {
    if (s.festgehalten) return "festgehalten";
    if (!std::isfinite(s.unsicherheit)) return "unbestimmt";
    return Format("± %.3f", s.unsicherheit);
}

ordered_json Mass(const Fehlermass& m) {
    return {{"median", m.median}, {"p90", m.p90}, {"kugeln", m.kugeln}, {"taschenfehler", m.taschenfehler}};
}

ordered_json Zahl(double x) { return std::isfinite(x) ? ordered_json(x) : ordered_json(nullptr); }

}  // namespace

std::string KalibrierberichtText(const Kalibrierergebnis& e) {
    std::string t = Format("Welt R, angepasst an %ld Beobachtungen: %ld benutzt, %ld unbrauchbar, %ld unerklärt (gestaucht)\n\n",
                           e.beobachtungen, e.benutzt, e.unbrauchbar, e.unerklaert);
    t += "Kenngröße               vorher   angepasst   Unsicherheit   config.ini\n";
    for (int j = 0; j < kAnzahlKenngroessen; ++j) {
        const Schaetzwert& s = e.kenngroessen[static_cast<std::size_t>(j)];
        const std::optional<long> datei = Dateiwert(e, j);
        t += Format("%-22s %7.2f   %9.3f   %-12s   %s", Art(j).schluessel, s.start, s.wert, Unsicherheit(s).c_str(),
                    datei ? std::to_string(*datei).c_str() : "-");
        if (j == static_cast<int>(Kenngroesse::richtung_versatz)) t += Format("  (%.3f°)", s.wert / 100.0);
        t += "\n";
    }
    t += Format("%-22s %7.2f   festgehalten: die Lagen am Ende bestimmen nur gleitreibung/rollreibung\n"
                "                                 und staerke_faktor²/rollreibung (siehe man stosswerk-kalibriere)\n\n",
                "rollreibung", e.rollreibung);
    if (e.welt.bandenart == Bandenart::nase)
        t += Format("Bandengesetz mit Nase (bande_art=1): Höhe %.2f Radien, Reibung %.2f; bande_tangential,\n"
                    "bande_drall, bande_reibung und das Winkelgesetz gelten dann nicht\n\n",
                    1.0 + e.welt.naseSinus, e.welt.naseReibung);
    t += Format("Rauschen des Queues: Richtung σ = %.3f° ± %.3f°, Stärke σ = %.3f ± %.3f\n", e.sigmaRichtungGrad,
                e.sigmaRichtungUnsicherheit, e.sigmaStaerke, e.sigmaStaerkeUnsicherheit);
    t += Format("                     Rauschfaktor F = %.2f ([planer] rauschen=%ld)\n", e.rauschfaktor,
                std::max(0L, std::lround(e.rauschfaktor * 100.0)));
    // Wie gut die Welt welche Art Stoß vorhersagt: das F der Störungen je Klasse.
    t += "                     je Stoßart:";
    for (int c = 0; c < kAnzahlStossklassen; ++c) {
        const auto& k = e.klassen[static_cast<std::size_t>(c)];
        t += Format("%s %s F = %.2f aus %ld", c ? "," : "", Klassenname(static_cast<Stossklasse>(c)), k.rauschfaktor,
                    k.anzahl);
    }
    t += Format(" (unter %ld Beobachtungen das F oben)\n\n", kMindestensJeKlasse);
    t += "Restfehler je bewegter Kugel (Tischeinheiten)        Median     90 %   Taschen falsch\n";
    const auto zeile = [&](const char* name, const Fehlermass& m) {
        t += Format("  %-50s %7.3f  %7.3f   %ld\n", name, m.median, m.p90, m.taschenfehler);
    };
    zeile("vorher (Startwelt, Stoß wie beantwortet)", e.vorher);
    zeile("nachher (angepasste Welt, Stoß wie beantwortet)", e.nachher);
    zeile("mit den geschätzten Störungen", e.angepasst);
    t += Format("\n%d Schritte, %.1f s%s\n", e.iterationen, e.sekunden,
                e.zeitgrenze ? "; nach der Zeitgrenze abgebrochen, das Beste bis dahin" : "");
    return t;
}

std::string KalibrierberichtJson(const Kalibrierergebnis& e) {
    ordered_json j;
    j["beobachtungen"] = {{"gelesen", e.beobachtungen},
                          {"benutzt", e.benutzt},
                          {"unbrauchbar", e.unbrauchbar},
                          {"unerklaert", e.unerklaert}};
    ordered_json k = ordered_json::object();
    for (int n = 0; n < kAnzahlKenngroessen; ++n) {
        const Schaetzwert& s = e.kenngroessen[static_cast<std::size_t>(n)];
        const std::optional<long> datei = Dateiwert(e, n);
        k[Art(n).schluessel] = {{"wert", s.wert},
                                {"unsicherheit", Zahl(s.unsicherheit)},
                                {"start", s.start},
                                {"festgehalten", s.festgehalten},
                                {"config", datei ? ordered_json(*datei) : ordered_json(nullptr)}};
    }
    j["kenngroessen"] = k;
    j["rollreibung"] = {{"wert", e.rollreibung}, {"festgehalten", true}};
    // Nur, wenn der Fit das Gesetz mit Nase nahm: Berichte ohne es bleiben, wie sie waren.
    if (e.welt.bandenart == Bandenart::nase)
        j["bandengesetz"] = {{"bande_art", 1},
                             {"bande_nase", std::lround((1.0 + e.welt.naseSinus) * 100.0)},
                             {"bande_nase_reibung", std::lround(e.welt.naseReibung * 100.0)}};
    j["rauschen"] = {{"sigma_richtung_grad", e.sigmaRichtungGrad},
                     {"sigma_richtung_unsicherheit", e.sigmaRichtungUnsicherheit},
                     {"sigma_staerke", e.sigmaStaerke},
                     {"sigma_staerke_unsicherheit", e.sigmaStaerkeUnsicherheit},
                     {"faktor", e.rauschfaktor},
                     {"config", std::max(0L, std::lround(e.rauschfaktor * 100.0))}};
    for (int c = 0; c < kAnzahlStossklassen; ++c) {
        const auto& k = e.klassen[static_cast<std::size_t>(c)];
        j["rauschen"]["je_stossart"][Klassenschluessel(static_cast<Stossklasse>(c))] = {{"anzahl", k.anzahl},
                                                                                       {"faktor", k.rauschfaktor}};
    }
    j["restfehler"] = {{"vorher", Mass(e.vorher)}, {"nachher", Mass(e.nachher)}, {"mit_stoerungen", Mass(e.angepasst)}};
    j["iterationen"] = e.iterationen;
    j["zeitgrenze"] = e.zeitgrenze;
    j["sekunden"] = e.sekunden;
    return j.dump();
}

std::string KalibrierZeile(const Kalibrierergebnis& e) {
    std::string t = Format("Gelernt aus %ld Beobachtungen:", e.benutzt);
    bool erste = true;
    for (const Iniwert& w : KalibrierteWerte(e)) {
        t += Format("%s %s %lld", erste ? "" : ",", w.schluessel.c_str(), static_cast<long long>(w.wert));
        erste = false;
    }
    t += Format("; Restfehler %.2f -> %.2f (Median)", e.vorher.median, e.nachher.median);
    return t;
}
