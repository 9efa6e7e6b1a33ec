// Der Anstoß der robusten Wahl: liegt ein volles Dreieck auf dem Tisch, spielt
// der Planer Anstöße quer über die Spitze des Dreiecks in einigen Stärken bis
// vmax unter Rauschen durch und nimmt den, nach dem am ehesten eine Kugel
// fällt, ohne dass die Weiße fällt; gespielt wird immer ein gültiger Anstoß,
// wenn einer zu finden ist.
#pragma once

#include "planner/robuste_proben.h"

// Alle fünfzehn Objektkugeln liegen auf dem Tisch, dicht gepackt (jede höchstens
// 5.5 r von ihrer Mitte, jede mit mindestens zwei Nachbarn in höchstens 2.2 r,
// so auch ein lose gestelltes Dreieck), und die Weiße liegt außerhalb.
bool VollesDreieck(const Spielstand& stand, float r);

struct Anstosswahl {
    Vektor stoss;
    int erfolge = 0;        // Proben, in denen eine Kugel fiel und die Weiße nicht
    int proben = 0;
    bool gueltig = false;   // ohne Rauschen ein gültiger Anstoß ohne Foul
};

// Wählt den Anstoß in d (Stand, Welt, Störungen, Zeitgrenze); grenze ist die
// Höchststärke, proben die Proben der engeren Wahl.
Anstosswahl WaehleAnstoss(Durchspiel& d, float r, float grenze, int proben);
