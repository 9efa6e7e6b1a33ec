#include "planner/rundumsuche.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "planner/schiedsrichter.h"

namespace {

std::vector<Richtungstreffer> Breiteste(std::vector<Richtungstreffer> treffer) {
    std::stable_sort(treffer.begin(), treffer.end(),
                     [](const Richtungstreffer& a, const Richtungstreffer& b) { return a.breite > b.breite; });
    if (treffer.size() > 6) treffer.resize(6);
    return treffer;
}

}  // namespace

std::vector<Richtungstreffer> Rundumsuche(Durchspiel& d) {
    constexpr int kSchritte = 720;
    constexpr float kStaerken[] = {0.9f, 1.6f, 2.6f};
    std::vector<Richtungstreffer> treffer;
    std::vector<char> gelingt(kSchritte);
    for (float staerke : kStaerken) {
        for (int a = 0; a < kSchritte; ++a) {
            // Eine angebrochene Runde zählt nicht: ihre Läufe wären zerschnitten.
            if (Abgelaufen(d.frist)) return Breiteste(treffer);
            const double w = a * 2.0 * std::numbers::pi / kSchritte;
            const Vektor v{static_cast<float>(staerke * std::cos(w)), static_cast<float>(staerke * std::sin(w)), 0.0f};
            Simuliere(d.g, d.w, d.stand, v, d.e);
            gelingt[static_cast<std::size_t>(a)] = BeurteileStoss(d.stand, d.e).erfolg;
        }
        // Läufe im Kreis: bei einem Fehlschlag beginnen, damit keiner zerschnitten wird.
        int start = 0;
        while (start < kSchritte && gelingt[static_cast<std::size_t>(start)]) ++start;
        if (start == kSchritte) start = 0;
        for (int i = 0; i < kSchritte;) {
            const int a = (start + i) % kSchritte;
            if (!gelingt[static_cast<std::size_t>(a)]) {
                ++i;
                continue;
            }
            int laenge = 0;
            while (i + laenge < kSchritte && gelingt[static_cast<std::size_t>((start + i + laenge) % kSchritte)]) ++laenge;
            const double mitte = (start + i + (laenge - 1) / 2.0) * 2.0 * std::numbers::pi / kSchritte;
            treffer.push_back({{static_cast<float>(std::cos(mitte)), static_cast<float>(std::sin(mitte)), 0.0f},
                               staerke, laenge});
            i += laenge;
        }
    }
    return Breiteste(treffer);
}
