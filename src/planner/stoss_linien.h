// Die Linien eines Kandidaten für die Tischansicht: rot die Wege der Weißen,
// blau die der Objektkugel, grau der unsichere Stoß.
#pragma once

#include <vector>

#include "anzeige/linie.h"
#include "planner/stoss.h"

// In Zeichenreihenfolge; eine unbekannte Art zeichnet nichts.
std::vector<Linie> StossLinien(const Stoss& s);
