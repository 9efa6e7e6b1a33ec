#include "spiel/gestell.h"

#include <cmath>
#include <numbers>
#include <random>
#include <utility>

#include "spiel/saat.h"

float Kopflinie(const Tisch& t) { return t.bande_x + (t.breite - 2 * t.bande_x) / 4; }

Punkt Kopfpunkt(const Tisch& t) { return {Kopflinie(t), t.hoehe / 2}; }

Punkt Fusspunkt(const Tisch& t) { return {t.breite - t.bande_x - (t.breite - 2 * t.bande_x) / 4, t.hoehe / 2}; }

Zufallstisch LegeGestell(const Tisch& t, std::uint32_t saat, std::uint32_t gestellNr) {
    std::mt19937 zufall(GestellSaat(saat, gestellNr));
    // Die Plätze Reihe für Reihe von der Spitze aus; Platz 4 ist die Mitte der
    // dritten Reihe, 10 und 14 sind die hinteren Ecken.
    int platz[15];
    const int volle = 1 + static_cast<int>(zufall() % 7), halbe = 9 + static_cast<int>(zufall() % 7);
    const bool volleUnten = zufall() % 2 == 0;
    platz[4] = 8;
    platz[10] = volleUnten ? volle : halbe;
    platz[14] = volleUnten ? halbe : volle;
    int uebrige[12], n = 0;
    for (int k = 1; k < kAnzahlKugeln; ++k)
        if (k != 8 && k != volle && k != halbe) uebrige[n++] = k;
    for (int i = 0; i < 12; ++i) std::swap(uebrige[i], uebrige[i + static_cast<int>(zufall() % (12 - i))]);
    for (int p = 0, u = 0; p < 15; ++p)
        if (p != 4 && p != 10 && p != 14) platz[p] = uebrige[u++];

    Zufallstisch lage{};
    const Punkt fuss = Fusspunkt(t);
    const double d = 2.0 * t.radius + kGestellLuft;
    for (int reihe = 0, p = 0; reihe < 5; ++reihe) {
        for (int j = 0; j <= reihe; ++j, ++p) {
            float x = static_cast<float>(fuss.x + reihe * d * std::numbers::sqrt3 / 2);
            float y = static_cast<float>(fuss.y + (j - reihe / 2.0) * d);
            RundeWieDokument(t, x, y);
            lage.kugeln[platz[p]] = {x, y, -1, 0};
        }
    }
    // Die Weiße: auf der Kopflinie, in der mittleren Hälfte der Spielbreite.
    const double breite = t.hoehe - 2 * t.bande_y;
    float x = Kopflinie(t);
    float y = static_cast<float>(t.hoehe / 2 + (static_cast<double>(zufall()) / 4294967296.0 - 0.5) * breite / 2);
    RundeWieDokument(t, x, y);
    lage.kugeln[0] = {x, y, -1, 0};
    lage.player = alle;
    return lage;
}

bool SetzeAufFreienPunkt(const Tisch& t, Zufallstisch& lage, int kugel, Punkt ziel) {
    constexpr double kSchritt = 0.05;
    const double groesste = std::hypot(t.breite, t.hoehe);
    for (int ring = 0; ring * kSchritt < groesste; ++ring) {
        const double r = ring * kSchritt;
        const int stellen = ring == 0 ? 1 : static_cast<int>(std::ceil(2 * std::numbers::pi * r / kSchritt));
        for (int s = 0; s < stellen; ++s) {
            const double w = 2 * std::numbers::pi * s / stellen;
            float x = static_cast<float>(ziel.x + r * std::cos(w)), y = static_cast<float>(ziel.y + r * std::sin(w));
            RundeWieDokument(t, x, y);
            if (!PlatzFrei(t, lage, kugel, x, y)) continue;
            lage.kugeln[kugel].x = x;
            lage.kugeln[kugel].y = y;
            lage.kugeln[kugel].bagcount = -1;
            return true;
        }
    }
    return false;
}
