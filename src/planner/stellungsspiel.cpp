#include "planner/stellungsspiel.h"

#include <algorithm>

#include "planner/pfad.h"
#include "planner/robuste_kandidaten.h"
#include "planner/schiedsrichter.h"
#include "planner/stossstaerke.h"
#include "planner/suche.h"
#include "sim/rauschen.h"

double Stellungswert(const Spielstand& nachher, Durchspiel& d, const Physik& p, float r, int proben) {
    bool eigene[kAnzahlKugeln] = {};
    EigeneKugeln(nachher, eigene);
    bool etwasDa = false;
    for (int i = 1; i < kAnzahlKugeln; ++i) etwasDa |= eigene[i] && !nachher.kugeln[i].inloch;
    if (!etwasDa) return 1.0;

    std::vector<Stoss> liste(kListenGroesse);
    int anzahl[7];
    const int n = SammleStoesse(nachher, liste.data(), anzahl);
    SortiereStoesse(liste.data(), n);
    Simergebnis& e = d.e;
    double bester = 0.0;
    int geprueft = 0;
    for (int k = 0; k < n && geprueft < 3; ++k) {
        if (!Lochstoss(liste[k].art)) continue;
        ++geprueft;
        const float staerke = BerechneStossstaerke(liste[k], p, r);
        for (float faktor : {1.3f, 1.8f}) {
            const Vektor stoss = StossVektor(liste[k], staerke * faktor);
            int erfolge = 0, j = 0;
            for (; j < proben && !Abgelaufen(d.frist); ++j) {
                Simuliere(d.g, d.w, nachher, VerrauscheStoss(stoss, d.rauschen, d.zr[j], d.zs[j]), e);
                erfolge += BeurteileStoss(nachher, e).erfolg;
            }
            if (j > 0) bester = std::max(bester, static_cast<double>(erfolge) / j);
        }
    }
    return bester;
}

void Stellungsspiel(Durchspiel& d, std::vector<Variante>& varianten, const std::vector<int>& reihe, int eng,
                    double stellung, const Physik& physik, float radius) {
    for (int i = 0; i < std::min(kStellungsWahl, eng) && !Abgelaufen(d.frist); ++i) {
        Variante& v = varianten[reihe[i]];
        if (v.ersteErfolgreiche < 0) continue;
        const int k = v.ersteErfolgreiche;
        Simuliere(d.g, d.w, d.stand, VerrauscheStoss(v.stoss, d.rauschen, d.zr[k], d.zs[k]), d.e);
        const double q = Stellungswert(Endstand(d.stand, d.e), d, physik, radius, kVorproben);
        v.wert = Quote(v) * (1.0 + stellung * q);
    }
}
