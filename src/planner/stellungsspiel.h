// Stellungsspiel der robusten Wahl: wo bleibt die Weiße nach einem gelungenen
// Stoß stehen, und wie sicher gelänge von dort der nächste Lochstoß?
#pragma once

#include <vector>

#include "model/konfiguration.h"
#include "planner/robuste_proben.h"

constexpr int kStellungsWahl = 3;

// Die Erfolgsquote des besten der nächsten Lochstöße, in wenigen Proben: 1,
// wenn nichts Eigenes mehr liegt.
double Stellungswert(const Spielstand& nachher, const Tischgeometrie& g, const Welt& w, const Physik& p, float r,
                     double rauschen, const double* zr, const double* zs);

// Für die ersten kStellungsWahl der engeren Wahl (reihe, eng): wert =
// Quote × (1 + stellung × Stellungswert nach der ersten gelungenen Probe).
void Stellungsspiel(Durchspiel& d, std::vector<Variante>& varianten, const std::vector<int>& reihe, int eng,
                    double stellung, const Physik& physik, float radius);
