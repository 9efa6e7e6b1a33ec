// Die Rundumsuche der robusten Wahl: steht kein Kandidat gut da, spielt der
// Planer Richtungen in halben Grad in drei Stärken ohne Rauschen.
// Zusammenhängende Treffer sind Stöße, die die Liste nicht kennt (über Banden,
// über andere Kugeln); ihre Mitte übersteht das Rauschen am ehesten. Der
// Sicherheitsstoß sucht auf dieselbe Weise gültige Stöße.
#pragma once

#include <vector>

#include "planner/robuste_proben.h"

constexpr float kRundumFaktoren[] = {0.85f, 1.0f, 1.2f};

struct Richtungstreffer {
    Vektor richtung;  // Einheitsvektor
    float staerke;
    int breite;  // so viele Schritte in Folge passten
};

// Passt der Ausgang eines Stoßes auf stand?
using Richtungsurteil = bool (*)(const Spielstand& stand, const Simergebnis& e);

// Spielt schritte Richtungen rundum in der Stärke staerke ohne Rauschen und
// hängt die Mitten der zusammenhängenden Richtungen, die passen, an treffer
// an. false, wenn die Zeit vorher um war: eine angebrochene Runde zählt nicht,
// ihre Läufe wären zerschnitten.
bool Rundum(Durchspiel& d, float staerke, int schritte, Richtungsurteil passt, std::vector<Richtungstreffer>& treffer);

// Die breitesten n, bei gleicher Breite die früheren.
std::vector<Richtungstreffer> Breiteste(std::vector<Richtungstreffer> treffer, std::size_t n);

// Je Stärke die Mitten der zusammenhängenden Treffer, die breitesten zuerst,
// höchstens sechs; ist die Zeit um, die der Stärken, die ganz gespielt sind.
std::vector<Richtungstreffer> Rundumsuche(Durchspiel& d);
