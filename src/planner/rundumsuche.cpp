#include "planner/rundumsuche.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "planner/schiedsrichter.h"

namespace {

bool Gelingt(const Spielstand& stand, const Simergebnis& e) { return BeurteileStoss(stand, e).erfolg; }

}  // namespace

bool Rundum(Durchspiel& d, float staerke, int schritte, Richtungsurteil passt, std::vector<Richtungstreffer>& treffer) {
    std::vector<char> ja(static_cast<std::size_t>(schritte));
    for (int a = 0; a < schritte; ++a) {
        if (Abgelaufen(d.frist)) return false;
        const double w = a * 2.0 * std::numbers::pi / schritte;
        const Vektor v{static_cast<float>(staerke * std::cos(w)), static_cast<float>(staerke * std::sin(w)), 0.0f};
        SpieleStoss(d, v);
        ja[static_cast<std::size_t>(a)] = passt(d.stand, d.e);
    }
    // Läufe im Kreis: bei einem, der nicht passt, beginnen, damit keiner zerschnitten wird.
    auto bei = [&](int a) { return ja[static_cast<std::size_t>(a % schritte)] != 0; };
    int start = 0;
    while (start < schritte && bei(start)) ++start;
    if (start == schritte) start = 0;
    for (int i = 0; i < schritte;) {
        if (!bei(start + i)) {
            ++i;
            continue;
        }
        int laenge = 0;
        while (i + laenge < schritte && bei(start + i + laenge)) ++laenge;
        const double mitte = (start + i + (laenge - 1) / 2.0) * 2.0 * std::numbers::pi / schritte;
        treffer.push_back(
            {{static_cast<float>(std::cos(mitte)), static_cast<float>(std::sin(mitte)), 0.0f}, staerke, laenge});
        i += laenge;
    }
    return true;
}

std::vector<Richtungstreffer> Breiteste(std::vector<Richtungstreffer> treffer, std::size_t n) {
    std::stable_sort(treffer.begin(), treffer.end(),
                     [](const Richtungstreffer& a, const Richtungstreffer& b) { return a.breite > b.breite; });
    if (treffer.size() > n) treffer.resize(n);
    return treffer;
}

std::vector<Richtungstreffer> Rundumsuche(Durchspiel& d, float grenze) {
    std::vector<Richtungstreffer> treffer;
    for (float staerke : {grenze, std::min(kRundumMitte, grenze), std::min(kRundumSanft, grenze)})
        if (!Rundum(d, staerke, 720, Gelingt, treffer)) break;
    return Breiteste(treffer, 6);
}
