// Beobachtungen aus einer bekannten Welt, für die Tests und den Benchmark des
// Fits: Zufallstische mit allen fünfzehn Kugeln (wie spieltisch --spielen),
// gestoßen abwechselnd mit dem Stoß des vorgegebenen Planers und einem
// zufälligen, gestört mit dem Rauschfaktor F und in der Welt gespielt.
// Braucht den geladenen Tisch mit Taschenpunkten und eine stille Anzeige.
#pragma once

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "anzeige/anzeige.h"
#include "lernen/restfehler.h"
#include "hilfen.h"
#include "model/tisch.h"
#include "planner/suche.h"
#include "sim/beobachtung.h"
#include "sim/rauschen.h"
#include "sim/simulation.h"
#include "spiel/zufallstisch.h"

// wahr (wenn gesetzt) bekommt je Beobachtung die gezogene Störung.
inline std::vector<Beobachtung> KuenstlicheBeobachtungen(const Welt& welt, int anzahl, std::uint32_t saat,
                                                         double rauschen, std::vector<Stoerung>* wahr = nullptr) {
    const Tischgeometrie g = BaueTischgeometrie(Vorgabetisch());
    std::mt19937 tische(saat);
    std::mt19937_64 zufall(saat);
    Simergebnis e;
    std::vector<Beobachtung> aus;
    for (int n = 0; n < anzahl; ++n) {
        const Zufallstisch z = ErzeugeSpieltisch(Vorgabetisch().tisch, tische, 15, halbe);
        Beobachtung b{};
        SetzeStandardaufstellung(Vorgabetisch().tisch, b.vorher);
        for (int i = 0; i < kAnzahlKugeln; ++i) {
            b.vorher.kugeln[i].x = z.kugeln[static_cast<std::size_t>(i)].x;
            b.vorher.kugeln[i].y = z.kugeln[static_cast<std::size_t>(i)].y;
            b.vorher.kugeln[i].inloch = 0;
            b.vorher.kugeln[i].zieltasche = 0;
        }
        b.vorher.gruppe = halbe;
        if (n % 2 == 0) {
            b.stoss = PlaneVorgegeben(b.vorher).stoss;
        } else {
            const double winkel = 2.0 * std::numbers::pi * static_cast<double>(zufall() >> 11) * 0x1.0p-53;
            const double staerke = 1.0 + 3.5 * static_cast<double>(zufall() >> 11) * 0x1.0p-53;
            b.stoss = {static_cast<float>(staerke * std::cos(winkel)), static_cast<float>(staerke * std::sin(winkel)),
                       0.0f};
        }
        double zr, zs;
        Normalpaar(zufall, zr, zs);
        if (wahr) wahr->push_back({zr * kStreuungRichtungGrad * rauschen, zs * kStreuungStaerke * rauschen});
        Simuliere(g, welt, b.vorher, VerrauscheStoss(b.stoss, rauschen, zr, zs), e);
        b.nachher = Endstand(b.vorher, e);
        aus.push_back(b);
    }
    return aus;
}

// Die fremde Welt der Ziele: jede Kenngröße 20–40 % von der Vorgabe weg (in
// den Grenzen der Physik), bande_abfall 20, der Queue mit 0.8 und 0.2°.
inline Welt FremdeWelt(const Welt& vorgabe) {
    Welt w = vorgabe;
    w.aRollen *= 1.25;       // rollreibung 30 → 37.5
    w.aGleiten *= 1.3;       // gleitreibung 182
    w.eKugel = 0.70;         // 95 → 70
    w.kugelReibung = 0.084;  // 6 → 8.4
    w.eNormal = 0.60;        // 85 → 60
    w.eTangential = 0.70;    // 95 → 70
    w.bandeDrall = 0.135;    // 10 → 13.5
    w.bandeAbfall = 0.20;
    w.staerkeFaktor = 0.8;
    w.richtungVersatz = 0.2 * std::numbers::pi / 180.0;
    return w;
}
