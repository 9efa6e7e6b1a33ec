#include "lernkurve.h"

#include <unistd.h>

#include <cstdio>
#include <memory>

#include <nlohmann/json.hpp>

#include "ablauf.h"
#include "fortschritt.h"
#include "lernen/kalibrierbericht.h"
#include "lernen/lerner.h"
#include "net/xml_schreiben.h"
#include "spiel/intervall.h"
#include "spielablauf.h"

namespace {

// So viele Tische spielt der Lernende höchstens, bis er genug Beobachtungen hat.
constexpr std::uint32_t kHoechstensLerntische = 20000;

double Anteil(double a, double b) { return b > 0 ? a / b : 0.0; }

Spielbericht Leer(const Optionen& o) {
    Spielbericht b;
    b.modell = Modell::R;
    b.rauschen = o.rauschen;
    return b;
}

// Was der Tisch spielt: die Zahlen, wie sie in der Antwort stehen.
Vektor Beantwortet(Vektor stoss) {
    return AntwortStoss(AntwortZahl(Festkomma(stoss.x)), AntwortZahl(Festkomma(stoss.y)));
}

std::shared_ptr<LokalerPlaner> Robuster(const Spielumgebung& u, std::string& fehler) {
    auto p = std::make_shared<LokalerPlaner>();
    if (!LadePlaner(u.konfiguration, Wahl::robust, false, *p)) fehler = "config.ini nicht lesbar";
    Bemesse(*p, u.zeitgrenze);
    return p;
}

// Der Planer plant in w mit dem Rauschen F, wie mit einem gelernten Tisch
// (klassen: F je Stoßklasse, nullptr: keins).
void GibWelt(LokalerPlaner& p, const Welt& w, double rauschen, const double* klassen = nullptr) {
    if (p.kontext.einstellung.welt == Modell::R) p.kontext.welt = w;
    p.kontext.einstellung.rauschen = rauschen;
    for (std::size_t c = 0; c < p.kontext.einstellung.klassenrauschen.size(); ++c)
        p.kontext.einstellung.klassenrauschen[c] = klassen ? klassen[c] : 0.0;
}

nlohmann::ordered_json Kennzahlen(const Spielbericht& b) {
    double unten, oben;
    Intervall95(b.erfolge, b.stoesse, unten, oben);
    return {{"tische", b.tische},
            {"stoesse", b.stoesse},
            {"quote", Anteil(b.erfolge, b.stoesse)},
            {"quote_95", {unten, oben}},
            {"kugeln_je_aufnahme", Anteil(static_cast<double>(b.kugeln), b.tische)},
            {"geraeumt", Anteil(b.geraeumt, b.tische)}};
}

std::string Zeile(const char* name, const Spielbericht& b) {
    double unten, oben;
    Intervall95(b.erfolge, b.stoesse, unten, oben);
    char z[200];
    std::snprintf(z, sizeof z, "  %-12s %5.1f %% (%4.1f–%4.1f %%) je Stoß, %5.2f Kugeln je Aufnahme, %4.1f %% geräumt\n",
                  name, 100 * Anteil(b.erfolge, b.stoesse), 100 * unten, 100 * oben,
                  Anteil(static_cast<double>(b.kugeln), b.tische), 100 * Anteil(b.geraeumt, b.tische));
    return z;
}

void SchreibeText(const Lernlauf& l, const Optionen& o, std::ostream& aus) {
    char z[256];
    std::snprintf(z, sizeof z, "Lernkurve: fremder Tisch %s, Rauschen %.2f, Gruppe %d, Saat %u\n", o.welt.c_str(),
                  o.rauschen, o.gruppe, *o.zufallSaat);
    aus << z;
    std::snprintf(z, sizeof z, "Gelernt auf %ld Tischen: %ld Beobachtungen, %ld Anpassungen\n\n", l.tischeBeimLernen,
                  l.beobachtungen, l.anpassungen);
    aus << z;
    aus << "Beobachtungen | Tische | lernend            | ohne Lernen        | wahre Welt\n";
    for (const Lernabschnitt& a : l.kurve) {
        std::snprintf(z, sizeof z, "%5ld – %5ld | %6d | %5.1f %% von %5d | %5.1f %% von %5d | %5.1f %% von %5d\n",
                      a.von, a.bis - 1, a.lernend.tische, 100 * Anteil(a.lernend.erfolge, a.lernend.stoesse),
                      a.lernend.stoesse, 100 * Anteil(a.ohne.erfolge, a.ohne.stoesse), a.ohne.stoesse,
                      100 * Anteil(a.wahr.erfolge, a.wahr.stoesse), a.wahr.stoesse);
        aus << z;
    }
    std::snprintf(z, sizeof z, "\nDanach %d Tische (der Lernende mit der Welt nach %ld Beobachtungen):\n",
                  l.danachLernend.tische, l.beobachtungen);
    aus << z << Zeile("lernend", l.danachLernend);
    if (l.danachOhneVertrauen) aus << Zeile("  dieselbe Welt ohne Vertrauen je Art", *l.danachOhneVertrauen);
    aus << Zeile("ohne Lernen", l.danachOhne) << Zeile("wahre Welt", l.danachWahr);
    if (l.gelernt) aus << "\n" << KalibrierberichtText(l.letztes);
}

void SchreibeJson(const Lernlauf& l, const Optionen& o, std::ostream& aus) {
    nlohmann::ordered_json j;
    j["welt"] = o.welt;
    j["rauschen"] = o.rauschen;
    j["gruppe"] = o.gruppe;
    j["tische_beim_lernen"] = l.tischeBeimLernen;
    j["beobachtungen"] = l.beobachtungen;
    j["anpassungen"] = l.anpassungen;
    j["kurve"] = nlohmann::ordered_json::array();
    for (const Lernabschnitt& a : l.kurve)
        j["kurve"].push_back({{"von", a.von},
                              {"bis", a.bis},
                              {"lernend", Kennzahlen(a.lernend)},
                              {"ohne", Kennzahlen(a.ohne)},
                              {"wahr", Kennzahlen(a.wahr)}});
    j["danach"] = {{"lernend", Kennzahlen(l.danachLernend)},
                   {"ohne", Kennzahlen(l.danachOhne)},
                   {"wahr", Kennzahlen(l.danachWahr)}};
    if (l.danachOhneVertrauen) j["danach"]["lernend_ohne_vertrauen"] = Kennzahlen(*l.danachOhneVertrauen);
    if (l.gelernt) j["gelernt"] = nlohmann::ordered_json::parse(KalibrierberichtJson(l.letztes));
    aus << j.dump() << "\n";
}

}  // namespace

