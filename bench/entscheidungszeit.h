// Misst robuste Entscheidungen einzeln: Wanduhr (was ein Spielserver sieht)
// und Rechenzeit des Threads (was die Maschine tat, weniger abhängig von
// anderer Last), Median und längste, dazu die Anteile von Anstoß,
// Sicherheitsstoß und gekappten Entscheidungen.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <string>
#include <vector>

#include "bench_tisch.h"
#include "planner/robuste_suche.h"

inline double ThreadMillisekunden() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) * 1e-6;
}

inline void MissEntscheidungen(benchmark::State& state, const std::vector<Spielstand>& staende,
                               const Planereinstellung& e, const IniDatei& ini) {
    std::vector<double> wand, rechen;
    int gekappt = 0, anstoesse = 0, sicherheiten = 0;
    std::size_t i = 0;
    for (auto _ : state) {
        const double c = ThreadMillisekunden();
        const auto start = std::chrono::steady_clock::now();
        Planerkontext pk = PlanerkontextAus(ini);
        pk.einstellung = e;
        pk.welt = WeltAus(ini, e.welt);
        const Planergebnis p = SucheStossRobust(Benchtisch(), pk, staende[i]);
        wand.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        rechen.push_back(ThreadMillisekunden() - c);
        gekappt += p.bericht.gekappt;
        anstoesse += p.bericht.anstoss;
        sicherheiten += p.bericht.sicherheit;
        benchmark::DoNotOptimize(p.stoss);
        i = (i + 1) % staende.size();
    }
    std::sort(wand.begin(), wand.end());
    std::sort(rechen.begin(), rechen.end());
    const double n = static_cast<double>(wand.size());
    state.counters["Median_ms"] = wand[wand.size() / 2];
    state.counters["Max_ms"] = wand.back();
    state.counters["CPU_Median_ms"] = rechen[rechen.size() / 2];
    state.counters["CPU_Max_ms"] = rechen.back();
    state.counters["gekappt"] = gekappt / n;
    state.counters["Anstoss"] = anstoesse / n;
    state.counters["Sicherheit"] = sicherheiten / n;
}
