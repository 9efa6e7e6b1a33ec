#include "spiel/aufnahme.h"

#include <chrono>
#include <random>

#include "sim/rauschen.h"
#include "spiel/saat.h"

namespace {

using Uhr = std::chrono::steady_clock;

double Mikrosekunden(Uhr::time_point von, Uhr::time_point bis) {
    return std::chrono::duration<double, std::micro>(bis - von).count();
}

}  // namespace

std::uint32_t AufnahmeCmdid(std::uint32_t tischNr, int stoss) {
    return (tischNr - 1) * 32 + static_cast<std::uint32_t>(stoss);
}

Aufnahme SpieleAufnahme(const Spielumgebung& u, std::uint32_t tischNr, const Zufallstisch& start,
                        const Planer& planer) {
    Aufnahme aufnahme;
    Zufallstisch tisch = start;
    std::mt19937_64 rauschen(RauschSaat(u.saat, tischNr));
    Simergebnis e;
    Laufwege wege;
    for (int nummer = 1; nummer <= 32; ++nummer) {
        const auto t0 = Uhr::now();
        const Planerantwort antwort = planer(tisch, AufnahmeCmdid(tischNr, nummer));
        const auto t1 = Uhr::now();
        if (!antwort.gut) {
            aufnahme.ohneAntwort = true;
            break;
        }
        const Spielstand& stand = antwort.gelesen;  // genau, was der Spieler las
        Stosszeile z;
        z.tisch = tischNr;
        z.stoss = nummer;
        z.vorher = stand;
        z.antwort[0] = AntwortZahl(antwort.x);
        z.antwort[1] = AntwortZahl(antwort.y);
        z.gespielt = VerrauscheStoss(AntwortStoss(z.antwort[0], z.antwort[1]), u.rauschen, rauschen);
        const auto t2 = Uhr::now();
        Simuliere(u.geometrie, u.welt, stand, z.gespielt, e, u.maler ? &wege : nullptr);
        z.urteil = BeurteileStoss(stand, e);
        const auto t3 = Uhr::now();
        z.planerUs = Mikrosekunden(t0, t1);
        z.simUs = Mikrosekunden(t2, t3);
        z.ersteBeruehrung = e.ersteBeruehrung;
        z.art = antwort.mitStoss ? antwort.bester.art : -1;
        z.gekappt = antwort.gekappt;
        z.nachher = Endstand(stand, e);
        for (int i = 0; i < kAnzahlKugeln; ++i)
            if (e.tasche[i] >= 0) z.versenkt.push_back(i);
        aufnahme.stoesse.push_back(z);

        if (!z.urteil.erfolg) {
            if (u.maler) u.maler(Fehlstoss{aufnahme.stoesse.back(), antwort, e, wege});
            break;
        }
        aufnahme.kugeln += z.urteil.eigeneVersenkt;
        // Versenkte bleiben versenkt; die übrigen liegen, wo sie zur Ruhe kamen.
        for (int i = 0; i < kAnzahlKugeln; ++i) {
            Tischkugel& k = tisch.kugeln[i];
            if (k.bagcount != -1) continue;
            k.x = static_cast<float>(e.lage[i].x);
            k.y = static_cast<float>(e.lage[i].y);
            if (e.tasche[i] >= 0) k.bagcount = e.tasche[i];
        }
        if (z.urteil.geraeumt) {
            aufnahme.geraeumt = true;
            break;
        }
    }
    return aufnahme;
}
