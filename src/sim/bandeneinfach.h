// Das einfache Bandengesetz von Welt R (Bandenart::einfach).
#pragma once

#include "sim/v2.h"
#include "sim/welt.h"

// Anteile quer (eNormal, mit bandeAbfall) und längs der Bande (eTangential,
// mit bandeReibung begrenzt), vom Drall quer bleibt bandeDrall. Mit dem
// Winkelgesetz ändern sich die drei Anteile mit 1 − cos h des Einfallswinkels,
// und eine Kugel, die noch auf die Bande zu gleitet, kommt anders heraus (siehe
// Welt). n zeigt von der Bande zur Kugel; die Kugel muss sich ihr nähern.
void AbprallEinfach(V2& geschwindigkeit, V2& drall, V2 n, const Welt& w);
