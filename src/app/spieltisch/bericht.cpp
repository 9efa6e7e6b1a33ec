#include "bericht.h"

#include <cstdio>

#include <nlohmann/json.hpp>

#include "planner/robuste_suche.h"
#include "spiel/intervall.h"

namespace {

double Anteil(double a, double b) { return b > 0 ? a / b : 0.0; }

const char* const kUrsachenText[kAnzahlUrsachen] = {"", "verfehlt", "Weiße versenkt", "falsche erste Kugel",
                                                    "keine Berührung", "Schwarze zu früh"};

}  // namespace

const char* Ursachentext(Ursache u) {
    const int i = static_cast<int>(u);
    return i > 0 && i < kAnzahlUrsachen ? kUrsachenText[i] : "gelungen";
}

void SchreibeBericht(const Spielbericht& b, std::ostream& aus) {
    double unten, oben;
    Intervall95(b.erfolge, b.stoesse, unten, oben);
    char z[256];
    std::snprintf(z, sizeof z, "Modell %s, Rauschen %.2f\n", Modellname(b.modell), b.rauschen);
    aus << z;
    std::snprintf(z, sizeof z, "Tische: %d, Stöße: %d, Erfolge: %d\n", b.tische, b.stoesse, b.erfolge);
    aus << z;
    std::snprintf(z, sizeof z, "Erfolg je Stoß: %.1f %% (95 %%: %.1f %% bis %.1f %%)\n",
                  100 * Anteil(b.erfolge, b.stoesse), 100 * unten, 100 * oben);
    aus << z;
    std::snprintf(z, sizeof z, "Kugeln je Aufnahme: %.2f\nGeräumt: %.1f %% der Tische\n",
                  Anteil(static_cast<double>(b.kugeln), b.tische), 100 * Anteil(b.geraeumt, b.tische));
    aus << z;
    aus << "Fehler:";
    for (int u = 1; u < kAnzahlUrsachen; ++u) aus << (u > 1 ? "," : "") << " " << kUrsachenText[u] << " " << b.fehler[u];
    aus << "\n";
    if (b.artenBekannt) {
        aus << "Nach Stoßart:\n";
        for (int a = 0; a <= kRichtungssuche; ++a) {
            if (b.artStoesse[a] == 0) continue;
            std::snprintf(z, sizeof z, "  %-22s %6d Stöße, %6d Erfolge (%.1f %%)\n", Artenname(a), b.artStoesse[a],
                          b.artErfolge[a], 100 * Anteil(b.artErfolge[a], b.artStoesse[a]));
            aus << z;
        }
    }
    if (b.ohneAntwort > 0) aus << "Ohne Antwort abgebrochen: " << b.ohneAntwort << " Aufnahmen\n";
    std::snprintf(z, sizeof z, "Zeit je Stoß: Simulation %.1f µs, Planer %.1f µs\n", Anteil(b.simUs, b.stoesse),
                  Anteil(b.planerUs, b.stoesse));
    aus << z;
    if (b.gekappt > 0) aus << "Von der Zeitgrenze gekappte Entscheidungen: " << b.gekappt << "\n";
}

std::string Protokollzeile(const Stosszeile& z, const Protokollwelt& w) {
    nlohmann::ordered_json j;
    j["tisch"] = z.tisch;
    j["stoss"] = z.stoss;
    j["gruppe"] = z.vorher.gruppe;
    nlohmann::ordered_json kugeln = nlohmann::ordered_json::array();
    for (const Kugel& k : z.vorher.kugeln) kugeln.push_back({k.x, k.y, k.inloch ? 1 : 0});
    j["kugeln"] = kugeln;
    j["antwort"] = {z.antwort[0], z.antwort[1]};
    j["gespielt"] = {z.gespielt.x, z.gespielt.y};
    j["versenkt"] = z.versenkt;
    j["erste_beruehrung"] = z.ersteBeruehrung;
    j["erfolg"] = z.urteil.erfolg;
    j["ursache"] = Ursachenname(z.urteil.ursache);
    j["modell"] = Modellname(w.modell);
    j["welt"] = w.datei;
    j["rauschen"] = w.rauschen;
    return j.dump();
}
