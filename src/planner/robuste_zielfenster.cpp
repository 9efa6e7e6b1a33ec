#include "planner/robuste_zielfenster.h"

#include <algorithm>

#include "planner/hoechststaerke.h"
#include "planner/robuste_kandidaten.h"
#include "planner/schiedsrichter.h"

namespace {

bool GelingtGedreht(Durchspiel& d, Vektor stoss, float grad, float grenze) {
    SpieleStoss(d, Begrenzt(Gedreht(stoss, grad), grenze));
    return BeurteileStoss(d.stand, d.e).erfolg;
}

// Der Rand auf einer Seite (seite +1 oder −1) des Treffers bei a: erst
// wachsende Schritte bis zum ersten Fehlschlag, dann halbiert, bis die Lücke
// klein gegen das Fenster ist (ein breites braucht keinen genauen Rand).
// Gibt die Mitte der letzten Lücke zurück.
float Rand(Durchspiel& d, Vektor stoss, float a, float seite, float grenze, float breiteBisher) {
    float gut = 0.0f, schlecht = 0.0f, schritt = kFensterSchritt;
    for (;;) {
        if (Abgelaufen(d.frist)) return a + seite * gut;
        const float x = std::min(gut + schritt, kFensterRand);
        if (!GelingtGedreht(d, stoss, a + seite * x, grenze)) {
            schlecht = x;
            break;
        }
        gut = x;
        if (!(gut < kFensterRand)) return a + seite * gut;
        schritt *= 2.0f;
    }
    while (schlecht - gut > std::max(kFensterSchritt / 4.0f, (breiteBisher + gut) / 8.0f) && !Abgelaufen(d.frist)) {
        const float m = (gut + schlecht) / 2.0f;
        if (GelingtGedreht(d, stoss, a + seite * m, grenze)) gut = m;
        else schlecht = m;
    }
    return a + seite * (gut + schlecht) / 2.0f;
}

}  // namespace

Zielfenster SucheZielfenster(Durchspiel& d, Vektor stoss, float start, float grenze) {
    Zielfenster f;
    const int schritte = static_cast<int>(kFensterWeite / kFensterSchritt + 0.5f);
    float treffer = start;
    bool gefunden = false;
    for (int i = 0; i <= schritte && !gefunden; ++i) {
        for (float seite : {1.0f, -1.0f}) {
            if (i == 0 && seite < 0.0f) continue;
            if (Abgelaufen(d.frist)) return f;
            const float a = start + seite * static_cast<float>(i) * kFensterSchritt;
            if (GelingtGedreht(d, stoss, a, grenze)) {
                treffer = a;
                gefunden = true;
                break;
            }
        }
    }
    if (!gefunden) return f;
    f.gefunden = true;
    f.bis = Rand(d, stoss, treffer, 1.0f, grenze, 0.0f);
    f.von = Rand(d, stoss, treffer, -1.0f, grenze, f.bis - treffer);
    return f;
}

float Mitte(const Zielfenster& f) { return (f.von + f.bis) / 2.0f; }
