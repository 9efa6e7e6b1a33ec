// Ein zweites Bandengesetz für Welt R (Bandenart::nase).
#pragma once

#include "sim/v2.h"
#include "sim/welt.h"

// Die Nase der Bande liegt über der Mitte der Kugel an (Einheitsvektor ρ von
// der Mitte zur Berührung, um den Winkel der Nase über die Waagrechte
// gehoben). Rechnet in Geschwindigkeiten: W = r·ω, und s ist (W_y, −W_x),
// weil s die Geschwindigkeit ist, mit der die Kugel rollen würde. Der
// Normalstoß (1 + e)·c längs ρ dreht die Kugel nicht; der Reibungsstoß quer
// zu ρ ändert das Gleiten an der Nase 7/2-mal so stark wie die Geschwindigkeit
// (Vollkugel) und ist höchstens μ mal der Normalstoß, gerichtet gegen das
// Gleiten davor. Was senkrecht zum Tuch herauskommt (Hüpfen, Effet um die
// Senkrechte), kennt die Simulation nicht: es fällt weg und nimmt nur Energie.
// n zeigt von der Bande zur Kugel; e ist die Stoßzahl quer zur Bande. Ändert
// nichts, wenn die Kugel sich nicht auf die Bande zubewegt.
void AbprallNase(V2& geschwindigkeit, V2& drall, V2 n, const Welt& w, double e);
