// Die eine Umrechnung zwischen den Koordinaten des Spielservers und denen des
// Tisches. Der Server misst quer über den Tisch (x, −0.5 … 0.5) und längs (y,
// 1 bei Tisch-x = 0 bis −1 bei Tisch-x = breite). Der Spieler liest mit ihr die
// Anfrage, der Ersatzserver schreibt mit ihr seine Dokumente und weiß so genau,
// welche Lage beim Spieler ankommt.
#pragma once

#include <string>
#include <string_view>

#include "model/tisch.h"

struct Serverlage {
    double x, y;
};

// Wie der Spieler liest, in float: Tisch-x = (1 − y)·0.5·breite, Tisch-y = (x + 0.5)·hoehe.
void ServerZuTisch(const Tisch& t, float sx, float sy, float& x, float& y);

// Die Umkehrung in double, für Dokumente.
Serverlage TischZuServer(const Tisch& t, float x, float y);

// Eine Lage, wie sie im Dokument steht: sechs Nachkommastellen, immer mit Punkt.
std::string Serverzahl(double v);

// Eine Zahl aus dem Dokument wie atof im C-Locale: die führende Zahl, 0 ohne.
double LeseServerzahl(std::string_view text);

// Die Lage, wie sie nach dem Runden auf die sechs Nachkommastellen des
// Dokuments beim Spieler ankommt.
void RundeWieDokument(const Tisch& t, float& x, float& y);
