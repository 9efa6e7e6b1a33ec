// Das Durchspielen der robusten Wahl: jede Stoßvariante unter denselben
// Störungen (gemeinsame Zufallszahlen), erst in wenigen Vorproben, die
// aussichtsreichsten dann mit allen Proben.
#pragma once

#include <vector>

#include "model/tischkontext.h"
#include "planner/frist.h"
#include "sim/simulation.h"

constexpr int kVorproben = 8;   // jede Variante
constexpr int kEngereWahl = 8;  // so viele bekommen alle Proben

struct Variante {
    int kandidat;  // Index in der Liste
    Vektor stoss;
    int erfolge = 0, proben = 0;
    int ersteErfolgreiche = -1;  // Probe, deren Endstand die Stellung zeigt
    double wert = 0.0;
    double rauschen = -1.0;  // mit Klassenrauschen: das F ihrer Stoßklasse, sobald bekannt
};

// Was jedes Durchspielen braucht: der Stand, der Tisch, die Welt, die
// Störungen (zr für die Richtung, zs für die Stärke), die Zeitgrenze und ein
// Ergebnis zum Überschreiben.
struct Durchspiel {
    const Tischkontext& tk;
    const Spielstand& stand;
    const Tischgeometrie& g;
    const Welt& w;
    double rauschen;
    const double* zr;
    const double* zs;
    Frist& frist;
    Simergebnis e;
    // F je Stoßklasse (Planereinstellung::klassenrauschen) oder nullptr: dann
    // rauschen für jede Variante, und keine Variante kostet einen Stoß mehr.
    const double* klassenrauschen = nullptr;
};

// Das F, unter dem v gespielt wird. Mit Klassenrauschen spielt es v beim
// ersten Mal ohne Rauschen, um seine Klasse zu sehen (ein Stoß der Frist).
double RauschenFuer(Durchspiel& d, Variante& v);
// Das F, unter dem die Proben von v schon gespielt sind (zum Nachspielen einer).
inline double Probenrauschen(const Durchspiel& d, const Variante& v) {
    return d.klassenrauschen && v.rauschen >= 0.0 ? v.rauschen : d.rauschen;
}

// Spielt stoss ohne weiteres Rauschen auf d.stand (Ergebnis in d.e) und
// zählt ihn für die Frist. Jeder Schritt der robusten Wahl simuliert so.
void SpieleStoss(Durchspiel& d, Vektor stoss);

// Spielt die Proben von bis bis (ausschließlich) und zählt die Erfolge; ist
// die Zeit um, hört es auf (proben sagt, wie weit es kam).
void SpieleProben(Durchspiel& d, Variante& v, int von, int bis);

// Spielt die Vorproben der Varianten ab ab, in ihrer Reihenfolge.
void Vorproben(Durchspiel& d, std::vector<Variante>& varianten, std::size_t ab, int vor);

// Erfolge je Probe; 0 ohne Proben.
double Quote(const Variante& v);

// Die aussichtsreichsten (nach den Vorproben; hat die Zeitgrenze sie
// ungleich weit kommen lassen, nach der Quote mit je einem Erfolg und einem
// Fehlschlag dazu) bekommen alle Proben, bei Gleichstand die frühere. Gibt die Reihenfolge zurück: vorn die engere
// Wahl, nach ihrer Quote sortiert, in wert die Quote; eng ist ihre Größe.
std::vector<int> EngereWahl(Durchspiel& d, std::vector<Variante>& varianten, int proben, int& eng);
