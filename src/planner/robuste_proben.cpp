#include "planner/robuste_proben.h"

#include <algorithm>

#include "planner/schiedsrichter.h"
#include "sim/rauschen.h"
#include "sim/stossklasse.h"

void SpieleStoss(Durchspiel& d, Vektor stoss) {
    Simuliere(d.g, d.w, d.stand, stoss, d.e);
    ZaehleStoss(d.frist);
}

double RauschenFuer(Durchspiel& d, Variante& v) {
    if (!d.klassenrauschen) return d.rauschen;
    if (v.rauschen < 0.0) {
        SpieleStoss(d, v.stoss);
        v.rauschen = d.klassenrauschen[static_cast<int>(KlasseAus(d.e))];
    }
    return v.rauschen;
}

void SpieleProben(Durchspiel& d, Variante& v, int von, int bis) {
    int k = von;
    if (von < bis && !Abgelaufen(d.frist)) RauschenFuer(d, v);
    const double rauschen = Probenrauschen(d, v);
    for (; k < bis; ++k) {
        if (Abgelaufen(d.frist)) break;
        SpieleStoss(d, VerrauscheStoss(v.stoss, rauschen, d.zr[k], d.zs[k]));
        if (BeurteileStoss(d.stand, d.e).erfolg) {
            ++v.erfolge;
            if (v.ersteErfolgreiche < 0) v.ersteErfolgreiche = k;
        }
    }
    // Kam es zu keiner Probe, gilt die alte Zahl: die Proben davor können fehlen.
    if (k > von) v.proben = std::max(v.proben, k);
}

void Vorproben(Durchspiel& d, std::vector<Variante>& varianten, std::size_t ab, int vor) {
    for (std::size_t i = ab; i < varianten.size() && !Abgelaufen(d.frist); ++i) SpieleProben(d, varianten[i], 0, vor);
}

double Quote(const Variante& v) { return v.proben ? static_cast<double>(v.erfolge) / v.proben : 0.0; }

std::vector<int> EngereWahl(Durchspiel& d, std::vector<Variante>& varianten, int proben, int& eng) {
    const int vor = std::min(kVorproben, proben);
    std::vector<int> reihe(varianten.size());
    for (std::size_t i = 0; i < reihe.size(); ++i) reihe[i] = static_cast<int>(i);
    // Bei gleich vielen Proben genau die Folge der Erfolge; ganzzahlig verglichen.
    auto vorn = [&](int a, int b) {
        const Variante &x = varianten[a], &y = varianten[b];
        return static_cast<long>(x.erfolge + 1) * (y.proben + 2) > static_cast<long>(y.erfolge + 1) * (x.proben + 2);
    };
    std::stable_sort(reihe.begin(), reihe.end(), vorn);
    eng = std::min<int>(kEngereWahl, static_cast<int>(reihe.size()));
    for (int i = 0; i < eng; ++i) SpieleProben(d, varianten[reihe[i]], vor, proben);

    for (int i = 0; i < eng; ++i) varianten[reihe[i]].wert = Quote(varianten[reihe[i]]);
    std::stable_sort(reihe.begin(), reihe.begin() + eng,
                     [&](int a, int b) { return varianten[a].wert > varianten[b].wert; });
    return reihe;
}
