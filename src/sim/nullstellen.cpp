#include "sim/nullstellen.h"

#include <algorithm>
#include <cmath>

double Polynomwert(const double* c, int grad, double t) {
    double w = c[grad];
    for (int i = grad - 1; i >= 0; --i) w = w * t + c[i];
    return w;
}

namespace {

// Klammer [lo, hi] mit f(lo) > 0 ≥ f(hi): Regula falsi nach Illinois. Sie
// konvergiert überlinear und bleibt, anders als Newton, in der Klammer.
double Eingrenzen(const double* c, int grad, double lo, double hi, double flo, double fhi) {
    int seite = 0;
    for (int schritt = 0; schritt < 100; ++schritt) {
        if (hi - lo <= 1e-13 * std::max(1.0, hi)) break;
        double t = (lo * fhi - hi * flo) / (fhi - flo);
        if (!(t > lo && t < hi)) t = 0.5 * (lo + hi);
        const double ft = Polynomwert(c, grad, t);
        if (ft > 0.0) {
            lo = t;
            flo = ft;
            if (seite == 1) fhi *= 0.5;
            seite = 1;
        } else {
            if (ft == 0.0) return t;  // genau die Berührung
            hi = t;
            fhi = ft;
            if (seite == -1) flo *= 0.5;
            seite = -1;
        }
    }
    return lo;
}

// Wie Eingrenzen, aber für einen Wechsel in beliebiger Richtung; gibt die Mitte.
double Wechsel(const double* c, int grad, double lo, double hi, double flo) {
    for (int schritt = 0; schritt < 200 && hi - lo > 1e-14 * std::max(1.0, std::fabs(hi)); ++schritt) {
        const double m = 0.5 * (lo + hi);
        const double fm = Polynomwert(c, grad, m);
        if (fm == 0.0) return m;
        if ((fm > 0.0) == (flo > 0.0)) {
            lo = m;
            flo = fm;
        } else {
            hi = m;
        }
    }
    return 0.5 * (lo + hi);
}

int Quadratisch(double c0, double c1, double c2, double a, double b, double* aus) {
    double r[2];
    int n = 0;
    if (c2 == 0.0) {
        if (c1 == 0.0) return 0;
        r[n++] = -c0 / c1;
    } else {
        const double d = c1 * c1 - 4.0 * c2 * c0;
        if (d < 0.0) return 0;
        // Die stabile Form: keine Auslöschung, wenn c1 groß gegen c0·c2 ist.
        const double q = -0.5 * (c1 + std::copysign(std::sqrt(d), c1));
        if (q != 0.0) {
            r[n++] = q / c2;
            r[n++] = c0 / q;
        } else {
            r[n++] = 0.0;
        }
        if (n == 2 && r[0] > r[1]) std::swap(r[0], r[1]);
    }
    int k = 0;
    for (int i = 0; i < n; ++i)
        if (r[i] > a && r[i] < b) aus[k++] = r[i];
    return k;
}

// Wo die Ableitung null wird, wechselt f die Richtung: dazwischen ist f
// monoton und hat höchstens eine Nullstelle.
int Wendepunkte(const double* c, int grad, double a, double b, double* aus) {
    double d[4];
    for (int i = 1; i <= grad; ++i) d[i - 1] = i * c[i];
    return Nullstellen(d, grad - 1, a, b, aus);
}

}  // namespace

int Nullstellen(const double* c, int grad, double a, double b, double* aus) {
    while (grad > 0 && c[grad] == 0.0) --grad;
    if (grad <= 2) {
        if (grad <= 0) return 0;
        return Quadratisch(c[0], c[1], grad == 2 ? c[2] : 0.0, a, b, aus);
    }
    double krit[4];
    const int nk = Wendepunkte(c, grad, a, b, krit);
    int n = 0;
    double links = a, fl = Polynomwert(c, grad, a);
    for (int k = 0; k <= nk; ++k) {
        const double rechts = k < nk ? krit[k] : b;
        const double fr = Polynomwert(c, grad, rechts);
        if ((fl > 0.0 && fr < 0.0) || (fl < 0.0 && fr > 0.0)) {
            const double t = Wechsel(c, grad, links, rechts, fl);
            if (t > a && t < b) aus[n++] = t;
        }
        links = rechts;
        fl = fr;
    }
    return n;
}

double ErsteAnnaeherung(const double* c, int grad, double tmax, double mindestSteigung, double tiefe) {
    while (grad > 0 && c[grad] == 0.0) --grad;
    if (!(tmax >= 0.0)) return kNie;
    tmax = std::min(tmax, 1e12);  // ohne Reibung endet keine Phase; die Klammer muss endlich sein
    double k[5] = {0.0, 0.0, 0.0, 0.0, 0.0};
    for (int i = 0; i <= grad; ++i) k[i] = c[i];
    if (k[0] <= 0.0) {
        if (grad >= 1 && k[1] < -mindestSteigung) return 0.0;
        k[0] = tiefe;  // gesucht ist nun f(t) ≤ f(0) − tiefe
    }
    if (grad == 0) return kNie;
    double krit[4];
    const int nk = grad >= 2 ? Wendepunkte(k, grad, 0.0, tmax, krit) : 0;
    double links = 0.0, fl = k[0];
    for (int i = 0; i <= nk; ++i) {
        const double rechts = i < nk ? krit[i] : tmax;
        const double fr = Polynomwert(k, grad, rechts);
        if (fl > 0.0 && fr <= 0.0) return Eingrenzen(k, grad, links, rechts, fl, fr);
        links = rechts;
        fl = fr;
    }
    return kNie;
}
