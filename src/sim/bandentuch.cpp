#include "sim/bandentuch.h"

#include <algorithm>
#include <cmath>

#include "sim/v3.h"

namespace {

// Der Reibungsstoß gegen das Gleiten g: höchstens grenze, und nie mehr, als
// das Gleiten an dieser Stelle aufhebt (es ändert sich 7/2-mal so stark).
V3 Reibung(V3 g, double grenze) {
    const double betrag = std::sqrt(Skalar(g, g));
    if (!(betrag > 0.0)) return {0.0, 0.0, 0.0};
    return g * (-std::min(grenze, betrag / 3.5) / betrag);
}

// So fein wird der Stoß geteilt: je Schritt ein Hundertstel der Annäherung.
constexpr int kSchritte = 100;

}  // namespace

void AbprallTuch(V2& geschwindigkeit, V2& drall, V2 n, const Welt& w, double e) {
    const double sinus = w.naseSinus, kosinus = std::sqrt(1.0 - sinus * sinus);
    const V3 rho{-n.x * kosinus, -n.y * kosinus, sinus};  // Mitte → Nase
    const V3 unten{0.0, 0.0, -1.0};                       // Mitte → Tuch
    V3 v{geschwindigkeit.x, geschwindigkeit.y, 0.0};
    V3 wr{-drall.y, drall.x, 0.0};  // r·ω
    const double c0 = Skalar(v, rho);
    if (!(c0 > 0.0)) return;
    const double schritt = c0 / kSchritte;
    // arbeit: ∫ c dP der Nase; am Ende der Kompression am größten.
    double arbeit = 0.0, kompression = 0.0, gefaelle = 0.0;  // gefaelle: −dc/dP im letzten Schritt
    bool entspannt = false;
    for (int i = 0; i < 50 * kSchritte; ++i) {
        const double c = Skalar(v, rho);
        double dP = schritt;
        bool letzter = false;
        if (entspannt) {
            // Die letzte Scheibe nur so dick, dass die Arbeit aufgeht: c fällt
            // in ihr fast wie im Schritt davor, also −c·x + gefaelle·x²/2 = rest
            // (ohne Auslöschung gelöst).
            const double rest = arbeit - (1.0 - e * e) * kompression;
            if (!(rest > 0.0)) break;
            if (-c * dP + 0.5 * gefaelle * dP * dP >= rest) {
                dP = 2.0 * rest / (-c + std::sqrt(c * c + 2.0 * std::max(gefaelle, 0.0) * rest));
                letzter = true;
            }
        }
        const V3 reibNase = Reibung(v + Kreuz(wr, rho) - rho * Skalar(v + Kreuz(wr, rho), rho), w.naseReibung * dP);
        // Das Tuch hält die Kugel unten: es trägt, was Nase und Reibung dort nach unten drücken.
        const double last = std::max(0.0, sinus * dP - reibNase.z);
        const V3 reibTuch = Reibung(v + Kreuz(wr, unten), w.tuchReibung * last);
        v = v - rho * dP + reibNase + reibTuch;
        v.z = 0.0;
        wr = wr + (Kreuz(rho, reibNase) + Kreuz(unten, reibTuch)) * 2.5;
        const double cNeu = Skalar(v, rho);
        arbeit += 0.5 * (c + cNeu) * dP;
        gefaelle = (c - cNeu) / dP;
        if (!entspannt && cNeu <= 0.0) entspannt = true;
        kompression = std::max(kompression, arbeit);
        if (letzter) break;
    }
    geschwindigkeit = {v.x, v.y};
    // Bliebe sie an der Bande, läuft sie an ihr entlang (wie bei der Nase).
    if (const double weg = ::Skalar(geschwindigkeit, n); weg < 0.0) geschwindigkeit = geschwindigkeit - n * weg;
    drall = {wr.y, -wr.x};
}
