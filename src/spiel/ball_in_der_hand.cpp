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

}  // namespace

void LegeWeisseHin(const Tisch& t, Zufallstisch& lage, std::int32_t gruppe) {
    Spielstand stand = StandAus(t, lage);
    stand.gruppe = gruppe;
    bool erlaubt[kAnzahlKugeln];
    ErlaubteErste(stand, erlaubt);
    stand.kugeln[0].inloch = 1;  // die Weiße liegt noch nirgends
    const Tischgeometrie g = BaueTischgeometrie(t);
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
            if (KugelImWeg(stand, weisse, anspiel, i, -1) || KugelImWeg(stand, kugel, mitte, i, -1)) continue;
            beste = {laenge, x, y};
        }
    }
    if (std::isfinite(beste.laenge)) {
        lage.kugeln[0] = {beste.x, beste.y, -1, lage.kugeln[0].target};
        return;
    }
    SetzeAufFreienPunkt(t, lage, 0, Kopfpunkt(t));
}
