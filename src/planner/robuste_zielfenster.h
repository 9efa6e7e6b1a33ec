// Die Zielkorrektur der robusten Wahl: in Welt R trifft die Richtung der Liste
// selten die Mitte dessen, was gelingt (die Objektkugel wird beim Schnitt
// abgeworfen, nach einer Bande gilt kein Spiegelgesetz). Ohne Rauschen sucht
// der Planer um eine Richtung herum das Fenster, in dem der Stoß gelingt;
// seine Mitte übersteht das Rauschen des Queues am ehesten.
#pragma once

#include "planner/robuste_proben.h"

constexpr float kFensterSchritt = 0.2f;  // Grad; schmaler ist kaum ein Fenster
constexpr float kFensterWeite = 3.0f;    // so weit von der Ausgangsrichtung sucht es den ersten Treffer
constexpr float kFensterRand = 3.2f;     // so weit über den ersten Treffer hinaus reicht ein Fenster höchstens

struct Zielfenster {
    bool gefunden = false;
    float von = 0.0f, bis = 0.0f;  // Grad gegen die Richtung des Stoßes, von ≤ bis
};

// Sucht ohne Rauschen das Fenster, das der Drehung start am nächsten liegt:
// erst der nächste Treffer in Schritten von kFensterSchritt abwechselnd zu
// beiden Seiten, dann jeder Rand mit wachsenden Schritten und halbiert. Jede
// Richtung wird auf grenze begrenzt. Ist die Zeit um, gilt, was gefunden ist.
Zielfenster SucheZielfenster(Durchspiel& d, Vektor stoss, float start, float grenze);

// Die Mitte des Fensters in Grad.
float Mitte(const Zielfenster& f);
