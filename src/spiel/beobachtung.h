// Eine Beobachtung: der Tisch vor dem Stoß, die Gruppe, der geantwortete Stoß
// (vor jedem Rauschen) und der Tisch danach. Eine Zeile JSON, wie sie der
// Ersatztisch mit --beobachtungen schreibt und der Spieler selbst sammelt.
// Braucht nur den Spielstand, damit sie auch tiefer liegen kann.
#pragma once

#include <string>

#include "geometry/vektor.h"
#include "model/tisch.h"

// {"vorher": [[x, y, inloch] × 16], "gruppe": g, "stoss": [x, y],
//  "nachher": [[x, y, inloch] × 16]}, Tischeinheiten, Weiße zuerst, ohne Zeilenende.
std::string Beobachtungszeile(const Spielstand& vorher, Vektor stoss, const Spielstand& nachher);
