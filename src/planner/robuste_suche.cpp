#include "planner/robuste_suche.h"

#include <algorithm>
#include <random>
#include <vector>

#include "anzeige/anzeige.h"
#include "model/konfiguration.h"
#include "planner/anstoss.h"
#include "planner/frist.h"
#include "planner/gelernter_tisch.h"
#include "planner/hoechststaerke.h"
#include "planner/pfad.h"
#include "planner/robuste_kandidaten.h"
#include "planner/robuste_proben.h"
#include "planner/rundumsuche.h"
#include "planner/schiedsrichter.h"
#include "planner/sicherheitsstoss.h"
#include "planner/stellungsspiel.h"
#include "planner/stoss_linien.h"
#include "planner/stossstaerke.h"
#include "sim/rauschen.h"
#include "sim/simulation.h"

namespace {

// Steht keiner gut da (weniger als die Hälfte der Vorproben gelingt), kommen
// die Treffer der Rundumsuche als Kandidaten dazu.
void RundumKandidaten(Kandidatenliste& k, std::vector<Variante>& varianten, Durchspiel& d, int vor, float grenze) {
    for (const Richtungstreffer& t : Rundumsuche(d)) {
        Stoss s{};
        s.weiss = k.liste[0].weiss;
        s.ziel = Addiere(s.weiss, Skaliere(t.richtung, 20.0f));
        s.art = kRichtungssuche;
        const std::size_t vorher = varianten.size();
        if (!HaengeAn(k, s)) break;
        VariantenZu(varianten, k.frei - 1, t.richtung, t.staerke, kRundumFaktoren, grenze);
        Vorproben(d, varianten, vorher, vor);
    }
}

// Die Lochstöße in der Folge ihrer Aussicht: die Kandidaten der Liste, die
// großzügigen direkten, wenn keiner gut dasteht die Rundumsuche, dann alle
// Proben für die engere Wahl und das Stellungsspiel. Jeder Schritt hört auf,
// wenn die Zeit um ist; die Reihenfolge der Varianten und damit die Wahl
// hängen davon nicht ab. Gibt den Index der gewählten Variante zurück.
int WaehleLochstoss(Kandidatenliste& k, std::vector<Variante>& varianten, Durchspiel& d, const Planereinstellung& e,
                    const Physik& physik, float radius) {
    const int vor = std::min(kVorproben, e.proben);
    KandidatenVarianten(k, 0, physik, radius, varianten);
    Vorproben(d, varianten, 0, vor);
    const std::size_t ausDerListe = k.kandidaten.size(), ab = varianten.size();
    for (const Stoss& s : GuteGroszuegige(k, d, physik, radius, e.kandidaten)) HaengeAn(k, s);
    KandidatenVarianten(k, ausDerListe, physik, radius, varianten);
    Vorproben(d, varianten, ab, vor);

    int besteVorprobe = 0;
    for (const Variante& v : varianten) besteVorprobe = std::max(besteVorprobe, v.erfolge);
    if (2 * besteVorprobe < vor) RundumKandidaten(k, varianten, d, vor, Hoechststaerke(physik));

    int eng = 0;
    const std::vector<int> reihe = EngereWahl(d, varianten, e.proben, eng);
    if (e.stellung > 0.0) Stellungsspiel(d, varianten, reihe, eng, e.stellung, physik, radius);
    int wahl = reihe[0];
    for (int i = 1; i < eng; ++i)
        if (varianten[reihe[i]].wert > varianten[wahl].wert) wahl = reihe[i];
    return wahl;
}

// Was gespielt wird, mit dem Kandidaten für Linien und Bericht.
struct Entscheidung {
    Vektor stoss;
    Stoss kandidat;
    int erfolge = 0, proben = 0;
    bool anstoss = false, sicherheit = false;
};

// Ein Stoß ohne Kandidaten der Liste (Rundumsuche, Anstoß, Sicherheitsstoß):
// eine Richtung mit einer Stärke.
Stoss Richtungskandidat(Vektor weiss, Vektor stoss) {
    Stoss s{};
    s.weiss = weiss;
    s.ziel = Addiere(weiss, Skaliere(Normiere(stoss), 20.0f));
    s.art = kRichtungssuche;
    return s;
}

// Die zwei Zeilen über den gewählten Lochstoß.
void MeldeLochstoss(const Variante& gewaehlt, const Stoss& kandidat, Vektor stoss, Durchspiel& d) {
    if (gewaehlt.erfolge == 0) {
        SchreibeLog("Robust: kein Stoß gelingt in den Proben, gespielt wird der beste der Liste.\r\n");
    } else {
        // Was fällt: aus einer gelungenen Probe dieses Stoßes.
        const int p = gewaehlt.ersteErfolgreiche;
        Simuliere(d.g, d.w, d.stand, VerrauscheStoss(stoss, d.rauschen, d.zr[p], d.zs[p]), d.e);
        int kugel = -1;
        bool eigene[kAnzahlKugeln] = {};
        EigeneKugeln(d.stand, eigene);
        for (int i = 1; i < kAnzahlKugeln && kugel < 0; ++i)
            if (d.e.tasche[i] >= 0 && eigene[i]) kugel = i;
        SchreibeLog("Robust: Kugel %d in Tasche %d (%s), Stärke %f\r\n", kugel, kugel > 0 ? d.e.tasche[kugel] + 1 : 0,
                    kandidat.art == kRichtungssuche ? "Richtungssuche" : Artname(kandidat.art),
                    static_cast<double>(Laenge(stoss)));
    }
    SchreibeLog("Erfolg %d von %d Proben\r\n", gewaehlt.erfolge, gewaehlt.proben);
}
Entscheidung Lochstoss(Kandidatenliste& k, Durchspiel& d, const Planereinstellung& e, const Physik& physik,
                       float radius) {
    std::vector<Variante> varianten;
    const Variante& gewaehlt = varianten[static_cast<std::size_t>(WaehleLochstoss(k, varianten, d, e, physik, radius))];
    const bool nichts = gewaehlt.erfolge == 0;
    Entscheidung x;
    x.kandidat = nichts ? k.liste[0] : k.liste[gewaehlt.kandidat];
    // Nie stärker als vmax, auch nicht der Beste der Liste.
    x.stoss = Begrenzt(nichts ? StossVektor(k.liste[0], BerechneStossstaerke(k.liste[0], physik, radius)) : gewaehlt.stoss,
                       Hoechststaerke(physik));
    x.erfolge = gewaehlt.erfolge;
    x.proben = gewaehlt.proben;
    MeldeLochstoss(gewaehlt, x.kandidat, x.stoss, d);
    return x;
}

Entscheidung Anstossen(Durchspiel& d, float radius, const Physik& physik, int proben) {
    const Anstosswahl a = WaehleAnstoss(d, radius, Hoechststaerke(physik), proben);
    Entscheidung x;
    x.stoss = a.stoss;
    x.kandidat = Richtungskandidat(Lage(d.stand.kugeln[0]), a.stoss);
    x.erfolge = a.erfolge;
    x.proben = a.proben;
    x.anstoss = true;
    SchreibeLog("Robust: Anstoß auf das volle Dreieck, Stärke %f%s\r\n", static_cast<double>(Laenge(a.stoss)),
                a.gueltig ? "" : " (ohne Rauschen kein gültiger gefunden)");
    SchreibeLog("Erfolg %d von %d Proben\r\n", a.erfolge, a.proben);
    return x;
}

// Gelingt der Lochstoß zu selten, wird er gegen Sicherheitsstöße gewogen; eine
// Zeile sagt, was gespielt wird und warum. Reicht die Zeit nicht, um beide
// ganz zu bewerten, bleibt es beim Lochstoß (die Zeitgrenze wird gemeldet).
void WaegeGegenSicherheit(Entscheidung& x, Durchspiel& d, const Planereinstellung& e, const Physik& physik,
                          float radius) {
    const Sicherheitswahl s = WaegeSicherheit(d, x.stoss, e.proben, physik, radius, Hoechststaerke(physik));
    if (!s.lochstoss.ganz || (!s.gefunden && d.frist.abgelaufen)) return;
    const int lochProzent = x.proben ? 100 * x.erfolge / x.proben : 0;
    if (!s.gefunden) {
        SchreibeLog("Sicherheit: kein gültiger Sicherheitsstoß gefunden, der Lochstoß bleibt.\r\n");
        return;
    }
    if (!(s.sicherheit.wert > s.lochstoss.wert)) {
        SchreibeLog("Sicherheit: der Lochstoß bleibt (%d %% Erfolg), er ist mehr wert als der beste "
                    "Sicherheitsstoß (%f gegen %f).\r\n",
                    lochProzent, s.lochstoss.wert, s.sicherheit.wert);
        return;
    }
    const int gegnerProzent = static_cast<int>(100.0 * std::max(s.sicherheit.gegner, 0.0) + 0.5);
    SchreibeLog("Sicherheit: gespielt wird ein Sicherheitsstoß, Stärke %f: der Lochstoß gelingt nur zu %d %%, "
                "danach locht der Gegner zu %d %% (Wert %f gegen %f).\r\n",
                static_cast<double>(Laenge(s.stoss)), lochProzent, gegnerProzent, s.sicherheit.wert,
                s.lochstoss.wert);
    x.stoss = s.stoss;
    x.kandidat = Richtungskandidat(Lage(d.stand.kugeln[0]), s.stoss);
    x.erfolge = s.sicherheit.gueltig;
    x.proben = s.sicherheit.proben;
    x.sicherheit = true;
}

void Zeichne(const Entscheidung& x) {
    if (x.kandidat.art == kRichtungssuche) {
        const Vektor bis = Addiere(x.kandidat.weiss, Skaliere(Normiere(x.stoss), 20.0f));
        ZeichneLinie(bis.x, bis.y, x.kandidat.weiss.x, x.kandidat.weiss.y, kGrau);
    } else {
        ZeichneStoss(&x.kandidat, 1);
    }
}

void FuelleBericht(const Kandidatenliste& k, const Entscheidung& x, Suchbericht& bericht) {
    std::copy(k.anzahl, k.anzahl + 7, bericht.anzahl);
    bericht.bester = x.kandidat;
    bericht.proben = x.proben;
    bericht.erfolge = x.erfolge;
    bericht.anstoss = x.anstoss;
    bericht.sicherheit = x.sicherheit;
}

}  // namespace

