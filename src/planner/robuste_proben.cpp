#include "planner/robuste_proben.h"

#include <algorithm>

#include "planner/schiedsrichter.h"
#include "sim/rauschen.h"

void SpieleProben(Durchspiel& d, Variante& v, int von, int bis) {
    for (int k = von; k < bis; ++k) {
        Simuliere(d.g, d.w, d.stand, VerrauscheStoss(v.stoss, d.rauschen, d.zr[k], d.zs[k]), d.e);
        if (BeurteileStoss(d.stand, d.e).erfolg) {
            ++v.erfolge;
            if (v.ersteErfolgreiche < 0) v.ersteErfolgreiche = k;
        }
    }
    v.proben = std::max(v.proben, bis);
}

double Quote(const Variante& v) { return v.proben ? static_cast<double>(v.erfolge) / v.proben : 0.0; }

std::vector<int> EngereWahl(Durchspiel& d, std::vector<Variante>& varianten, int proben, int& eng) {
    const int vor = std::min(kVorproben, proben);
    std::vector<int> reihe(varianten.size());
    for (std::size_t i = 0; i < reihe.size(); ++i) reihe[i] = static_cast<int>(i);
    std::stable_sort(reihe.begin(), reihe.end(),
                     [&](int a, int b) { return varianten[a].erfolge > varianten[b].erfolge; });
    eng = std::min<int>(kEngereWahl, static_cast<int>(reihe.size()));
    for (int i = 0; i < eng; ++i) SpieleProben(d, varianten[reihe[i]], vor, proben);

    for (int i = 0; i < eng; ++i) varianten[reihe[i]].wert = Quote(varianten[reihe[i]]);
    std::stable_sort(reihe.begin(), reihe.begin() + eng,
                     [&](int a, int b) { return varianten[a].wert > varianten[b].wert; });
    return reihe;
}
