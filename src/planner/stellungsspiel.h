// Stellungsspiel der robusten Wahl: wo bleibt die Weiße nach einem gelungenen
// Stoß stehen, und wie sicher gelänge von dort der nächste Lochstoß?
#pragma once

#include <vector>

#include "model/konfiguration.h"
#include "planner/robuste_proben.h"

constexpr int kStellungsWahl = 3;

// Die Erfolgsquote des besten der nächsten drei Lochstöße der Liste für die
// Gruppe von nachher, in zwei Stärken zu je proben Proben (Tisch, Welt,
// Störungen und Zeitgrenze aus d): 1, wenn nichts Eigenes mehr liegt. Ist die
// Zeit um, zählt, was bis dahin gespielt ist.
double Stellungswert(const Spielstand& nachher, Durchspiel& d, const Physik& p, float r, int proben);

// Für die ersten kStellungsWahl der engeren Wahl (reihe, eng): wert =
// Quote × (1 + stellung × Stellungswert nach der ersten gelungenen Probe).
void Stellungsspiel(Durchspiel& d, std::vector<Variante>& varianten, const std::vector<int>& reihe, int eng,
                    double stellung, const Physik& physik, float radius);
