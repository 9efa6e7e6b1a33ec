// Die zwei Welten, in denen ein Stoß gespielt wird. P ist die Welt, die der
// Planer annimmt (jeder Fehlschlag dort ist ein Planungsfehler); R ist ein
// echtes Tuch mit Gleiten, Rollen und unvollkommenen Stößen.
#pragma once

#include <cstdint>
#include <string>

#include "model/ini_datei.h"

enum class Modell : std::uint8_t { P, R };

// Richtung nach der Bande in P: gespiegelt (so zielen die Bandenstöße) oder
// tangential erhalten und quer × k (daraus ist die Geschwindigkeitsformel
// abgeleitet; die Richtung weicht ab: tan h' = tan h / k).
enum class Bandengesetz : std::uint8_t { spiegel, komponenten };

// R: wie eine Bande die Kugel zurückgibt. einfach: Anteile quer und längs
// zur Bande (eNormal, eTangential, bandeDrall). nase: ein starrer Stoß an der
// Nase der Bande, die über der Mitte der Kugel anliegt, mit Coulomb-Reibung
// dort (wie bei Han 2005): ein zweites Gesetz, das einfach nicht ausdrücken
// kann; so spielt spieltisch einen fremden Tisch. tuch: dieselbe Nase, aber
// über den Stoß integriert und mit Reibung auch am Tuch, das die Kugel
// unten hält (wie bei Mathavan 2010): ein fremder Tisch auch für nase.
enum class Bandenart : std::uint8_t { einfach, nase, tuch };

// R: wie stark Kugeln aneinander reiben (Wurf). fest: kugelReibung. schnell:
// die Reibung fällt mit dem Gleiten an der Berührung, μ = 0.00995 + 0.108 ·
// exp(−wurfAbfall · Gleiten), wie an echten Kugeln gemessen (Alciatore): ein
// zweites Gesetz, das R nicht teilt, für fremde Tische in spieltisch.
enum class Wurfart : std::uint8_t { fest, schnell };

struct Welt {
    Modell modell;
    Bandengesetz bandengesetz;  // nur P
    // Verzögerung einer rollenden Kugel: 0.35 · u · g · 0.01, in R mit
    // rollreibung statt u (Vorgabe: u, also dieselbe wie in P).
    double aRollen;
    double k;                   // P: Bandenfaktor quer zur Bande
    double aGleiten;            // R: Verzögerung beim Gleiten: gleitreibung · g · 0.0001
    double eKugel;              // R: Stoßzahl Kugel–Kugel (P: 1)
    double eNormal;             // R: Bande, quer zur Bande
    double eTangential;         // R: Bande, längs der Bande
    double bandeDrall;          // R: Anteil des Dralls quer zur Bande, der die Bande übersteht;
                                //    negativ: er kehrt sich um (die Kugel verlässt sie mit Rücklauf)
    double bandeAbfall;         // R: eNormal / (1 + bandeAbfall · |v quer|); 0: fest
    double kugelReibung;        // R: Reibung zwischen den Kugeln (Wurf); 0: keine
    // R: der Queue des Tisches. Aus der Antwort (x, y) wird die
    // Anfangsgeschwindigkeit: um richtungVersatz gedreht, mal staerkeFaktor.
    double staerkeFaktor;
    double richtungVersatz;     // Bogenmaß, gegen den Uhrzeigersinn
    // R, einfach: Reibung an der Bande. Längs der Bande geht höchstens
    // bandeReibung · (1 + e) · |v quer| verloren (Coulomb), nie mehr als
    // (1 − eTangential) · |v längs|; 0: keine Grenze (nur eTangential).
    double bandeReibung = 0.0;
    // R, einfach: wie sich die Anteile mit dem Einfallswinkel h (zur Normalen)
    // ändern: eNormal + bandeNormalFlach · (1 − cos h), ebenso eTangential und
    // bandeDrall. Eine Bande mit Nase bremst streifend weniger und kehrt mehr
    // Drall um als gerade hinein; 0: fest wie bisher.
    double bandeNormalFlach = 0.0;
    double bandeTangentialFlach = 0.0;
    double bandeDrallFlach = 0.0;
    // R, einfach: was eine Kugel anders macht, die noch auf die Bande zu
    // gleitet (g = Drall quer minus Geschwindigkeit quer, 0 wenn sie rollt):
    // Geschwindigkeit und Drall quer heraus je + Faktor · g, der Drall längs
    // + Faktor · g · sin h. An einer Nase greift die Reibung je nach Gleiten
    // ganz anders; 0: wie eine rollende.
    double bandeGleitenNormal = 0.0;
    double bandeGleitenDrall = 0.0;
    double bandeGleitenLaengs = 0.0;
    Bandenart bandenart = Bandenart::einfach;  // R
    Wurfart wurfart = Wurfart::fest;           // R
    double wurfAbfall = 1.09;                  // R, schnell: je Tischeinheit/s Gleiten
    double naseSinus = 0.4;     // R, nase und tuch: Höhe der Nase über der Mitte, in Radien (sin des Winkels)
    double naseReibung = 0.2;   // R, nase und tuch: Reibung zwischen Kugel und Nase
    double tuchReibung = 0.21;  // R, tuch: Reibung zwischen Kugel und Tuch während des Stoßes
};

// Ändert sich das einfache Bandengesetz mit Winkel oder Gleiten? Sonst rechnet
// es genau wie ohne diese Schlüssel.
inline bool HatWinkelgesetz(const Welt& w) {
    return w.bandeNormalFlach != 0.0 || w.bandeTangentialFlach != 0.0 || w.bandeDrallFlach != 0.0 ||
           w.bandeGleitenNormal != 0.0 || w.bandeGleitenDrall != 0.0 || w.bandeGleitenLaengs != 0.0;
}

// Aus [physik] (g, u, k) und [simulation]; fehlende Schlüssel geben die Vorgaben.
Welt WeltAus(const IniDatei& ini, Modell modell);
// Liest die Datei; fehlt sie, gelten die Vorgaben.
Welt LadeWelt(const std::string& pfad, Modell modell);

// "P" oder "R"
const char* Modellname(Modell m);
