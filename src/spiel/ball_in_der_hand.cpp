#include "spiel/ball_in_der_hand.h"

#include <cmath>
#include <numbers>

#include "planner/pfad.h"
#include "planner/regeln.h"
#include "sim/tischgeometrie.h"
#include "spiel/gestell.h"

namespace {

struct Wahl {
    float laenge = INFINITY;  // Weg der Kugel zum Maul
    float x = 0, y = 0;       // Lage der Weißen
};

// Kein Lochstoß frei: die Weiße wenigstens kAnlauf vor eine erlaubte Kugel,
// mit freiem Weg zu ihr; die Richtungen in 10°-Schritten ab +x.
bool TrifftGerade(const Tischkontext& tk, const Zufallstisch& lage, const Spielstand& stand, const bool erlaubt[],
                  Wahl& wahl) {
    const Tisch& t = tk.tisch;
    for (int i = 1; i < kAnzahlKugeln; ++i) {
        if (!erlaubt[i]) continue;
        const Vektor kugel = Lage(stand.kugeln[i]);
        for (int k = 0; k < 36; ++k) {
            const double w = k * std::numbers::pi / 18;
            const Vektor u{static_cast<float>(std::cos(w)), static_cast<float>(std::sin(w)), 0.0f};
            float x = kugel.x - kAnlauf * u.x, y = kugel.y - kAnlauf * u.y;
            RundeWieDokument(t, x, y);
            if (!PlatzFrei(t, lage, 0, x, y)) continue;
            if (KugelImWeg(tk, stand, {x, y, 0.0f}, Subtrahiere(kugel, Skaliere(u, 2 * t.radius)), i, -1)) continue;
            wahl = {0.0f, x, y};
            return true;
        }
    }
    return false;
}

}  // namespace

void LegeWeisseHin(const Tischkontext& tk, Zufallstisch& lage, std::int32_t gruppe) {
    const Tisch& t = tk.tisch;
    Spielstand stand = StandAus(t, lage);
    stand.gruppe = gruppe;
    bool erlaubt[kAnzahlKugeln];
    ErlaubteErste(stand, erlaubt);
    stand.kugeln[0].inloch = 1;  // die Weiße liegt noch nirgends
    const Tischgeometrie g = BaueTischgeometrie(tk);
    const double grenze = std::cos(kMaulwinkelGrad * std::numbers::pi / 180.0);
    Wahl beste;
    for (int i = 1; i < kAnzahlKugeln; ++i) {
        if (!erlaubt[i]) continue;
        const Vektor kugel = Lage(stand.kugeln[i]);
        for (int p = 0; p < 6; ++p) {
            const Strecke& maul = g.maeuler[p];
            const Vektor mitte{static_cast<float>((maul.a.x + maul.b.x) / 2), static_cast<float>((maul.a.y + maul.b.y) / 2),
                               0.0f};
            const Vektor weg = Subtrahiere(mitte, kugel);
            const float laenge = Laenge(weg);
            if (!(laenge > 0) || !(laenge < beste.laenge)) continue;
            const Vektor u = Skaliere(weg, 1.0f / laenge);
            if (-(u.x * maul.normale.x + u.y * maul.normale.y) < grenze) continue;
            float x = kugel.x - kAnlauf * u.x, y = kugel.y - kAnlauf * u.y;
            RundeWieDokument(t, x, y);
            if (!PlatzFrei(t, lage, 0, x, y)) continue;
            const Vektor weisse{x, y, 0.0f};
            const Vektor anspiel = Subtrahiere(kugel, Skaliere(u, 2 * t.radius));
            if (KugelImWeg(tk, stand, weisse, anspiel, i, -1) || KugelImWeg(tk, stand, kugel, mitte, i, -1)) continue;
            beste = {laenge, x, y};
        }
    }
    if (std::isfinite(beste.laenge) || TrifftGerade(tk, lage, stand, erlaubt, beste)) {
        lage.kugeln[0] = {beste.x, beste.y, -1, lage.kugeln[0].target};
        return;
    }
    SetzeAufFreienPunkt(t, lage, 0, Kopfpunkt(t));
}
