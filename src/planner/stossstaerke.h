// Die Stoßstärke: rückwärts vom Ziel zur Weißen, Strecke für Strecke, mit
// Rollreibung, Kugelkontakten und Bandenkontakten.
#pragma once

#include "model/konfiguration.h"
#include "planner/stoss.h"

// Mit [physik] und dem Kugelradius der Anfrage (bei jeder Anfrage neu gelesen).
float BerechneStossstaerke(const Stoss& stoss, const Physik& physik, float radius);

float StartGeschwindigkeit(float strecke, float vEnde, const Physik& p);
float GeschwindigkeitVorStoss(float winkel, float vNach);
float GeschwindigkeitVorBande(Vektor zurueck, Vektor weiter, float vNach, const Physik& p);
double GradInBogenmass(float grad);
