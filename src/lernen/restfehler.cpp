#include "lernen/restfehler.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

V2 NaechsterMaulpunkt(const Tischgeometrie& g, V2 p) {
    V2 bester{0.0, 0.0};
    double abstand = INFINITY;
    for (const Strecke& m : g.maeuler) {
        const double s = std::clamp(Skalar(p - m.a, m.richtung), 0.0, m.laenge);
        const V2 q = m.a + m.richtung * s;
        const double d = Quadrat(p - q);
        if (d < abstand) abstand = d, bester = q;
    }
    return bester;
}

}  // namespace

Welt GestoerteWelt(const Welt& w, double staerke, Stoerung s) {
    Welt g = w;
    g.staerkeFaktor = w.staerkeFaktor * std::max(0.0, staerke + s.staerke) / staerke;
    g.richtungVersatz = w.richtungVersatz + s.richtungGrad * (std::numbers::pi / 180.0);
    return g;
}

void Abweichung(const Tischgeometrie& g, const Beobachtung& b, const Simergebnis& e, Kugelabweichung& a) {
    a.taschenfehler = 0;
    for (int i = 0; i < kAnzahlKugeln; ++i) {
        a.bewegt[i] = a.beobachtet[i] = false;
        a.d[i] = {0.0, 0.0};
        const Kugel& vor = b.vorher.kugeln[i];
        const Kugel& nach = b.nachher.kugeln[i];
        if (i != 0 && vor.inloch) continue;  // spielt nicht mit
        const V2 start{vor.x, vor.y}, beobachtet{nach.x, nach.y};
        const bool simVersenkt = e.tasche[i] >= 0;
        const bool beobVersenkt = nach.inloch != 0;
        const bool beobBewegt = beobVersenkt || Betrag(beobachtet - start) > kRuhetoleranz;
        const bool simBewegt = simVersenkt || !(e.lage[i] == start);
        if (!beobBewegt && !simBewegt) continue;
        a.bewegt[i] = true;
        a.beobachtet[i] = beobBewegt;
        if (simVersenkt && beobVersenkt) continue;
        if (simVersenkt != beobVersenkt) ++a.taschenfehler;
        a.d[i] = beobVersenkt ? e.lage[i] - NaechsterMaulpunkt(g, e.lage[i]) : e.lage[i] - beobachtet;
    }
}

void Residuen(const Kugelabweichung& a, const Restmass& m, const double* gewicht, double* r) {
    const double c = m.ausreisser / m.lagefehler;
    for (int i = 0; i < kAnzahlKugeln; ++i) {
        const V2 d = a.d[i] * ((gewicht ? gewicht[i] : 1.0) / m.lagefehler);
        const double s = Quadrat(d);
        // sqrt(c² ln(1 + s/c²) / s), gegen 1 für kleine s
        const double faktor = s > 1e-12 * c * c ? c * std::sqrt(std::log1p(s / (c * c)) / s) : 1.0;
        r[2 * i] = d.x * faktor;
        r[2 * i + 1] = d.y * faktor;
    }
}

bool SpieleBeobachtung(const Tischgeometrie& g, const Welt& w, const Beobachtung& b, Simergebnis& e,
                       Kugelabweichung& a) {
    if (!Simuliere(g, w, b.vorher, b.stoss, e)) return false;
    Abweichung(g, b, e, a);
    return true;
}
