#include "vergleich.h"

#include <unistd.h>

#include <cstdio>

#include <nlohmann/json.hpp>

#include "ablauf.h"
#include "fortschritt.h"
#include "spiel/intervall.h"
#include "spielablauf.h"

namespace {

constexpr double kRauschfaktoren[] = {0.0, 0.5, 1.0, 1.5, 2.0};

double Anteil(double a, double b) { return b > 0 ? a / b : 0.0; }

nlohmann::ordered_json Kennzahlen(const Spielbericht& b) {
    double unten, oben;
    Intervall95(b.erfolge, b.stoesse, unten, oben);
    return {{"stoesse", b.stoesse},
            {"quote", Anteil(b.erfolge, b.stoesse)},
            {"quote_95", {unten, oben}},
            {"kugeln_je_aufnahme", Anteil(static_cast<double>(b.kugeln), b.tische)},
            {"geraeumt", Anteil(b.geraeumt, b.tische)}};
}

}  // namespace

int Vergleiche(const Optionen& o, std::ostream& aus, std::ostream& meldungen, const Vergleichsmaler& maler) {
    Spielumgebung u;
    Dokumentkopf kopf;
    if (!BereiteSpielVor(o, u, kopf, meldungen)) return kFalscherAufruf;
    const std::vector<Zufallstisch> tische = Spieltische(o, u.tk.tisch);
    Fortschritt fortschritt;
    BeginneFortschritt(fortschritt, static_cast<std::uint32_t>(2 * std::size(kRauschfaktoren) * tische.size()),
                       STDERR_FILENO, meldungen);
    std::vector<Vergleichspunkt> punkte;
    for (double f : kRauschfaktoren) {
        Vergleichspunkt p;
        p.rauschen = u.rauschen = f;
        for (bool robust : {false, true}) {
            Spielbericht& b = robust ? p.robust : p.vorgegeben;
            b.modell = o.modell;
            b.rauschen = f;
            for (const Aufnahme& a : SpieleLokal(o, u, tische, PlanerAusKonfiguration(u, kopf, robust), fortschritt))
                Zaehle(b, a);
        }
        punkte.push_back(p);
    }
    BeendeFortschritt(fortschritt);
    if (o.json) SchreibeVergleichJson(punkte, o, aus);
    else SchreibeVergleich(punkte, o, aus);
    if (!o.bild.empty()) {
        std::string fehler;
        if (!maler || !maler(punkte, o, fehler)) {
            meldungen << "spieltisch: " << (fehler.empty() ? "Bild nicht geschrieben." : fehler) << "\n";
            return kFalscherAufruf;
        }
    }
    return kAllesBeantwortet;
}

void SchreibeVergleich(const std::vector<Vergleichspunkt>& punkte, const Optionen& o, std::ostream& aus) {
    char z[256];
    std::snprintf(z, sizeof z, "Vergleich: Modell %s, %u Tische, Gruppe %d, %d Objektkugeln\n", Modellname(o.modell),
                  o.anzahl, o.gruppe, o.kugeln);
    aus << z;
    aus << "Rauschen | vorgegeben: Erfolg je Stoß (95 %)     Kugeln | robust: Erfolg je Stoß (95 %)     Kugeln\n";
    for (const Vergleichspunkt& p : punkte) {
        double u1, o1, u2, o2;
        Intervall95(p.vorgegeben.erfolge, p.vorgegeben.stoesse, u1, o1);
        Intervall95(p.robust.erfolge, p.robust.stoesse, u2, o2);
        std::snprintf(z, sizeof z, "%8.2f | %10.1f %% (%4.1f–%4.1f %%) %14.2f | %6.1f %% (%4.1f–%4.1f %%) %14.2f\n",
                      p.rauschen, 100 * Anteil(p.vorgegeben.erfolge, p.vorgegeben.stoesse), 100 * u1, 100 * o1,
                      Anteil(static_cast<double>(p.vorgegeben.kugeln), p.vorgegeben.tische),
                      100 * Anteil(p.robust.erfolge, p.robust.stoesse), 100 * u2, 100 * o2,
                      Anteil(static_cast<double>(p.robust.kugeln), p.robust.tische));
        aus << z;
    }
}

void SchreibeVergleichJson(const std::vector<Vergleichspunkt>& punkte, const Optionen& o, std::ostream& aus) {
    nlohmann::ordered_json j;
    j["modell"] = Modellname(o.modell);
    j["tische"] = o.anzahl;
    j["gruppe"] = o.gruppe;
    j["kugeln"] = o.kugeln;
    for (const Vergleichspunkt& p : punkte)
        j["punkte"].push_back(
            {{"rauschen", p.rauschen}, {"vorgegeben", Kennzahlen(p.vorgegeben)}, {"robust", Kennzahlen(p.robust)}});
    aus << j.dump() << "\n";
}
