// Ein echter Queue trifft nie genau: Richtung und Stärke streuen normal-
// verteilt. F ist der Rauschfaktor (0 genau, 1 das übliche Maß der Turniere
// für Computerspieler, 2 doppelt so viel).
#pragma once

#include <random>

#include "geometry/vektor.h"

constexpr double kStreuungRichtungGrad = 0.125;  // je Einheit von F
constexpr double kStreuungStaerke = 0.075;       // Stärkeeinheiten je Einheit von F

// Zwei unabhängige Standardnormalwerte aus dem Generator (Box-Muller). Eigene
// Rechnung statt std::normal_distribution: deren Folge legt die Norm nicht
// fest, und gleiche Saat muss überall gleiche Stöße geben.
void Normalpaar(std::mt19937_64& zufall, double& z1, double& z2);

// Richtung + N(0, σφ), Stärke + N(0, σs); eine negative Stärke wird 0. Zieht
// immer genau zwei Zahlen, auch bei F = 0, damit zwei Spieler auf denselben
// Tischen dieselben Störungen bekommen.
Vektor VerrauscheStoss(Vektor stoss, double faktor, std::mt19937_64& zufall);

// Dasselbe mit schon gezogenen Normalwerten (zr für die Richtung, zs für die
// Stärke): so vergleicht der Planer Stöße unter denselben Störungen.
Vektor VerrauscheStoss(Vektor stoss, double faktor, double zr, double zs);
