// spieltisch --lernkurve: dieselben Tische und Störungen auf einem fremden
// Tisch (--welt) mit drei robusten Spielern: einem, der aus seinen Stößen
// lernt, einem, der es nicht tut, und einem, dem die wahre Welt gegeben ist.
// Erst lernt der Lernende bis --bis Beobachtungen (die Kurve: Erfolg je Stoß
// über der Zahl der Beobachtungen), dann spielen alle drei --anzahl weitere
// Tische, der Lernende mit dem, was er gelernt hat.
#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "lernen/kalibrierung.h"
#include "optionen.h"
#include "spiel/aufnahmebericht.h"

// Ein Abschnitt der Kurve: die Tische, an deren Anfang der Lernende so viele
// Beobachtungen hatte (von ≤ n < bis), und wie jeder Spieler auf ihnen spielte.
struct Lernabschnitt {
    long von = 0, bis = 0;
    Spielbericht lernend, ohne, wahr;
};

struct Lernlauf {
    std::vector<Lernabschnitt> kurve;
    Spielbericht danachLernend, danachOhne, danachWahr;  // die --anzahl Tische danach
    // Plant der Lernende mit vertrauen_je_art: dieselbe gelernte Welt ohne es,
    // auf denselben Tischen (so zeigt sich, was das Vertrauen allein bringt).
    std::optional<Spielbericht> danachOhneVertrauen;
    long tischeBeimLernen = 0, beobachtungen = 0, anpassungen = 0;
    bool gelernt = false;
    Kalibrierergebnis letztes;  // das letzte Anpassen
    Welt wahr;
};

using Lernkurvenmaler = std::function<bool(const Lernlauf& l, const Optionen& o, std::string& fehler)>;

// Bericht (oder JSON) nach aus, Meldungen und Fortschritt nach meldungen.
int ZeichneLernkurve(const Optionen& o, std::ostream& aus, std::ostream& meldungen, const Lernkurvenmaler& maler);
