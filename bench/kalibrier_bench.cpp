// Den Tisch lernen: 300 Beobachtungen einer fremden Welt R (jede Kenngröße
// 20–40 % von der Vorgabe, auch die Rollreibung; der Queue mit 0.8 und 0.2°;
// Rauschen F = 1), abwechselnd mit dem Stoß des Planers und zufälligen Stößen
// auf vollen Zufallstischen gespielt, angepasst mit allen Kernen. Die Zähler
// sagen, wie nah jede Kenngröße kam: die fremde Welt ist dafür über die
// Symmetrie auf die festgehaltene Rollreibung umgerechnet (Gleiten mal λ,
// Stärkefaktor mal √λ, bande_abfall durch √λ). BM_KalibriereWinkelgesetz:
// dieselbe Welt, dazu eine Bande, die sich mit Winkel und Gleiten ändert;
// das Gesetz ist in Geschwindigkeiten dimensionslos, die Symmetrie lässt es stehen.
// BM_KalibriereNase: ein Tisch, dessen Bande das einfache Gesetz nicht
// nachbilden kann (die Nase), wohl aber das Gesetz mit Nase, das der Fit
// zuletzt versucht. Die Zähler "s …" sagen, wie lange jeder Schritt brauchte.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "kuenstliche_beobachtungen.h"
#include "lernen/kalibrierung.h"
#include "model/konfiguration.h"
#include "bench_tisch.h"

namespace {
const Tischkontext& tk = Benchtisch();
}  // namespace

namespace {

// Die fremde Welt mit einem Bandengesetz über Winkel und Gleiten, in der
// Größe, die der Fit auf einer Bande mit Nase fand.
Welt MitWinkelgesetz(Welt w) {
    w.bandeNormalFlach = 0.20;
    w.bandeTangentialFlach = 0.30;
    w.bandeDrallFlach = -0.75;
    w.bandeGleitenNormal = 0.15;
    w.bandeGleitenDrall = -0.30;
    w.bandeGleitenLaengs = 0.20;
    return w;
}

// Misst die Sekunden je Schritt des Fits über seine Fortschrittsmeldungen.
struct Schrittuhr {
    using Uhr = std::chrono::steady_clock;
    std::map<std::string, double> sekunden;
    Uhr::time_point seit = Uhr::now();
    std::string schritt;

    void Melde(const char* name) {
        if (schritt == name) return;
        const Uhr::time_point jetzt = Uhr::now();
        if (!schritt.empty()) sekunden[schritt] += std::chrono::duration<double>(jetzt - seit).count();
        schritt = name;
        seit = jetzt;
    }
    void Zaehle(benchmark::State& state) {
        if (!schritt.empty()) sekunden[schritt] += std::chrono::duration<double>(Uhr::now() - seit).count();
        for (const auto& [name, s] : sekunden) state.counters["s " + name] = s;
    }
};

void Kalibrieren(benchmark::State& state, bool winkelgesetz) {
    const Welt vorgabe = LadeWelt(Benchkonfiguration(), Modell::R);
    const Welt fremd = winkelgesetz ? MitWinkelgesetz(FremdeWelt(vorgabe)) : FremdeWelt(vorgabe);
    const int anzahl = static_cast<int>(state.range(0));
    const std::vector<Beobachtung> b = KuenstlicheBeobachtungen(fremd, anzahl, 2026, 1.0);
    const Tischgeometrie g = BaueTischgeometrie(tk);
    Kalibrierergebnis e;
    std::string fehler;
    Schrittuhr uhr;
    Kalibrieroptionen o;
    o.fortschritt = [&](double, const char* name) { uhr.Melde(name); };
    for (auto _ : state) {
        if (!Kalibriere(b, vorgabe, g, o, e, fehler)) state.SkipWithError(fehler.c_str());
    }
    uhr.Zaehle(state);
    const Kenngroessen soll = AusWelt(MitRollverzoegerung(fremd, vorgabe.aRollen));
    for (int j = 0; j < kAnzahlKenngroessen; ++j) {
        const double wahr = Dateiwert(static_cast<Kenngroesse>(j), soll[static_cast<std::size_t>(j)], vorgabe, 9.81);
        const double wert = e.kenngroessen[static_cast<std::size_t>(j)].wert;
        // Die fremde Welt hat keine Grenze der Bandenreibung (0): gezählt wird, was der Fit fand.
        if (wahr == 0.0) {
            state.counters[Art(j).schluessel] = wert;
            continue;
        }
        // Der Versatz in Grad daneben, alle anderen in Prozent.
        if (j == static_cast<int>(Kenngroesse::richtung_versatz))
            state.counters["versatz_grad_daneben"] = (wert - wahr) / 100.0;
        else
            state.counters[std::string(Art(j).schluessel) + "_%"] = 100.0 * (wert - wahr) / wahr;
    }
    state.counters["F"] = e.rauschfaktor;
    state.counters["Rest_vorher"] = e.vorher.median;
    state.counters["Rest_nachher"] = e.nachher.median;
    state.counters["unerklaert"] = static_cast<double>(e.unerklaert);
}

void KalibrierenNase(benchmark::State& state) {
    const Welt vorgabe = LadeWelt(Benchkonfiguration(), Modell::R);
    Welt nase = vorgabe;
    nase.bandenart = Bandenart::nase;
    nase.naseSinus = 0.40;
    nase.naseReibung = 0.20;
    const std::vector<Beobachtung> b = KuenstlicheBeobachtungen(nase, static_cast<int>(state.range(0)), 2026, 1.0);
    const Tischgeometrie g = BaueTischgeometrie(tk);
    Kalibrierergebnis e;
    std::string fehler;
    Schrittuhr uhr;
    Kalibrieroptionen o;
    o.fortschritt = [&](double, const char* name) { uhr.Melde(name); };
    for (auto _ : state) {
        if (!Kalibriere(b, vorgabe, g, o, e, fehler)) state.SkipWithError(fehler.c_str());
    }
    uhr.Zaehle(state);
    state.counters["F"] = e.rauschfaktor;
    state.counters["unerklaert"] = static_cast<double>(e.unerklaert);
    const auto drallFlach = static_cast<std::size_t>(Kenngroesse::bande_drall_flach);
    state.counters["Winkelgesetz"] = e.kenngroessen[drallFlach].festgehalten ? 0 : 1;
    state.counters["Nase"] = e.welt.bandenart == Bandenart::nase ? 1 : 0;
    state.counters["Nase_hoehe"] = 1.0 + e.welt.naseSinus;
    state.counters["Nase_reibung"] = e.welt.naseReibung;
}

}  // namespace

BENCHMARK_CAPTURE(Kalibrieren, ohne, false)->Name("BM_Kalibriere")->Arg(300)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(Kalibrieren, winkel, true)
    ->Name("BM_KalibriereWinkelgesetz")
    ->Arg(300)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kSecond);
BENCHMARK(KalibrierenNase)->Name("BM_KalibriereNase")->Arg(300)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);
