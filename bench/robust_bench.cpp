// Dauer einer robusten Entscheidung mit den Werten aus [planer] der
// config.ini neben dem Programm, über 100 zufällige volle Tische: Median und
// längste, auf einem Kern (Sicherheitsstöße eingeschlossen, wo sie erwogen werden).
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "entscheidungszeit.h"
#include "model/konfiguration.h"
#include "planner/robuste_suche.h"
#include "spiel/zufallstisch.h"
#include "bench_tisch.h"

namespace {
const Tischkontext& tk = Benchtisch();
}  // namespace

namespace {

// 100 Zufallstische mit objektkugeln Kugeln, reihum für jede Gruppe.
void MissAufZufallstischen(benchmark::State& state, int objektkugeln, int tiefe = 1) {
    IniDatei ini;
    LeseIniDatei(Benchkonfiguration(), ini);
    Planereinstellung e = PlanerAus(ini);
    if (tiefe == 2) e.tiefe = 2;

    std::mt19937 zufall(10);
    std::vector<Spielstand> staende(100);
    for (std::size_t i = 0; i < staende.size(); ++i) {
        const Zufallstisch t = ErzeugeSpieltisch(tk.tisch, zufall, objektkugeln, static_cast<std::int32_t>(i % 3));
        SetzeStandardaufstellung(tk.tisch, staende[i]);
        for (int k = 0; k < kAnzahlKugeln; ++k) {
            staende[i].kugeln[k].x = t.kugeln[k].x;
            staende[i].kugeln[k].y = t.kugeln[k].y;
            staende[i].kugeln[k].inloch = t.kugeln[k].bagcount >= 0;
        }
        staende[i].gruppe = t.player;
    }
    MissEntscheidungen(state, staende, e, ini);
}

void BM_RobusteSuche(benchmark::State& state) { MissAufZufallstischen(state, 15); }

// Wenige Kugeln: hier ist oft kein Lochstoß sicher, und Sicherheitsstöße werden erwogen.
void BM_RobusteSucheWenigeKugeln(benchmark::State& state) { MissAufZufallstischen(state, 4); }

// Dieselben Tische mit zwei Halbzügen ([planer] tiefe=2).
void BM_RobusteSucheTiefe2(benchmark::State& state) { MissAufZufallstischen(state, 15, 2); }
void BM_RobusteSucheTiefe2WenigeKugeln(benchmark::State& state) { MissAufZufallstischen(state, 4, 2); }

}  // namespace

BENCHMARK(BM_RobusteSuche)->Iterations(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RobusteSucheWenigeKugeln)->Iterations(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RobusteSucheTiefe2)->Iterations(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RobusteSucheTiefe2WenigeKugeln)->Iterations(100)->Unit(benchmark::kMillisecond);
