// Die Regeln des Ersatztisches für eine Partie Achtball: was ein Stoß für die
// Partie bedeutet. Fouls, erlaubte erste Kugel und gültiger Anstoß entscheidet
// planner/regeln (der Planer braucht sie auch); hier kommen Anstoß, offener
// Tisch, Gruppenwahl, Aufnahmewechsel, Sieg und Niederlage dazu.
#pragma once

#include <cstdint>

#include "model/tisch.h"
#include "planner/regeln.h"
#include "sim/simulation.h"

// Fouls der Partie: die des einzelnen Stoßes und der ungültige Anstoß.
enum class Partiefoul : int {
    keins = 0,
    weisse_versenkt,
    keine_beruehrung,
    falsche_erste,
    keine_bande,
    anstoss_ungueltig,  // keine Kugel fiel und weniger als vier erreichten eine Bande
};
constexpr int kAnzahlPartiefouls = 6;

// "", "weisse_versenkt", "keine_beruehrung", "falsche_erste", "keine_bande", "anstoss_ungueltig"
const char* Partiefoulname(Partiefoul f);

enum class Ausgang : int { laeuft = 0, sieg, niederlage };  // für den, der stößt

enum class Niederlage : int {
    keine = 0,
    schwarze_zu_frueh,  // die Schwarze fiel, bevor sie an der Reihe war
    schwarze_mit_foul,  // die Schwarze fiel zur rechten Zeit, aber mit einem Foul
};

// Was der Schiedsrichter zu einem Stoß der Partie sagt.
struct Spruch {
    Partiefoul foul = Partiefoul::keins;
    bool anstossGueltig = false;    // nur beim Anstoß: eine Kugel fiel oder vier erreichten eine Bande
    bool schwarzeZurueck = false;   // Schwarze beim gültigen Anstoß gefallen: sie kommt auf den Fußpunkt
    bool neuAufbauen = false;       // ungültiger Anstoß: dasselbe Gestell, der Gegner stößt an
    int versenkt = 0;               // Objektkugeln, die fielen (mit der Schwarzen)
    int eigene = 0;                 // davon eigene (beim Anstoß und am offenen Tisch: siehe Beurteile)
    std::int32_t neueGruppe = -1;   // halbe/volle: diese Gruppe hat der Stoßende nun, −1: keine Wahl
    bool weiter = false;            // der Stoßende bleibt am Tisch
    Ausgang ausgang = Ausgang::laeuft;
    Niederlage niederlage = Niederlage::keine;
};

// vorher.gruppe ist die Gruppe des Stoßenden, alle bei offenem Tisch.
//  - Anstoß: gültig, wenn die Weiße eine Kugel berührt und danach eine Kugel
//    fällt oder mindestens vier Objektkugeln eine Bande erreichen. Ein
//    ungültiger ist ein Foul, und das Gestell wird neu aufgebaut (der Gegner
//    stößt an); sonst ist nur die versenkte Weiße ein Foul, welche Kugel sie
//    zuerst trifft, zählt nicht. Eine gefallene Schwarze kommt zurück; ohne
//    Foul bleibt am Tisch, wer eine Kugel versenkt (auch die Schwarze).
//    eigene zählt die gefallenen Objektkugeln außer der Schwarzen. Foul ist
//    der schwerste: Weiße versenkt, keine Berührung, ungültiger Anstoß.
//  - Fällt die Schwarze, endet die Partie: Sieg, wenn sie die erlaubte erste
//    Kugel war (Gruppe vor dem Stoß geräumt) und kein Foul geschah (eigene = 1),
//    sonst Niederlage.
//  - Offener Tisch, Stoß ohne Foul: die zuerst gefallene Objektkugel wählt die
//    Gruppe (zur selben Zeit: die kleinere Nummer); eigene zählt deren Gruppe.
//  - Am Tisch bleibt, wer ohne Foul eine eigene Kugel versenkt.
Spruch Beurteile(bool anstoss, const Spielstand& vorher, const Simergebnis& e);
