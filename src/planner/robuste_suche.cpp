#include "planner/robuste_suche.h"

#include <algorithm>
#include <random>
#include <vector>

#include "anzeige/anzeige.h"
#include "model/konfiguration.h"
#include "planner/pfad.h"
#include "planner/frist.h"
#include "planner/hoechststaerke.h"
#include "planner/robuste_kandidaten.h"
#include "planner/robuste_proben.h"
#include "planner/rundumsuche.h"
#include "planner/schiedsrichter.h"
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

// Zeichnet den gewählten Stoß, schreibt die zwei Zeilen und füllt den Bericht.
void Melde(const Kandidatenliste& k, const Variante& gewaehlt, const Stoss& kandidat, Vektor stoss, Durchspiel& d,
           Suchbericht* bericht) {
    if (kandidat.art == kRichtungssuche) {
        const Vektor bis = Addiere(kandidat.weiss, Skaliere(Normiere(stoss), 20.0f));
        ZeichneLinie(bis.x, bis.y, kandidat.weiss.x, kandidat.weiss.y, kGrau);
    } else {
        ZeichneStoss(&kandidat, 1);
    }

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
    if (bericht) {
        std::copy(k.anzahl, k.anzahl + 7, bericht->anzahl);
        bericht->bester = kandidat;
        bericht->proben = gewaehlt.proben;
        bericht->erfolge = gewaehlt.erfolge;
    }
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
    const Welt welt = WeltAus(ini, e.welt);
    const Tischgeometrie g = BaueTischgeometrie(tisch);

    // Dieselben Störungen für jede Variante: Unterschiede kommen vom Stoß, nicht vom Zufall.
    std::vector<double> zr(static_cast<std::size_t>(std::max(e.proben, kVorproben))), zs(zr.size());
    std::mt19937_64 zufall(SaatAusStand(stand));
    for (std::size_t i = 0; i < zr.size(); ++i) Normalpaar(zufall, zr[i], zs[i]);
    Durchspiel d{stand, g, welt, e.rauschen, zr.data(), zs.data(), frist, {}};

    std::vector<Variante> varianten;
    const Variante& gewaehlt = varianten[static_cast<std::size_t>(WaehleLochstoss(k, varianten, d, e, physik, radius))];
    const bool nichts = gewaehlt.erfolge == 0;
    const Stoss& kandidat = nichts ? k.liste[0] : k.liste[gewaehlt.kandidat];
    // Nie stärker als vmax, auch nicht der Beste der Liste.
    stoss = Begrenzt(nichts ? StossVektor(k.liste[0], BerechneStossstaerke(k.liste[0], physik, radius)) : gewaehlt.stoss,
                     Hoechststaerke(physik));
    Melde(k, gewaehlt, kandidat, stoss, d, bericht);
    if (frist.abgelaufen)
        SchreibeLog("Robust: Zeitgrenze von %d ms erreicht, gespielt wird der beste bis dahin gefundene Stoß.\r\n",
                    e.zeitgrenze);
    MeldeStoss(stand, stoss);  // die Vorschau im Fenster zeigt den robusten Stoß
}

void PlaneStoss(const Spielstand& stand, Vektor& stoss, Suchbericht* bericht, Planerwahl wahl) {
    IniDatei ini;
    LeseIniDatei(Konfigurationsdatei(), ini);
    const Planereinstellung e = PlanerAus(ini);
    const bool robust = wahl == Planerwahl::robust || (wahl == Planerwahl::nachKonfiguration &&
                                                       e.modus == Planermodus::robust);
    if (robust) SucheStossRobust(stand, stoss, e, ini, bericht);
    else SucheStoss(stand, stoss, bericht, PhysikAus(ini), KugelradiusAus(ini));
}
