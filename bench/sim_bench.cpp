// Laufzeit der Simulation: Stöße je Sekunde und Ereignisse je Stoß, über
// 1000 zufällige gültige Tische mit 8 bis 15 Objektkugeln, gespielt mit dem
// Stoß, den der Planer für den Tisch wählt.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <vector>

#include "anzeige/anzeige.h"
#include "model/konfiguration.h"
#include "planner/suche.h"
#include "sim/simulation.h"
#include "sim/stapel.h"
#include "spiel/zufallstisch.h"
#include "bench_tisch.h"

namespace {
const Tischkontext& tk = Benchtisch();
}  // namespace

namespace {

struct Aufgabe {
    Spielstand stand;
    Vektor stoss;
};

const std::vector<Aufgabe>& Aufgaben() {
    static const std::vector<Aufgabe> aufgaben = [] {
        std::mt19937 zufall(8);
        std::vector<Aufgabe> a(1000);
        for (Aufgabe& x : a) {
            const Zufallstisch t = ErzeugeZufallstisch(tk.tisch, zufall);
            SetzeStandardaufstellung(tk.tisch, x.stand);
            for (int i = 0; i < kAnzahlKugeln; ++i) {
                x.stand.kugeln[i].x = t.kugeln[i].x;
                x.stand.kugeln[i].y = t.kugeln[i].y;
                x.stand.kugeln[i].zieltasche = t.kugeln[i].target;
            }
            // 8 bis 15 Objektkugeln auf dem Tisch, die übrigen eingelocht.
            const int aufDemTisch = 8 + static_cast<int>(zufall() % 8);
            for (int i = aufDemTisch + 1; i < kAnzahlKugeln; ++i) x.stand.kugeln[i].inloch = 1;
            x.stand.gruppe = t.player;
            const IniDatei leer;
            x.stoss = SucheStoss(tk, x.stand, PhysikAus(leer), KugelradiusAus(leer)).stoss;
        }
        return a;
    }();
    return aufgaben;
}

void Simuliere(benchmark::State& state, Modell modell) {
    const std::vector<Aufgabe>& aufgaben = Aufgaben();
    const Tischgeometrie g = BaueTischgeometrie(tk);
    const Welt w = LadeWelt(Benchkonfiguration(), modell);
    static Simergebnis e;
    std::size_t i = 0;
    long ereignisse = 0;
    for (auto _ : state) {
        const Aufgabe& a = aufgaben[i];
        Simuliere(g, w, a.stand, a.stoss, e);
        ereignisse += e.anzahl;
        benchmark::DoNotOptimize(e.lage);
        i = (i + 1) % aufgaben.size();
    }
    state.counters["Stoesse/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["Ereignisse/Stoss"] = static_cast<double>(ereignisse) / static_cast<double>(state.iterations());
}

// Der ganze Weg von Datei zu Datei (stosswerk-sim --stapel): Zeilen lesen,
// spielen, Ergebnisse schreiben; dieselben Tische, Modell R.
void Stapel(benchmark::State& state) {
    const std::vector<Aufgabe>& aufgaben = Aufgaben();
    const auto ordner = std::filesystem::temp_directory_path();
    const auto ein = ordner / "stosswerk-bench-stapel.jsonl", aus = ordner / "stosswerk-bench-ergebnis.jsonl";
    {
        std::ofstream datei(ein);
        for (const Aufgabe& a : aufgaben) {
            datei << "{\"kugeln\": [";
            for (int i = 0; i < kAnzahlKugeln; ++i) {
                const Kugel& k = a.stand.kugeln[i];
                datei << (i ? ", " : "") << "[" << k.x << ", " << k.y << ", " << int(k.inloch) << "]";
            }
            datei << "], \"stoss\": [" << a.stoss.x << ", " << a.stoss.y << "]}\n";
        }
    }
    const Tischgeometrie g = BaueTischgeometrie(tk);
    const Welt welten[2] = {LadeWelt(Benchkonfiguration(), Modell::P), LadeWelt(Benchkonfiguration(), Modell::R)};
    for (auto _ : state) {
        std::ifstream e(ein);
        std::ofstream a(aus);
        if (SpieleStapel(e, a, g, welten, Modell::R) != 0) state.SkipWithError("fehlerhafte Zeilen");
    }
    state.counters["Stoesse/s"] = benchmark::Counter(static_cast<double>(state.iterations() * aufgaben.size()),
                                                     benchmark::Counter::kIsRate);
    std::filesystem::remove(ein);
    std::filesystem::remove(aus);
}

}  // namespace

BENCHMARK(Stapel)->Name("BM_Stapel/R")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Simuliere, P, Modell::P)->Name("BM_Simuliere/P")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Simuliere, R, Modell::R)->Name("BM_Simuliere/R")->Unit(benchmark::kMicrosecond);
