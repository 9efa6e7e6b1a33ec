// Die Störungen zuerst auf einem Gitter suchen: ob die Weiße eine Kugel trifft
// oder knapp verfehlt, ob eine Kugel fällt, springt mit der Störung, und ein
// Fit, der aus der falschen Lücke startet, findet die richtige nicht.
#pragma once

#include "lernen/fitzustand.h"

// Für jede aktive Beobachtung: ein grobes Gitter über ±spanne (in Einheiten
// des Maßes der Störung), dann viermal um die besten Punkte ein vierfach
// feineres. Gemessen wird grob, was zählt: je bewegter Kugel d² / (d² + s²),
// s von einer Tischeinheit an mit dem Gitter kleiner, so dass eine Kugel, die
// weit danebenliegt, nur als eine zählt, gleich wie weit. Zuletzt entscheiden
// die Kosten des Fits; die bisherige Störung bleibt, wenn keine besser ist.
// alle = false: nur Beobachtungen, deren Kugeln im Mittel weiter als zwei
// Lagefehler danebenliegen. false nach einem Abbruch.
bool SucheStoerungen(Fitzustand& f, double spanne, bool alle);
