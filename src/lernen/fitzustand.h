// Der Zustand eines Fits, den die Schritte (Gitter, Ceres, Auswertung)
// gemeinsam bearbeiten. Nur innerhalb von Kalibriere; jeder Aufruf hat seinen.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <functional>
#include <vector>

#include "lernen/kenngroessen.h"
#include "lernen/restfehler.h"

// Ein Fünfundzwanzigstel der Kosten.
constexpr double kGewichtUnerklaert = 0.2;

using Latente = std::array<double, 2>;  // Störung in Einheiten ihres Maßes: Richtung, Stärke

struct Fitzustand {
    const Tischgeometrie* geometrie;
    Welt basis;                                     // was nicht angepasst wird
    std::vector<const Beobachtung*> beobachtungen;  // nur brauchbare
    std::vector<double> staerke;                    // beantwortete Stärke je Beobachtung
    Kenngroessen k;                                 // Ceres schreibt hinein
    std::array<bool, kAnzahlKenngroessen> frei;
    std::vector<Latente> z;
    double sigmaRichtungGrad;  // Maß der Störungen, zugleich ihr Vorwissen
    double sigmaStaerke;
    std::vector<char> aktiv;   // 0: nicht im Fit (seit Unerklärte bleiben, setzt das kein Schritt)
    // 1: keine Welt und keine Störung erklärt sie. Sie bleibt im Fit, mit
    // kGewichtUnerklaert auf jedem Residuum: wer sie verwirft, nimmt einem
    // Nebenminimum die Beobachtungen, die gegen es sprechen; voll gezählt
    // zöge sie trotz Cauchy (jede Kugel jenseits von 2 Einheiten zieht noch).
    // Ins Rauschen geht sie nicht ein.
    std::vector<char> unerklaert;
    // Je Beobachtung und Kugel: wie sehr ihre Lage zählt (siehe Gewichte).
    std::vector<std::array<double, kAnzahlKugeln>> gewicht;
    Restmass mass;
    int threads;
    const std::atomic<bool>* abbrechen;
    // Danach hören die Schritte des Fits auf (nicht die Auswertung am Ende).
    std::chrono::steady_clock::time_point frist = std::chrono::steady_clock::time_point::max();
    std::function<void(double anteil)> fortschritt;  // Anteil des laufenden Schritts, im rufenden Thread
};

inline Stoerung StoerungAus(const Fitzustand& f, const Latente& z) {
    return {z[0] * f.sigmaRichtungGrad, z[1] * f.sigmaStaerke};
}

// Die Welt, in der Beobachtung i mit den Kenngrößen k und der Störung z läuft.
Welt WeltFuer(const Fitzustand& f, int i, const Kenngroessen& k, const Latente& z);

// Residuen (kResiduen) von Beobachtung i; false, wenn nicht simulierbar.
bool BeobachtungsResiduen(const Fitzustand& f, int i, const Kenngroessen& k, const Latente& z, Simergebnis& e,
                          double* r);

// Σ r² + |z|²: was der Fit für Beobachtung i minimiert (Ceres zählt die Hälfte).
double Kosten(const Fitzustand& f, int i, const Kenngroessen& k, const Latente& z, Simergebnis& e);

// Eine Kugel, deren Lage schon eine kleine Änderung der Störung (ein
// Zwanzigstel ihres Maßes) um mehr als eine Zehntel Tischeinheit verschiebt,
// liegt am Ende einer Kette von Stößen, in der jede Rundung wächst: sie zählt
// weniger, sonst bestimmen solche Kugeln jeden Schritt des Fits und halten ihn
// fest, wo ihre Lücke zufällig passt. Gilt für einen ganzen Ceres-Lauf.
// false nach einem Abbruch.
bool SetzeGewichte(Fitzustand& f);

// Über alle aktiven Beobachtungen parallel; Plätze der inaktiven bleiben unberührt.
// false nach einem Abbruch.
bool FuerAlleAktiven(const Fitzustand& f, const std::function<void(int i, Simergebnis& e)>& arbeit);
