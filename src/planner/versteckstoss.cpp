#include "planner/versteckstoss.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "planner/sicherheitsstoss.h"
#include "planner/stossarten.h"
#include "sim/simulation.h"

namespace {

// Sanft: ein fester Stoß verteilt die Kugeln, und sein Ausgang streut unter
// dem Rauschen zu weit, um ein Versteck zu halten.
constexpr float kVersteckStaerken[] = {0.8f, 1.6f, 2.6f};
// Ganze Grad: bei F = 5 streut die Richtung um 0,6°. Schon zwei Grad
// daneben liegt die Weiße oft offen, ein Versteck ist schmal.
constexpr int kSchritte = 360;
constexpr int kAbstand = 3;  // Schritte zwischen zwei gewählten Richtungen einer Stärke
constexpr float kUnsicher = 1e9f;
constexpr float kHoechsteBewertung = 500.0f;  // Winkel- und Wegkosten, je höchstens 250

Vektor Richtung(float staerke, int schritt) {
    const double w = schritt * 2.0 * std::numbers::pi / kSchritte;
    return {static_cast<float>(staerke * std::cos(w)), static_cast<float>(staerke * std::sin(w)), 0.0f};
}

struct Versteck {
    float offen;
    float staerke;
    int schritt;
};

}  // namespace

float Offenheit(const Tischkontext& tk, const Spielstand& stand) {
    Stoss liste[kMaxWeisseKugelLoch];
    const int n = FindeWeisseKugelLoch(tk, stand, liste);
    float offen = 0.0f;
    for (int i = 0; i < n; ++i) offen = std::max(offen, kHoechsteBewertung - liste[i].bewertung);
    return offen;
}

bool Versteckstoesse(Durchspiel& d, float grenze, std::vector<Vektor>& stoesse) {
    const std::int32_t gegner = Gegnergruppe(d.stand.gruppe);
    std::vector<Versteck> verstecke;
    std::vector<float> offen(kSchritte);
    for (float staerke : kVersteckStaerken) {
        if (staerke > grenze) break;
        for (int a = 0; a < kSchritte; ++a) {
            if (Abgelaufen(d.frist)) return false;
            SpieleStoss(d, Richtung(staerke, a));
            if (!Sicher(d.stand, d.e)) {
                offen[static_cast<std::size_t>(a)] = kUnsicher;
                continue;
            }
            Spielstand danach = Endstand(d.stand, d.e);
            danach.gruppe = gegner;
            offen[static_cast<std::size_t>(a)] = Offenheit(d.tk, danach);
        }
        auto bei = [&](int a) { return offen[static_cast<std::size_t>((a + kSchritte) % kSchritte)]; };
        for (int a = 0; a < kSchritte; ++a) {
            // Ein Foul daneben schließt die Richtung aus; sonst zählt die
            // Offenheit, wie das Rauschen sie um die Richtung verteilt.
            if (std::max({bei(a - 1), bei(a), bei(a + 1)}) >= kUnsicher) continue;
            verstecke.push_back({0.25f * bei(a - 1) + 0.5f * bei(a) + 0.25f * bei(a + 1), staerke, a});
        }
    }
    std::stable_sort(verstecke.begin(), verstecke.end(),
                     [](const Versteck& a, const Versteck& b) { return a.offen < b.offen; });
    std::vector<Versteck> gewaehlt;
    for (const Versteck& v : verstecke) {
        if (gewaehlt.size() >= kVerstecke) break;
        bool nah = false;
        for (const Versteck& g : gewaehlt) {
            const int abstand = std::abs(g.schritt - v.schritt);
            nah |= g.staerke == v.staerke && std::min(abstand, kSchritte - abstand) < kAbstand;
        }
        if (nah) continue;
        gewaehlt.push_back(v);
        stoesse.push_back(Richtung(v.staerke, v.schritt));
    }
    return true;
}
