// Kennzahlen der Antwortzeiten.
#pragma once

#include <optional>
#include <vector>

// Median (bei gerader Anzahl das Mittel der beiden mittleren Werte); leer: nichts.
std::optional<double> Median(std::vector<double> werte);

// 99. Perzentil nach dem Rangverfahren: der kleinste Wert, unter dem oder auf
// dem mindestens 99 % der Werte liegen; leer: nichts.
std::optional<double> Perzentil99(std::vector<double> werte);
