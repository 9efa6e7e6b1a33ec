// Stellungsspiel der robusten Wahl: wo bleibt die Weiße nach einem gelungenen
// Stoß stehen, und wie sicher gelänge von dort der nächste Stoß?
#pragma once

#include <vector>

#include "model/konfiguration.h"
#include "planner/robuste_proben.h"

constexpr int kNaechsteLochstoesse = 3;

// Wie sicher gelänge von nachher aus (Gruppe von nachher) der nächste Stoß,
// so gesucht wie die eigene Wahl, nur knapper: die besten kNaechsteLochstoesse
// Lochstöße der Liste, je Stärke in der Mitte ihres Zielfensters; gelingt
// keiner zur Hälfte, rundum in ganzen Grad. Die beste Quote aus je proben
// Proben (Tisch, Welt, Störungen und Zeitgrenze aus d); 1, wenn nichts
// Eigenes mehr liegt. Ist die Zeit um, zählt, was bis dahin gespielt ist.
double Stellungswert(const Spielstand& nachher, Durchspiel& d, const Physik& p, float r, int proben);

// Rundum in ganzen Grad, fest und mittel (aus verbauten Lagen gelingt fast
// nur ein fester Stoß); die beste Quote der drei breitesten Treffer mit je
// proben Proben auf n.stand.
double Rundumaussicht(Durchspiel& n, float grenze, int proben);

// Für die engere Wahl (reihe, eng; nach der Quote sortiert): wert = Quote ×
// (1 + stellung × Stellungswert nach der ersten gelungenen Probe), solange
// eine Variante mit der besten Stellung den besten Wert noch übertreffen könnte.
void Stellungsspiel(Durchspiel& d, std::vector<Variante>& varianten, const std::vector<int>& reihe, int eng,
                    double stellung, const Physik& physik, float radius);
