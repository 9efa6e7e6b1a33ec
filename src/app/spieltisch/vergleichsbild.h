// Die Kurven des Vergleichs als PNG, offscreen mit Qt gemalt: links Erfolg je
// Stoß mit 95-%-Intervallen, rechts Kugeln je Aufnahme, je Planer eine Kurve.
// Braucht eine QGuiApplication (die Schrift).
#pragma once

#include <string>
#include <vector>

#include "optionen.h"
#include "vergleich.h"

bool MaleVergleich(const std::vector<Vergleichspunkt>& punkte, const Optionen& o, std::string& fehler);
