#include "planner/stellungsspiel.h"

#include <algorithm>

#include "planner/hoechststaerke.h"
#include "planner/pfad.h"
#include "planner/robuste_kandidaten.h"
#include "planner/rundumsuche.h"
#include "planner/schiedsrichter.h"
#include "planner/suche.h"
#include "sim/rauschen.h"

namespace {

bool Gelingt(const Spielstand& stand, const Simergebnis& e) { return BeurteileStoss(stand, e).erfolg; }

// Die besten Lochstöße der Liste wie bei der eigenen Wahl: je Stärke die
// Mitte des Zielfensters, je Variante proben Proben. Hört beim ersten auf,
// der immer gelingt.
double Lochaussicht(Durchspiel& n, const Physik& p, float r, int proben) {
    Kandidatenliste k;
    k.liste.resize(kListenGroesse);
    k.n = SammleStoesse(n.tk, n.stand, k.liste.data(), k.anzahl);
    SortiereStoesse(k.liste.data(), k.n);
    double bester = 0.0;
    for (int i = 0, geprueft = 0; i < k.n && geprueft < kNaechsteLochstoesse && bester < 1.0; ++i) {
        if (!Lochstoss(k.liste[i].art)) continue;
        ++geprueft;
        k.kandidaten.push_back(i);
        std::vector<Variante> varianten;
        KandidatenVarianten(k, k.kandidaten.size() - 1, p, r, n, varianten);
        for (Variante& v : varianten) {
            SpieleProben(n, v, 0, proben);
            bester = std::max(bester, Quote(v));
            if (bester >= 1.0) break;
        }
    }
    return bester;
}

}  // namespace

double Rundumaussicht(Durchspiel& n, float grenze, int proben) {
    std::vector<Richtungstreffer> treffer;
    for (float staerke : {grenze, std::min(kRundumMitte, grenze)})
        if (!Rundum(n, staerke, 360, Gelingt, treffer)) break;
    double bester = 0.0;
    for (const Richtungstreffer& t : Breiteste(treffer, 3)) {
        Variante v;
        v.kandidat = 0;
        v.stoss = Skaliere(t.richtung, t.staerke);
        SpieleProben(n, v, 0, proben);
        bester = std::max(bester, Quote(v));
    }
    return bester;
}

double Stellungswert(const Spielstand& nachher, Durchspiel& d, const Physik& p, float r, int proben) {
    if (!EigeneAufDemTisch(nachher)) return 1.0;

    Durchspiel n{d.tk, nachher, d.g, d.w, d.rauschen, d.zr, d.zs, d.frist, {}, d.klassenrauschen};
    const double loch = Lochaussicht(n, p, r, proben);
    if (!(loch < 0.5)) return loch;
    return std::max(loch, Rundumaussicht(n, Hoechststaerke(p), proben));
}

void Stellungsspiel(Durchspiel& d, std::vector<Variante>& varianten, const std::vector<int>& reihe, int eng,
                    double stellung, const Physik& physik, float radius) {
    double besterWert = 0.0;
    for (int i = 0; i < eng && !Abgelaufen(d.frist); ++i) {
        Variante& v = varianten[reihe[i]];
        // Die Reihe fällt nach der Quote: kommt diese selbst mit der besten
        // Stellung nicht über den besten Wert, kommt keine spätere darüber.
        if (!(Quote(v) * (1.0 + stellung) > besterWert)) break;
        if (v.ersteErfolgreiche < 0) continue;
        const int k = v.ersteErfolgreiche;
        SpieleStoss(d, VerrauscheStoss(v.stoss, Probenrauschen(d, v), d.zr[k], d.zs[k]));
        const double q = Stellungswert(Endstand(d.stand, d.e), d, physik, radius, kVorproben);
        v.wert = Quote(v) * (1.0 + stellung * q);
        besterWert = std::max(besterWert, v.wert);
    }
}
