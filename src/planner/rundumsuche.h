// Die Rundumsuche der robusten Wahl: steht kein Kandidat gut da, spielt der
// Planer Richtungen in halben Grad in drei Stärken ohne Rauschen.
// Zusammenhängende Treffer sind Stöße, die die Liste nicht kennt (über Banden,
// über andere Kugeln); ihre Mitte übersteht das Rauschen am ehesten.
#pragma once

#include <vector>

#include "planner/robuste_proben.h"

constexpr float kRundumFaktoren[] = {0.85f, 1.0f, 1.2f};

struct Richtungstreffer {
    Vektor richtung;  // Einheitsvektor
    float staerke;
    int breite;  // so viele halbe Grad in Folge gelangen
};

// Je Stärke die Mitten der zusammenhängenden Treffer, die breitesten zuerst,
// höchstens sechs; ist die Zeit um, die der Stärken, die ganz gespielt sind.
std::vector<Richtungstreffer> Rundumsuche(Durchspiel& d);
