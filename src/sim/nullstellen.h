// Nullstellen kleiner Polynome (Grad ≤ 4) auf einem Zeitintervall. Die
// Simulation fragt nur eines: wann fällt ein Abstandspolynom zum ersten Mal
// von positiv auf null – zwei Kugeln berühren sich, eine Kugel erreicht die Bande.
#pragma once

#include <limits>

constexpr double kNie = std::numeric_limits<double>::infinity();

// c[0] + c[1]·t + … + c[grad]·t^grad an der Stelle t (Horner).
double Polynomwert(const double* c, int grad, double t);

// Die Nullstellen mit Vorzeichenwechsel in (a, b), aufsteigend; gibt ihre
// Anzahl zurück (höchstens grad). Berührende Doppelnullstellen fehlen.
int Nullstellen(const double* c, int grad, double a, double b, double* aus);

// Die kleinste Zeit t in [0, tmax], zu der f von > 0 auf ≤ 0 fällt: zwei
// Körper berühren sich. Berühren sie sich schon (f(0) ≤ 0), ist es 0, wenn f
// dort schneller fällt als mindestSteigung; sonst erst, wenn f um tiefe unter
// f(0) sinkt (eine Kugel drückt, ohne zu stoßen). kNie, wenn es keine gibt.
// Zurück kommt die Seite der Klammer, an der sie sich gerade noch nicht
// berühren, statt der, an der sie schon ineinanderstecken.
double ErsteAnnaeherung(const double* c, int grad, double tmax, double mindestSteigung, double tiefe);
