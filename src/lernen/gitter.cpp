#include "lernen/gitter.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

struct Kandidat {
    double grob;
    Latente z;
};

constexpr double kGrobesMass = 1.0;  // Tischeinheiten, auf dem gröbsten Gitter
constexpr int kAnfangsKandidaten = 16;
constexpr int kStufen = 4;
constexpr int kZuletztGeprueft = 8;

double Grob(const Fitzustand& f, int i, const Latente& z, double s, Simergebnis& e) {
    Kugelabweichung a;
    if (!SpieleBeobachtung(*f.geometrie, WeltFuer(f, i, f.k, z), *f.beobachtungen[static_cast<std::size_t>(i)], e, a))
        return INFINITY;
    double summe = 0.01 * (z[0] * z[0] + z[1] * z[1]);  // bei Gleichstand die kleinere Störung
    for (int k = 0; k < kAnzahlKugeln; ++k) {
        if (!a.bewegt[k]) continue;
        const double d2 = Quadrat(a.d[k]);
        summe += d2 / (d2 + s * s);
    }
    return summe;
}

void BehalteBeste(std::vector<Kandidat>& k, std::size_t anzahl) {
    const auto besser = [](const Kandidat& a, const Kandidat& b) {
        return a.grob != b.grob ? a.grob < b.grob : (a.z[0] != b.z[0] ? a.z[0] < b.z[0] : a.z[1] < b.z[1]);
    };
    anzahl = std::min(anzahl, k.size());
    std::partial_sort(k.begin(), k.begin() + static_cast<std::ptrdiff_t>(anzahl), k.end(), besser);
    k.resize(anzahl);
}

// Liegt die Beobachtung mit ihrer jetzigen Störung schon gut?
bool SchonGut(const Fitzustand& f, int i, Simergebnis& e) {
    Kugelabweichung a;
    const Latente& z = f.z[static_cast<std::size_t>(i)];
    if (!SpieleBeobachtung(*f.geometrie, WeltFuer(f, i, f.k, z), *f.beobachtungen[static_cast<std::size_t>(i)], e, a))
        return false;
    double quadrate = 0.0;
    int bewegt = 0;
    for (int k = 0; k < kAnzahlKugeln; ++k) {
        bewegt += a.bewegt[k];
        quadrate += Quadrat(a.d[k]);
    }
    const double grenze = 2.0 * f.mass.lagefehler;
    return quadrate <= grenze * grenze * std::max(1, bewegt);
}

Latente Suche(const Fitzustand& f, int i, double spanne, Simergebnis& e) {
    double schritt = 0.5, s = kGrobesMass;
    std::vector<Kandidat> k;
    const int n = static_cast<int>(std::ceil(spanne / schritt));
    for (int a = -n; a <= n; ++a)
        for (int b = -n; b <= n; ++b) {
            const Latente z{schritt * a, schritt * b};
            k.push_back({Grob(f, i, z, s, e), z});
        }
    std::size_t behalten = kAnfangsKandidaten;
    for (int stufe = 0; stufe < kStufen; ++stufe) {
        BehalteBeste(k, behalten);
        schritt *= 0.25;
        s = std::max(0.25 * s, f.mass.lagefehler);
        behalten = std::max<std::size_t>(2, behalten / 2);
        std::vector<Kandidat> feiner;
        for (const Kandidat& m : k)
            for (int a = -3; a <= 3; ++a)
                for (int b = -3; b <= 3; ++b) {
                    const Latente z{m.z[0] + schritt * a, m.z[1] + schritt * b};
                    feiner.push_back({Grob(f, i, z, s, e), z});
                }
        k = std::move(feiner);
    }
    BehalteBeste(k, kZuletztGeprueft);
    Latente beste = f.z[static_cast<std::size_t>(i)];
    double kosten = Kosten(f, i, f.k, beste, e);
    for (const Kandidat& m : k) {
        const double c = Kosten(f, i, f.k, m.z, e);
        if (c < kosten) kosten = c, beste = m.z;
    }
    return beste;
}

}  // namespace

bool SucheStoerungen(Fitzustand& f, double spanne, bool alle) {
    std::vector<Latente> neu(f.z);
    const bool gut = FuerAlleAktiven(f, [&](int i, Simergebnis& e) {
        if (alle || !SchonGut(f, i, e)) neu[static_cast<std::size_t>(i)] = Suche(f, i, spanne, e);
    });
    if (!gut) return false;
    for (std::size_t i = 0; i < f.z.size(); ++i)
        if (f.aktiv[i]) f.z[i] = neu[i];
    return true;
}
