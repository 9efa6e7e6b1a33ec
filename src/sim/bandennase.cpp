#include "sim/bandennase.h"

#include <algorithm>
#include <cmath>

#include "sim/v3.h"

void AbprallNase(V2& geschwindigkeit, V2& drall, V2 n, const Welt& w, double e) {
    const double sinus = w.naseSinus, kosinus = std::sqrt(1.0 - sinus * sinus);
    const V3 rho{-n.x * kosinus, -n.y * kosinus, sinus};
    const V3 v{geschwindigkeit.x, geschwindigkeit.y, 0.0};
    const V3 wr{-drall.y, drall.x, 0.0};
    const V3 u = v + Kreuz(wr, rho);  // die Nase entlang gleitet die Kugel mit u
    const double c = Skalar(v, rho);  // Annäherung an die Nase
    if (!(c > 0.0)) return;
    const double normal = (1.0 + e) * c;
    const V3 gleiten = u - rho * Skalar(u, rho);
    const double betrag = std::sqrt(Skalar(gleiten, gleiten));
    const double haften = betrag / 3.5;
    const double reibung = betrag > 0.0 ? std::min(haften, w.naseReibung * normal) / betrag : 0.0;
    const V3 quer = gleiten * -reibung;
    const V3 neuV = v - rho * normal + quer;
    const V3 neuW = wr + Kreuz(rho, quer) * 2.5;
    geschwindigkeit = {neuV.x, neuV.y};
    // Eine hohe Nase drückt die Kugel mehr ins Tuch als von der Bande weg; den
    // Gegendruck des Tuchs kennt das Gesetz nicht. Bliebe sie an der Bande,
    // läuft sie an ihr entlang (wie eine, die sich anlegt).
    if (const double weg = Skalar(geschwindigkeit, n); weg < 0.0) geschwindigkeit = geschwindigkeit - n * weg;
    drall = {neuW.y, -neuW.x};
}

