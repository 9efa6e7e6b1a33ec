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

struct Welt {
    Modell modell;
    Bandengesetz bandengesetz;  // nur P
    double aRollen;             // Verzögerung einer rollenden Kugel: 0.35 · u · g · 0.01
    double k;                   // P: Bandenfaktor quer zur Bande
    double aGleiten;            // R: Verzögerung beim Gleiten: μ · g · 0.01
    double eKugel;              // R: Stoßzahl Kugel–Kugel (P: 1)
    double eNormal;             // R: Bande, quer zur Bande
    double eTangential;         // R: Bande, längs der Bande
};

// Aus [physik] (g, u, k) und [simulation]; fehlende Schlüssel geben die Vorgaben.
Welt WeltAus(const IniDatei& ini, Modell modell);
// Liest die Datei; fehlt sie, gelten die Vorgaben.
Welt LadeWelt(const std::string& pfad, Modell modell);

// "P" oder "R"
const char* Modellname(Modell m);
