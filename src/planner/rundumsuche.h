// Die Rundumsuche der robusten Wahl: steht kein Kandidat gut da, spielt der
// Planer Richtungen in halben Grad in drei Stärken ohne Rauschen.
// Zusammenhängende Treffer sind Stöße, die die Liste nicht kennt (über Banden,
// über andere Kugeln); je Treffer und Stärke (kRundumFaktoren) sucht die Wahl
// dann genauer die Mitte des Zielfensters. Der Sicherheitsstoß sucht auf
// dieselbe Weise gültige Stöße.
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

// Die Stärken der Rundumsuche: grenze (vmax), dann kRundumMitte und
// kRundumSanft. Auf echtem Tuch gleitet jede Kugel erst und verliert dabei
// viel; die Lagen, in denen die Liste nichts findet, brauchen meist einen
// Weg über Banden oder andere Kugeln, und der gelingt fast nur fest. Die
// festeste zuerst: reicht die Zeit nicht für alle, bleibt die ergiebigste.
constexpr float kRundumMitte = 3.3f;
constexpr float kRundumSanft = 1.6f;

// Je Stärke die Mitten der zusammenhängenden Treffer, die breitesten zuerst,
// höchstens sechs; ist die Zeit um, die der Stärken, die ganz gespielt sind.
std::vector<Richtungstreffer> Rundumsuche(Durchspiel& d, float grenze);
