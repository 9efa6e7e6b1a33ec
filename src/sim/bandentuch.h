// Ein drittes Bandengesetz für Welt R (Bandenart::tuch), wie bei Mathavan,
// Jackson und Parkin 2010.
#pragma once

#include "sim/v2.h"
#include "sim/welt.h"

// Die Nase liegt wie bei AbprallNase über der Mitte an, aber der Stoß dauert:
// über den Normalstoß an der Nase integriert, mit Coulomb-Reibung an der Nase
// (naseReibung) und am Tuch (tuchReibung), das den nach unten gerichteten Teil
// des Normalstoßes trägt. Die Richtung der Reibung folgt dem Gleiten, das sich
// während des Stoßes dreht; das Ende bestimmt die Energie (Stronge): die
// Arbeit der Nase beim Entspannen ist e² mal die beim Zusammendrücken. Ohne
// Last auf dem Tuch (Nase in Höhe der Mitte) und ohne Drall gibt es dasselbe
// wie AbprallNase. Drall um die Senkrechte kennt die Simulation nicht: er
// fällt am Ende weg. Ändert nichts, wenn die Kugel sich nicht auf die Bande
// zubewegt; n zeigt von der Bande zur Kugel.
void AbprallTuch(V2& geschwindigkeit, V2& drall, V2 n, const Welt& w, double e);
