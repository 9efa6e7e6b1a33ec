// Dauer einer robusten Entscheidung auf schweren, gültigen Tischen (eine
// Reihe sich berührender Kugeln, ein dichter Haufen, Kugeln an den Banden),
// auf vollen Dreiecken (der Anstoß) und auf Tischen ohne Lochstoß (der
// Sicherheitsstoß), mit den Werten aus [planer]: Median und längste
// Entscheidung sowie der Anteil, den die Zeitgrenze kappte.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "entscheidungszeit.h"
#include "model/konfiguration.h"
#include "planner/robuste_suche.h"
#include "bench_tisch.h"

namespace {
const Tischkontext& tk = Benchtisch();
}  // namespace

namespace {

Spielstand Leer(std::int32_t gruppe) {
    Spielstand s;
    SetzeStandardaufstellung(tk.tisch, s);
    for (Kugel& k : s.kugeln) k.inloch = 0;
    s.gruppe = gruppe;
    return s;
}

void Setze(Spielstand& s, int i, float x, float y) {
    s.kugeln[i].x = x;
    s.kugeln[i].y = y;
}

// Alle sechzehn Kugeln in einer Reihe, jede berührt die nächste.
Spielstand Reihe() {
    Spielstand s = Leer(halbe);
    const float d = 2.0f * tk.tisch.radius;
    for (int i = 0; i < kAnzahlKugeln; ++i) Setze(s, i, 22.0f + d * static_cast<float>(i), tk.tisch.hoehe / 2.0f);
    return s;
}

// Vierzehn Kugeln in zwei sich berührenden Reihen zu sieben, versetzt wie im
// Dreieck; die Schwarze und die Weiße frei.
Spielstand Haufen() {
    Spielstand s = Leer(volle);
    const float d = 2.0f * tk.tisch.radius, h = d * std::sqrt(3.0f) / 2.0f;
    int i = 1;
    for (int zeile = 0; zeile < 2; ++zeile)
        for (int spalte = 0; spalte < 7; ++spalte, ++i) {
            if (i == 8) ++i;
            Setze(s, i, 45.0f + d * static_cast<float>(spalte) + (zeile ? d / 2.0f : 0.0f),
                  tk.tisch.hoehe / 2.0f + h * static_cast<float>(zeile));
        }
    Setze(s, 8, 80.0f, 12.0f);
    Setze(s, 0, 20.0f, 30.0f);
    return s;
}

// Jede Kugel liegt an einer Bande, auch die Weiße.
Spielstand AnDenBanden() {
    Spielstand s = Leer(halbe);
    const float r = tk.tisch.radius, unten = tk.tisch.bande_y + r, oben = tk.tisch.hoehe - tk.tisch.bande_y - r;
    const float links = tk.tisch.bande_x + r, rechts = tk.tisch.breite - tk.tisch.bande_x - r;
    const float lagen[kAnzahlKugeln][2] = {
        {28, unten}, {12, unten}, {20, unten}, {44, unten}, {72, unten},  {96, unten},  {30, oben}, {65, oben},
        {links, tk.tisch.hoehe / 2}, {36, unten}, {64, unten}, {80, unten}, {15, oben}, {45, oben}, {85, oben},
        {rechts, tk.tisch.hoehe / 2}};
    for (int i = 0; i < kAnzahlKugeln; ++i) Setze(s, i, lagen[i][0], lagen[i][1]);
    return s;
}

// Ein volles Dreieck am Fußpunkt, die Spitze zur Weißen, die Schwarze in der
// Mitte der dritten Reihe, eine volle und eine halbe Kugel in den hinteren
// Ecken; die Weiße irgendwo auf der Kopflinie.
Spielstand Dreieck(std::mt19937& zufall) {
    Spielstand s = Leer(alle);
    const float spielLaenge = tk.tisch.breite - 2.0f * tk.tisch.bande_x;
    const float fuss = tk.tisch.bande_x + 0.75f * spielLaenge, kopf = tk.tisch.bande_x + 0.25f * spielLaenge;
    const float d = 2.0f * tk.tisch.radius, h = d * std::sqrt(3.0f) / 2.0f, mitte = tk.tisch.hoehe / 2.0f;
    std::vector<int> rest{2, 3, 4, 5, 6, 7, 9, 10, 11, 12, 13, 14};
    std::shuffle(rest.begin(), rest.end(), zufall);
    std::size_t naechste = 0;
    for (int zeile = 0; zeile < 5; ++zeile)
        for (int j = 0; j <= zeile; ++j) {
            int kugel = zeile == 2 && j == 1 ? 8 : zeile == 4 && j == 0 ? 1 : zeile == 4 && j == 4 ? 15 : -1;
            if (kugel < 0) kugel = rest[naechste++];
            Setze(s, kugel, fuss + h * static_cast<float>(zeile),
                  mitte + d * (static_cast<float>(j) - static_cast<float>(zeile) / 2.0f));
        }
    std::uniform_real_distribution<float> quer(tk.tisch.bande_y + 5.0f, tk.tisch.hoehe - tk.tisch.bande_y - 5.0f);
    Setze(s, 0, kopf, quer(zufall));
    return s;
}

// Kein Lochstoß geht: die 9 liegt mitten an der rechten kurzen Bande zwischen
// zwei Kugeln des Gegners; Weiße und Schwarze irgendwo. Hier wird ein
// Sicherheitsstoß erwogen.
Spielstand OhneLochstoss(std::mt19937& zufall) {
    Spielstand s = Leer(halbe);
    for (int i = 3; i < kAnzahlKugeln; ++i) s.kugeln[i].inloch = i != 8 && i != 9;
    const float r = tk.tisch.radius, y = tk.tisch.hoehe / 2.0f, rechts = tk.tisch.breite - tk.tisch.bande_x - r;
    Setze(s, 9, rechts, y);
    Setze(s, 1, rechts, y - 2.0f * r - 0.01f);
    Setze(s, 2, rechts, y + 2.0f * r + 0.01f);
    std::uniform_real_distribution<float> x(10.0f, 90.0f), quer(8.0f, tk.tisch.hoehe - 8.0f);
    for (int i : {0, 8}) {
        do Setze(s, i, x(zufall), quer(zufall));
        while (i == 8 && std::hypot(s.kugeln[8].x - s.kugeln[0].x, s.kugeln[8].y - s.kugeln[0].y) < 4.0f * r);
    }
    return s;
}

struct Lauf {
    IniDatei ini;
    Planereinstellung e;
};

Lauf Vorbereiten() {
    Lauf l;
    LeseIniDatei(Benchkonfiguration(), l.ini);
    l.e = PlanerAus(l.ini);
    return l;
}

void BM_RobusteSucheSchwer(benchmark::State& state) {
    const Lauf l = Vorbereiten();
    const Spielstand s = state.range(0) == 0 ? Reihe() : state.range(0) == 1 ? Haufen() : AnDenBanden();
    state.SetLabel(state.range(0) == 0 ? "Reihe" : state.range(0) == 1 ? "Haufen" : "Banden");
    MissEntscheidungen(state, {s}, l.e, l.ini);
}

void BM_RobusterAnstoss(benchmark::State& state) {
    const Lauf l = Vorbereiten();
    std::mt19937 zufall(16);
    std::vector<Spielstand> staende;
    for (int i = 0; i < 20; ++i) staende.push_back(Dreieck(zufall));
    MissEntscheidungen(state, staende, l.e, l.ini);
}

void BM_RobusterSicherheitsstoss(benchmark::State& state) {
    const Lauf l = Vorbereiten();
    std::mt19937 zufall(18);
    std::vector<Spielstand> staende;
    for (int i = 0; i < 20; ++i) staende.push_back(OhneLochstoss(zufall));
    MissEntscheidungen(state, staende, l.e, l.ini);
}

}  // namespace

BENCHMARK(BM_RobusteSucheSchwer)->DenseRange(0, 2)->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RobusterAnstoss)->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RobusterSicherheitsstoss)->Iterations(20)->Unit(benchmark::kMillisecond);
