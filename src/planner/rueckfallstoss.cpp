#include "planner/rueckfallstoss.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "planner/hoechststaerke.h"
#include "planner/regeln.h"
#include "planner/robuste_suche.h"
#include "planner/rundumsuche.h"
#include "planner/schiedsrichter.h"

namespace {

constexpr int kRundumSchritte = 180;

// Prüft stoss und merkt ihn sich, wenn er besser ist als, was schon da ist;
// true, sobald einer ohne Foul gefunden ist.
bool Pruefe(Durchspiel& d, Vektor stoss, const Stoss& kandidat, bool anstoss, Rueckfallstoss& r) {
    SpieleStoss(d, stoss);
    const Simergebnis& e = d.e;
    bool erlaubt[kAnzahlKugeln];
    ErlaubteErste(d.stand, erlaubt);
    const int erste = e.ersteBeruehrung;
    const bool trifft = erste > 0 && erlaubt[erste] && e.tasche[0] < 0 && !e.ereignisgrenze &&
                        BeurteileStoss(d.stand, e).ursache != Ursache::schwarze_zu_frueh;
    if (!trifft) return false;
    const bool ohneFoul = PruefeFoul(d.stand, e) == Foul::keins && (!anstoss || AnstossGueltig(e));
    if (!r.gefunden || ohneFoul) r = {true, ohneFoul, stoss, kandidat, erste};
    return ohneFoul;
}

}  // namespace

Rueckfallstoss FindeRueckfallstoss(Durchspiel& d, const Stoss& besterDerListe, Vektor listenstoss, float grenze,
                                   bool anstoss) {
    Rueckfallstoss r;
    if (Laenge(listenstoss) > 0.0f && Pruefe(d, listenstoss, besterDerListe, anstoss, r)) return r;

    const Vektor weiss = Lage(d.stand.kugeln[0]);
    bool erlaubt[kAnzahlKugeln];
    ErlaubteErste(d.stand, erlaubt);
    int kugeln[kAnzahlKugeln], n = 0;
    for (int i = 1; i < kAnzahlKugeln; ++i)
        if (erlaubt[i]) kugeln[n++] = i;
    auto abstand = [&](int i) { return Laenge(Subtrahiere(Lage(d.stand.kugeln[i]), weiss)); };
    std::stable_sort(kugeln, kugeln + n, [&](int a, int b) { return abstand(a) < abstand(b); });

    // Sanft zuerst: ein voller Treffer schiebt die Kugel an eine Bande, und
    // die Weiße bleibt eher liegen. Auf dem Anstoß braucht es Kraft.
    float staerken[] = {kRundumSanft, kRundumMitte, grenze};
    if (anstoss) std::reverse(std::begin(staerken), std::end(staerken));
    for (int j = 0; j < n; ++j) {
        const Vektor ziel = Lage(d.stand.kugeln[kugeln[j]]);
        const Vektor weg = Subtrahiere(ziel, weiss);
        if (!(Laenge(weg) > 0.0f)) continue;
        Stoss s{};
        s.weiss = weiss;
        s.ziel = ziel;
        s.art = NurAnspielen;
        for (float staerke : staerken)
            if (Pruefe(d, Begrenzt(Skaliere(Normiere(weg), staerke), grenze), s, anstoss, r)) return r;
    }
    if (r.gefunden) return r;

    // Alles verdeckt: über Banden, fest zuerst (der lange Weg braucht Kraft).
    for (float staerke : {grenze, std::min(kRundumMitte, grenze)})
        for (int a = 0; a < kRundumSchritte; ++a) {
            const double w = a * 2.0 * std::numbers::pi / kRundumSchritte;
            const Vektor v{static_cast<float>(staerke * std::cos(w)), static_cast<float>(staerke * std::sin(w)), 0.0f};
            if (Pruefe(d, v, Richtungskandidat(weiss, v), anstoss, r)) return r;
        }
    return r;
}
