// Laufzeit der Stoßsuche (mit dem Lesen von config.ini, das zu jeder Suche
// gehört) und der Sortierung gegen den wörtlichen Blasensort.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "net/xml_schreiben.h"
#include "anzeige/anzeige.h"
#include "model/konfiguration.h"
#include "net/xml_lesen.h"
#include "planner/suche.h"
#include "spiel/zufallstisch.h"
#include "bench_tisch.h"

namespace {
const Tischkontext& tk = Benchtisch();
}  // namespace

namespace {

Spielstand Grundaufstellung(int gruppe) {
    Spielstand s;
    SetzeStandardaufstellung(tk.tisch, s);
    s.gruppe = gruppe;
    return s;
}

// Fünfzehn Kugeln gleichmäßig verteilt, die Weiße in der Mitte unten.
Spielstand Verteilt() {
    Spielstand s = Grundaufstellung(alle);
    s.kugeln[0].x = 50.0f;
    s.kugeln[0].y = 8.0f;
    int i = 1;
    for (int zeile = 0; zeile < 3; ++zeile)
        for (int spalte = 0; spalte < 5; ++spalte, ++i) {
            s.kugeln[i].x = 14.0f + 19.0f * static_cast<float>(spalte) + (zeile == 1 ? 6.0f : 0.0f);
            s.kugeln[i].y = 16.0f + 13.0f * static_cast<float>(zeile);
        }
    return s;
}

// Nur der blinde Stoß: keine eigene Kugel erreichbar.
Spielstand NurUngewiss() {
    Spielstand s = Grundaufstellung(halbe);
    for (int i = 1; i < kAnzahlKugeln; ++i) s.kugeln[i].inloch = 1;
    s.kugeln[0].x = 30.0f;
    s.kugeln[0].y = 20.0f;
    s.kugeln[8].x = 0.0f;  // die Schwarze wird eigen, liegt aber außerhalb und gesperrt
    s.kugeln[8].y = 0.0f;
    s.kugeln[1].inloch = 0;
    s.kugeln[1].x = 15.0f;
    s.kugeln[1].y = 10.0f;
    return s;
}

// Was eine Anfrage plant: config.ini einmal lesen, dann die vorgegebene Suche.
Vektor Plane(const Spielstand& s) {
    IniDatei ini;
    LeseKonfiguration(Benchkonfiguration(), ini);
    return SucheStoss(tk, s, PhysikAus(ini), KugelradiusAus(ini)).stoss;
}

void Suche(benchmark::State& state, Spielstand s) {
    for (auto _ : state) {
        const Vektor stoss = Plane(s);
        benchmark::DoNotOptimize(stoss);
    }
    Stoss liste[kListenGroesse];
    int anzahl[7];
    state.counters["Kandidaten"] = SammleStoesse(tk, s, liste, anzahl);
}

// Dieselben Zufallstische, die "spieltisch --zufall 1" schickt, über den
// Dokumentleser: so ist die Suchzeit je Tisch mit der Rundlaufzeit vergleichbar.
void BM_SucheStoss_Zufallstische(benchmark::State& state) {
    std::mt19937 zufall(1);
    std::vector<Spielstand> staende(1000);
    for (std::size_t i = 0; i < staende.size(); ++i) {
        const std::string d = SchreibeAnfrage(tk.tisch, ErzeugeZufallstisch(tk.tisch, zufall), 1, "127.0.0.1", 2223);
        LeseSpielstandXML(tk, d, staende[i]);
    }
    std::size_t i = 0;
    for (auto _ : state) {
        const Vektor stoss = Plane(staende[i]);
        benchmark::DoNotOptimize(stoss);
        i = (i + 1) % staende.size();
    }
}

std::vector<Stoss> Zufallsliste() {
    std::mt19937 zufall(7);
    std::vector<Stoss> liste(kMaxStoesse);
    for (std::size_t i = 0; i < liste.size(); ++i) {
        liste[i] = Stoss{};
        liste[i].art = static_cast<int>(i);
        liste[i].bewertung = static_cast<float>(zufall() % 3000);  // mit Gleichständen
    }
    return liste;
}

void BM_SortiereStoesse(benchmark::State& state) {
    const std::vector<Stoss> vorlage = Zufallsliste();
    std::vector<Stoss> liste;
    for (auto _ : state) {
        liste = vorlage;
        SortiereStoesse(liste.data(), static_cast<int>(liste.size()));
        benchmark::DoNotOptimize(liste.data());
    }
}

void BM_SortiereStoesse_Blasensort(benchmark::State& state) {
    const std::vector<Stoss> vorlage = Zufallsliste();
    std::vector<Stoss> liste;
    for (auto _ : state) {
        liste = vorlage;
        SortiereStoesseBlasensort(liste.data(), static_cast<int>(liste.size()));
        benchmark::DoNotOptimize(liste.data());
    }
}

}  // namespace

BENCHMARK_CAPTURE(Suche, Grundaufstellung_halbe, Grundaufstellung(halbe))->Name("BM_SucheStoss/Grundaufstellung_halbe");
BENCHMARK_CAPTURE(Suche, Grundaufstellung_volle, Grundaufstellung(volle))->Name("BM_SucheStoss/Grundaufstellung_volle");
BENCHMARK_CAPTURE(Suche, Grundaufstellung_alle, Grundaufstellung(alle))->Name("BM_SucheStoss/Grundaufstellung_alle");
BENCHMARK_CAPTURE(Suche, Verteilt_alle, Verteilt())->Name("BM_SucheStoss/Verteilt_alle");
BENCHMARK_CAPTURE(Suche, NurUngewiss, NurUngewiss())->Name("BM_SucheStoss/NurUngewiss");
BENCHMARK(BM_SucheStoss_Zufallstische)->Name("BM_SucheStoss/Zufallstische_spieltisch");
BENCHMARK(BM_SortiereStoesse)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SortiereStoesse_Blasensort)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
