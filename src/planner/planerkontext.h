// Was der Planer für eine Entscheidung aus config.ini braucht, einmal je
// Anfrage gelesen: die Physik der Stoßstärke, der Kugelradius, [planer] und
// die Welt, in der die robuste Wahl ihre Proben spielt.
#pragma once

#include "model/konfiguration.h"
#include "planner/gelernter_tisch.h"
#include "planner/planereinstellung.h"
#include "sim/welt.h"

struct Planerkontext {
    Physik physik;
    float radius;
    Planereinstellung einstellung;  // mit lernen=1 und einem gelernten Tisch dessen Rauschen
    Welt welt;                      // [planer] welt aus [simulation]; mit lernen=1 in R die gelernte
};

// gelernt: der zuletzt gelernte Tisch oder nullptr; er gilt nur mit [planer] lernen=1.
Planerkontext PlanerkontextAus(const IniDatei& ini, const GelernterTisch* gelernt = nullptr);
