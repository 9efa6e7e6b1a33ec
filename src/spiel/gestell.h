// Das Gestell einer Partie: fünfzehn Objektkugeln eng im Dreieck am Fußpunkt,
// die Weiße auf der Kopflinie; dazu die Punkte, auf die der Tisch Kugeln
// zurücksetzt. Der Kopf liegt links (kleines x), der Fuß rechts.
#pragma once

#include <cstdint>

#include "model/tisch.h"
#include "spiel/zufallstisch.h"

// Luft zwischen zwei Nachbarn im Dreieck: eng, aber so, dass sich nach dem
// Runden auf die sechs Stellen des Dokuments (Fehler < 1e-4) keine zwei überlappen.
constexpr float kGestellLuft = 0.002f;

struct Punkt {
    float x, y;
};

// Kopflinie: ein Viertel der Spielfläche vom linken Bandenrand; Kopfpunkt in
// ihrer Mitte. Fußpunkt: ein Viertel vom rechten Bandenrand, in der Mitte.
float Kopflinie(const Tisch& t);
Punkt Kopfpunkt(const Tisch& t);
Punkt Fusspunkt(const Tisch& t);

// Gestell gestellNr aus der Saat: die Spitze auf dem Fußpunkt, das Dreieck
// zur rechten Bande hin; die Schwarze in der Mitte der dritten Reihe, in den
// hinteren Ecken eine volle und eine halbe Kugel (welche und wo, aus der
// Saat), die übrigen zwölf aus der Saat. Die Weiße auf der Kopflinie, an einer
// Stelle aus der Saat in der mittleren Hälfte der Breite. player = alle.
Zufallstisch LegeGestell(const Tisch& t, std::uint32_t saat, std::uint32_t gestellNr);

// Setzt Kugel kugel auf den freien Punkt, der ziel am nächsten liegt (auf ziel
// selbst, wenn es frei ist), wie ihn das Dokument trägt; bagcount wird −1.
// Gesucht wird auf Ringen im Abstand von 0.05 um ziel, auf jedem Ring ab der
// Richtung zur rechten Bande gegen den Uhrzeigersinn. false nur, wenn der
// ganze Tisch voll wäre.
bool SetzeAufFreienPunkt(const Tisch& t, Zufallstisch& lage, int kugel, Punkt ziel);