int ZeichneLernkurve(const Optionen& o, std::ostream& aus, std::ostream& meldungen, const Lernkurvenmaler& maler) {
    Spielumgebung u;
    Dokumentkopf kopf;
    if (!BereiteSpielVor(o, u, kopf, meldungen)) return kFalscherAufruf;
    std::string fehler;
    const std::shared_ptr<LokalerPlaner> ohne = Robuster(u, fehler);
    if (!fehler.empty()) {
        meldungen << "spieltisch: " << fehler << "\n";
        return kFalscherAufruf;
    }
    // Dem Wissenden gibt der Tisch seine wahre Welt und das wahre Rauschen.
    auto wahr = std::make_shared<LokalerPlaner>(*ohne);
    GibWelt(*wahr, u.welt, o.rauschen);

    Lernlauf l;
    l.wahr = u.welt;
    Lerner lerner;
    lerner.welt = WeltAus(*ohne->ini, Modell::R);
    lerner.rauschen = ohne->kontext.einstellung.rauschen;
    lerner.lernenAlle = ohne->kontext.einstellung.lernenAlle;
    lerner.bis = o.bis;
    Kalibrieroptionen ko;
    ko.threads = o.threads;
    ko.g = ohne->kontext.physik.g;
    auto lernend = std::make_shared<LokalerPlaner>(*ohne);
    const Planer lernenderPlaner = LokalerBote(kopf, lernend->tisch, [&](const Spielstand& gelesen) {
        LernerSieht(lerner, u.geometrie, gelesen, ko);
        GibWelt(*lernend, lerner.welt, lerner.rauschen, lerner.klassenrauschen.data());
        Planergebnis p = PlaneLokal(*lernend, gelesen);
        LernerAntwortet(lerner, gelesen, Beantwortet(p.stoss));
        return p;
    });

    // Erst lernt er Tisch für Tisch, bis er genug gesehen hat.
    Optionen lernOptionen = o;
    lernOptionen.ab = 1;
    lernOptionen.anzahl = kHoechstensLerntische;
    const std::vector<Zufallstisch> lerntische = Spieltische(lernOptionen, u.tk.tisch);
    const long breite = std::max<long>(lerner.lernenAlle, static_cast<long>(o.bis) / 6);
    std::vector<long> beimStart;
    std::vector<Aufnahme> gelernteAufnahmen;
    for (std::uint32_t i = 0; i < lerntische.size() && static_cast<long>(lerner.beobachtungen.size()) < o.bis; ++i) {
        beimStart.push_back(static_cast<long>(lerner.beobachtungen.size()));
        gelernteAufnahmen.push_back(SpieleAufnahme(u, i + 1, lerntische[i], lernenderPlaner));
    }
    l.tischeBeimLernen = static_cast<long>(gelernteAufnahmen.size());
    l.beobachtungen = static_cast<long>(lerner.beobachtungen.size());
    l.anpassungen = lerner.anpassungen;
    l.gelernt = lerner.anpassungen > 0;
    if (l.gelernt) l.letztes = lerner.letztes;

    // Dieselben Tische für die beiden anderen (sie lernen nicht: auf Threads).
    lernOptionen.anzahl = static_cast<std::uint32_t>(l.tischeBeimLernen);
    const std::vector<Zufallstisch> gleiche(lerntische.begin(), lerntische.begin() + l.tischeBeimLernen);
    Fortschritt still;
    const std::vector<Aufnahme> ohneAufnahmen = SpieleLokal(lernOptionen, u, gleiche, LokalerBote(kopf, ohne), still);
    const std::vector<Aufnahme> wahrAufnahmen = SpieleLokal(lernOptionen, u, gleiche, LokalerBote(kopf, wahr), still);
    for (long i = 0; i < l.tischeBeimLernen; ++i) {
        const long abschnitt = beimStart[static_cast<std::size_t>(i)] / breite;
        while (static_cast<long>(l.kurve.size()) <= abschnitt) {
            Lernabschnitt a;
            a.von = static_cast<long>(l.kurve.size()) * breite;
            a.bis = a.von + breite;
            a.lernend = a.ohne = a.wahr = Leer(o);
            l.kurve.push_back(a);
        }
        Lernabschnitt& a = l.kurve[static_cast<std::size_t>(abschnitt)];
        Zaehle(a.lernend, gelernteAufnahmen[static_cast<std::size_t>(i)]);
        Zaehle(a.ohne, ohneAufnahmen[static_cast<std::size_t>(i)]);
        Zaehle(a.wahr, wahrAufnahmen[static_cast<std::size_t>(i)]);
    }

    // Dann die Tische danach: der Lernende mit seiner letzten Welt, ohne weiterzulernen.
    Optionen danach = o;
    danach.ab = static_cast<std::uint32_t>(l.tischeBeimLernen) + 1;
    const std::vector<Zufallstisch> tische = Spieltische(danach, u.tk.tisch);
    GibWelt(*lernend, lerner.welt, lerner.rauschen, lerner.klassenrauschen.data());
    l.danachLernend = l.danachOhne = l.danachWahr = Leer(o);
    const bool vertrauen = lernend->kontext.einstellung.vertrauenJeArt;
    Fortschritt fortschritt;
    BeginneFortschritt(fortschritt, (vertrauen ? 4 : 3) * o.anzahl, STDERR_FILENO, meldungen);
    for (const Aufnahme& a : SpieleLokal(danach, u, tische, LokalerBote(kopf, std::shared_ptr<const LokalerPlaner>(lernend)), fortschritt))
        Zaehle(l.danachLernend, a);
    if (vertrauen) {
        auto ohneVertrauen = std::make_shared<LokalerPlaner>(*lernend);
        ohneVertrauen->kontext.einstellung.vertrauenJeArt = false;
        l.danachOhneVertrauen = Leer(o);
        for (const Aufnahme& a : SpieleLokal(danach, u, tische, LokalerBote(kopf, std::shared_ptr<const LokalerPlaner>(ohneVertrauen)), fortschritt))
            Zaehle(*l.danachOhneVertrauen, a);
    }
    for (const Aufnahme& a : SpieleLokal(danach, u, tische, LokalerBote(kopf, ohne), fortschritt))
        Zaehle(l.danachOhne, a);
    for (const Aufnahme& a : SpieleLokal(danach, u, tische, LokalerBote(kopf, wahr), fortschritt))
        Zaehle(l.danachWahr, a);
    BeendeFortschritt(fortschritt);

    if (o.json) SchreibeJson(l, o, aus);
    else SchreibeText(l, o, aus);
    if (!o.bild.empty()) {
        if (!maler || !maler(l, o, fehler)) {
            meldungen << "spieltisch: " << (fehler.empty() ? "Bild nicht geschrieben." : fehler) << "\n";
            return kFalscherAufruf;
        }
    }
    return kAllesBeantwortet;
}
