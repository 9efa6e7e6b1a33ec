#include "lernen/fitzustand.h"

#include <cmath>

#include "lernen/parallel.h"

Welt WeltFuer(const Fitzustand& f, int i, const Kenngroessen& k, const Latente& z) {
    return GestoerteWelt(InWelt(k, f.basis), f.staerke[static_cast<std::size_t>(i)], StoerungAus(f, z));
}

bool BeobachtungsResiduen(const Fitzustand& f, int i, const Kenngroessen& k, const Latente& z, Simergebnis& e,
                          double* r) {
    Kugelabweichung a;
    if (!SpieleBeobachtung(*f.geometrie, WeltFuer(f, i, k, z), *f.beobachtungen[static_cast<std::size_t>(i)], e, a))
        return false;
    Residuen(a, f.mass, f.gewicht.empty() ? nullptr : f.gewicht[static_cast<std::size_t>(i)].data(), r);
    return true;
}

double Kosten(const Fitzustand& f, int i, const Kenngroessen& k, const Latente& z, Simergebnis& e) {
    double r[kResiduen];
    if (!BeobachtungsResiduen(f, i, k, z, e, r)) return INFINITY;
    double summe = z[0] * z[0] + z[1] * z[1];
    for (double x : r) summe += x * x;
    return summe;
}

bool FuerAlleAktiven(const Fitzustand& f, const std::function<void(int, Simergebnis&)>& arbeit) {
    std::vector<int> aktive;
    for (int i = 0; i < static_cast<int>(f.aktiv.size()); ++i)
        if (f.aktiv[static_cast<std::size_t>(i)]) aktive.push_back(i);
    return Parallel(static_cast<int>(aktive.size()), f.threads, f.abbrechen,
                    [&](int n, Simergebnis& e) { arbeit(aktive[static_cast<std::size_t>(n)], e); },
                    [&](int erledigt) {
                        if (f.fortschritt) f.fortschritt(static_cast<double>(erledigt) / static_cast<double>(aktive.size()));
                    },
                    f.frist);
}

bool SetzeGewichte(Fitzustand& f) {
    constexpr double kSchritt = 0.05;  // Maß der Störung
    constexpr double kSpielraum = 0.1; // Tischeinheiten
    std::vector<std::array<double, kAnzahlKugeln>> neu(f.beobachtungen.size());
    const bool gut = FuerAlleAktiven(f, [&](int i, Simergebnis& e) {
        const std::size_t n = static_cast<std::size_t>(i);
        const Beobachtung& b = *f.beobachtungen[n];
        Simergebnis& s = e;
        V2 mitte[kAnzahlKugeln];
        Simuliere(*f.geometrie, WeltFuer(f, i, f.k, f.z[n]), b.vorher, b.stoss, s);
        for (int k = 0; k < kAnzahlKugeln; ++k) mitte[k] = s.lage[k];
        double empfindlich[kAnzahlKugeln] = {};
        for (int j = 0; j < 2; ++j) {
            Latente z = f.z[n];
            z[static_cast<std::size_t>(j)] += kSchritt;
            Simuliere(*f.geometrie, WeltFuer(f, i, f.k, z), b.vorher, b.stoss, s);
            for (int k = 0; k < kAnzahlKugeln; ++k) empfindlich[k] += Quadrat(s.lage[k] - mitte[k]);
        }
        const double faktor = !f.unerklaert.empty() && f.unerklaert[n] ? kGewichtUnerklaert : 1.0;
        for (int k = 0; k < kAnzahlKugeln; ++k)
            neu[n][static_cast<std::size_t>(k)] =
                faktor / std::sqrt(1.0 + empfindlich[k] / (kSpielraum * kSpielraum));
    });
    if (gut) f.gewicht = std::move(neu);
    return gut;
}
