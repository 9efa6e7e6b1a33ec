// Der Sicherheitsstoß der robusten Wahl: gelingt der beste Lochstoß zu selten,
// wägt der Planer ihn gegen gültige Stöße ab, die nichts versenken sollen,
// sondern dem Gegner einen schlechten Tisch lassen (zuerst eine eigene Kugel,
// danach erreicht eine Kugel eine Bande). Gewogen wird, wie wahrscheinlich
// der Planer als Nächster wieder am Tisch steht.
#pragma once

#include <vector>

#include "model/konfiguration.h"
#include "planner/robuste_proben.h"

// Die Gruppe des Gegners: volle und halbe tauschen, alle bleibt alle.
std::int32_t Gegnergruppe(std::int32_t gruppe);

// Was ein Stoß für die Partie wert ist, über die Proben gemittelt: 1, wenn
// eine eigene Kugel fällt (der Planer bleibt am Tisch); −1, wenn die Schwarze
// zu früh fällt (verloren); −0.05 bei einem Foul (der Gegner hat die Weiße in
// der Hand: schlechter als jeder gültige Stoß); sonst 1 − die Quote des Gegners
// auf dem Tisch, den der Stoß lässt.
struct Partiewert {
    double wert = 0.0;
    int gueltig = 0;      // Proben ohne Foul und ohne zu frühe Schwarze
    int proben = 0;
    double gegner = -1.0; // mittlere Quote des Gegners danach; −1, wenn er nie am Tisch war
    bool ganz = false;    // vor der Zeitgrenze fertig geworden
};

// Die Quote des Gegners (seine Gruppe: Gegnergruppe) wird auf den Tischen nach
// den ersten gegnerTische Proben gemessen, die ihm den Tisch ohne Foul
// überlassen, und gemittelt: seine besten Lochstöße aus der Liste und
// großzügige direkte, sonst rundum, mit wenigen Proben unter denselben Störungen.
Partiewert BewerteFuerPartie(Durchspiel& d, Vektor stoss, int proben, int gegnerTische, const Physik& physik,
                             float r);

// Ein Sicherheitsstoß ohne Rauschen: kein Foul, die Schwarze bleibt, keine
// eigene Kugel fällt (das wäre ein Lochstoß), und die Simulation kam zu Ende.
bool Sicher(const Spielstand& stand, const Simergebnis& e);

// Die Sicherheitsstöße, die erwogen werden: die Mitten der breitesten Läufe
// sicherer Richtungen rundum in ganzen Grad, von sanft bis fest (die festeren
// nur, solange die sanfteren zu wenige fanden). Noch ohne Rauschen geprüft,
// ob die Mitte selbst sicher ist. false, wenn die Zeit vorher um war.
bool Sicherheitsrichtungen(Durchspiel& d, float grenze, std::vector<Vektor>& stoesse);

struct Sicherheitswahl {
    bool gefunden = false;  // ein gültiger Sicherheitsstoß wurde ganz bewertet
    Vektor stoss{};
    Partiewert sicherheit, lochstoss;
};

// Bewertet den Lochstoß und die besten gültigen Stöße rundum (höchstens grenze
// stark) für die Partie; der bessere ist, wessen wert größer ist.
Sicherheitswahl WaegeSicherheit(Durchspiel& d, Vektor lochstoss, int proben, const Physik& physik, float r,
                                float grenze);
