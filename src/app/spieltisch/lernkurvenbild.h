// Die Lernkurve als PNG, offscreen mit Qt gemalt: Erfolg je Stoß über der
// Zahl der Beobachtungen des Lernenden, je Spieler eine Kurve mit
// 95-%-Intervallen, rechts die Tische danach. Braucht eine QGuiApplication.
#pragma once

#include <string>

#include "lernkurve.h"
#include "optionen.h"

bool MaleLernkurve(const Lernlauf& l, const Optionen& o, std::string& fehler);
