// Wie weit eine Beobachtung von einer Welt abweicht: je Kugel der Abstand
// zwischen simulierter und beobachteter Lage am Ende. Jede Beobachtung wurde
// mit einer unbekannten Störung des Queues gespielt (Richtung, Stärke); sie
// geht hier als Drehung und Faktor in die Welt, so bleibt alles in double.
#pragma once

#include "model/tisch.h"
#include "sim/beobachtung.h"
#include "sim/simulation.h"

// Die Störung eines Stoßes: Richtung in Grad, Stärke in Stärkeeinheiten, wie
// VerrauscheStoss sie zur beantworteten Richtung und Stärke addiert.
struct Stoerung {
    double richtungGrad;
    double staerke;
};

// Die Welt, in der der beantwortete Stoß (Stärke staerke) mit der Störung s
// genau so läuft wie der gestörte Stoß in w (eine negative Stärke wird 0).
Welt GestoerteWelt(const Welt& w, double staerke, Stoerung s);

// Je Kugel: spielt sie mit, und wie weit liegt die Simulation neben der
// Beobachtung? Eine Kugel, die die Simulation versenkt und die auf dem Tisch
// liegen blieb, zählt von ihrem Punkt im Maul aus; eine, die nur beobachtet
// versenkt ist, mit ihrem Abstand zum nächsten Maul. In beiden versenkt: 0.
struct Kugelabweichung {
    bool bewegt[kAnzahlKugeln];  // in Beobachtung oder Simulation bewegt oder versenkt
    bool beobachtet[kAnzahlKugeln];  // in der Beobachtung bewegt oder versenkt
    V2 d[kAnzahlKugeln];         // Simulation − Beobachtung, Tischeinheiten
    int taschenfehler;           // Kugeln, die nur in einem von beiden fallen
};

// Hat sich die Kugel in der Beobachtung bewegt? Lagen, die um weniger als
// kRuhetoleranz abweichen, gelten als unverändert (Messrauschen des Servers).
constexpr double kRuhetoleranz = 1e-3;

void Abweichung(const Tischgeometrie& g, const Beobachtung& b, const Simergebnis& e, Kugelabweichung& a);

// Die Residuen einer Beobachtung für den Fit: je Kugel (x, y) der Abweichung
// durch lagefehler geteilt und robust gestaucht, so dass das Quadrat je Kugel
// c² · ln(1 + |d|² / c²) ist (Cauchy, c = ausreisser / lagefehler): eine Kugel,
// die keine Welt erklärt, zieht kaum noch.
constexpr int kResiduen = 2 * kAnzahlKugeln;
struct Restmass {
    double lagefehler;  // Tischeinheiten: so genau kennt man eine Lage
    double ausreisser;  // Tischeinheiten: darüber zählt eine Kugel als nicht erklärt
};
// gewicht (wenn gesetzt): je Kugel ein Faktor auf ihr Residuum.
void Residuen(const Kugelabweichung& a, const Restmass& m, const double* gewicht, double* r);

// Spielt die Beobachtung in w (schon gestört) und füllt a; false bei einem
// nicht endlichen Stoß.
bool SpieleBeobachtung(const Tischgeometrie& g, const Welt& w, const Beobachtung& b, Simergebnis& e,
                       Kugelabweichung& a);
