// Der gemeinsame Fit mit Ceres: je Beobachtung ein Residuenblock über die
// Kenngrößen und ihre zwei Störungen, dazu das Vorwissen über die Störungen.
// Die Ableitungen sind Differenzenquotienten; alle Simulationen eines
// Auswertungspunkts laufen vorab parallel, Ceres selbst rechnet in einem
// Thread. So hängt das Ergebnis nicht von der Zahl der Threads ab.
#pragma once

#include <chrono>

#include "lernen/fitzustand.h"

struct Anpassungsauftrag {
    bool kenngroessen;  // sonst fest
    bool stoerungen;    // sonst fest
    int iterationen;
    std::chrono::steady_clock::time_point frist;  // danach hört Ceres auf
};

struct Anpassungsbericht {
    int iterationen = 0;
    double kostenVorher = 0.0;
    double kostenNachher = 0.0;
    bool abgebrochen = false;  // f.abbrechen
    bool frist = false;        // die Frist lief ab
};

// Passt f.k und/oder f.z der aktiven Beobachtungen an. fortschritt(i) nach jedem Schritt.
void PasseAn(Fitzustand& f, const Anpassungsauftrag& a, const std::function<void(int iteration)>& fortschritt,
             Anpassungsbericht& bericht);

// Standardabweichungen der freien Kenngrößen am jetzigen Punkt (Einheiten von
// Kenngroessen), aus dem Schur-Komplement über die Störungen und der Streuung
// der Residuen. 0 für festgehaltene, unendlich für unbestimmte. false nach Abbruch.
bool Unsicherheiten(const Fitzustand& f, Kenngroessen& sigma);
