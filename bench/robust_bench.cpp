// Dauer einer robusten Entscheidung mit den Vorgaben aus [planer], über 100
// zufällige volle Tische: Median und längste, auf einem Kern.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <vector>

#include "anzeige/anzeige.h"
#include "model/konfiguration.h"
#include "planner/robuste_suche.h"
#include "tische.h"

namespace {

void BM_RobusteSuche(benchmark::State& state) {
    LadeTisch(tisch, Konfigurationsdatei());
    BerechneTaschenpunkte();
    InstalliereAnzeige(StilleAnzeige());
    IniDatei ini;
    LeseIniDatei(Konfigurationsdatei(), ini);
    const Planereinstellung e = PlanerAus(ini);

    std::mt19937 zufall(10);
    std::vector<Spielstand> staende(100);
    for (std::size_t i = 0; i < staende.size(); ++i) {
        const Zufallstisch t = ErzeugeSpieltisch(tisch, zufall, 15, static_cast<std::int32_t>(i % 3));
        SetzeStandardaufstellung(staende[i]);
        for (int k = 0; k < kAnzahlKugeln; ++k) {
            staende[i].kugeln[k].x = t.kugeln[k].x;
            staende[i].kugeln[k].y = t.kugeln[k].y;
        }
        staende[i].gruppe = t.player;
    }
    std::vector<double> ms;
    std::size_t i = 0;
    for (auto _ : state) {
        Vektor stoss{};
        const auto a = std::chrono::steady_clock::now();
        SucheStossRobust(staende[i], stoss, e, ini);
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - a).count());
        benchmark::DoNotOptimize(stoss);
        i = (i + 1) % staende.size();
    }
    std::sort(ms.begin(), ms.end());
    state.counters["Median_ms"] = ms[ms.size() / 2];
    state.counters["Max_ms"] = ms.back();
}

}  // namespace

BENCHMARK(BM_RobusteSuche)->Iterations(100)->Unit(benchmark::kMillisecond);
