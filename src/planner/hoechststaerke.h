// Die robuste Wahl antwortet nie stärker als vmax ([physik]): kein Queue
// spielt mehr. Die vorgegebene Suche bleibt unbegrenzt.
#pragma once

#include "geometry/vektor.h"
#include "model/konfiguration.h"

// vmax, abzüglich dessen, was das Runden der Antwort auf vier Stellen je
// Achse an Länge dazugeben kann; nie negativ.
float Hoechststaerke(const Physik& physik);

// stoss, auf höchstens grenze gekürzt, in derselben Richtung; ein nicht
// endlicher Stoß wird der Nullstoß.
Vektor Begrenzt(Vektor stoss, float grenze);