std::uint64_t SaatAusStand(const Spielstand& stand) {
    // FNV-1a über die Felder, die ein Dokument trägt: Lage, inloch, Zieltasche, Gruppe.
    std::uint64_t h = 0xcbf29ce484222325ull;
    auto nimm = [&h](const void* p, std::size_t n) {
        const auto* b = static_cast<const unsigned char*>(p);
        for (std::size_t i = 0; i < n; ++i) h = (h ^ b[i]) * 0x100000001b3ull;
    };
    for (const Kugel& k : stand.kugeln) {
        nimm(&k.x, sizeof k.x);
        nimm(&k.y, sizeof k.y);
        nimm(&k.inloch, sizeof k.inloch);
        nimm(&k.zieltasche, sizeof k.zieltasche);
    }
    nimm(&stand.gruppe, sizeof stand.gruppe);
    return h;
}

void SucheStossRobust(const Spielstand& stand, Vektor& stoss, const Planereinstellung& e, const IniDatei& ini,
                      Suchbericht* bericht) {
    Frist frist = StarteFrist(e.zeitgrenze);
    Kandidatenliste k = ListenKandidaten(stand, e.kandidaten);
    const Physik physik = PhysikAus(ini);
    const float radius = KugelradiusAus(ini);
    const Welt welt = e.gelernteWelt && e.welt == Modell::R ? *e.gelernteWelt : WeltAus(ini, e.welt);
    const Tischgeometrie g = BaueTischgeometrie(tisch);

    // Dieselben Störungen für jede Variante: Unterschiede kommen vom Stoß, nicht vom Zufall.
    std::vector<double> zr(static_cast<std::size_t>(std::max(e.proben, kVorproben))), zs(zr.size());
    std::mt19937_64 zufall(SaatAusStand(stand));
    for (std::size_t i = 0; i < zr.size(); ++i) Normalpaar(zufall, zr[i], zs[i]);
    Durchspiel d{stand, g, welt, e.rauschen, zr.data(), zs.data(), frist, {}};

    Entscheidung x;
    if (VollesDreieck(stand, radius)) {
        x = Anstossen(d, radius, physik, e.proben);
    } else {
        x = Lochstoss(k, d, e, physik, radius);
        const double quote = x.proben ? static_cast<double>(x.erfolge) / x.proben : 0.0;
        if (e.sicherheit && quote < e.sicherheitSchwelle) WaegeGegenSicherheit(x, d, e, physik, radius);
    }
    if (frist.abgelaufen)
        SchreibeLog("Robust: Zeitgrenze von %d ms erreicht, gespielt wird der beste bis dahin gefundene Stoß.\r\n",
                    e.zeitgrenze);
    stoss = x.stoss;
    Zeichne(x);
    if (bericht) FuelleBericht(k, x, *bericht);
    MeldeStoss(stand, stoss);  // die Vorschau im Fenster zeigt den robusten Stoß
}

void PlaneStoss(const Spielstand& stand, Vektor& stoss, Suchbericht* bericht, Planerwahl wahl) {
    IniDatei ini;
    LeseIniDatei(Konfigurationsdatei(), ini);
    Planereinstellung e = PlanerAus(ini);
    if (e.lernen) {
        if (const auto gelernt = GelernterTischJetzt()) {
            e.gelernteWelt = std::shared_ptr<const Welt>(gelernt, &gelernt->welt);
            e.rauschen = gelernt->rauschen;
        }
    }
    const bool robust = wahl == Planerwahl::robust || (wahl == Planerwahl::nachKonfiguration &&
                                                       e.modus == Planermodus::robust);
    if (robust) SucheStossRobust(stand, stoss, e, ini, bericht);
    else SucheStoss(stand, stoss, bericht, PhysikAus(ini), KugelradiusAus(ini));
}
