// Die sechs Stoßarten: je eine Suche Finde… und eine Bewertung Bewerte….
// Jede Suche schreibt vollständige Datensätze (nicht gesetzte Felder 0) ab
// frei und gibt ihre Anzahl zurück; die Bewertung ist eine Kostenzahl.
#pragma once

#include "model/tischkontext.h"
#include "planner/stoss.h"

int FindeWeisseKugelLoch(const Tischkontext& tk, const Spielstand& stand, Stoss* frei);
float BewerteWeisseKugelLoch(const Tisch& t, const Stoss& s);

int FindeWeisseBandeKugelLoch(const Tischkontext& tk, const Spielstand& stand, Stoss* frei);
float BewerteWeisseBandeKugelLoch(const Tisch& t, const Stoss& s);

int FindeWeisseKugelBandeLoch(const Tischkontext& tk, const Spielstand& stand, Stoss* frei);
float BewerteWeisseKugelBandeLoch(const Tisch& t, const Stoss& s);

int FindeWeisseKugelKugelLoch(const Tischkontext& tk, const Spielstand& stand, Stoss* frei);
float BewerteWeisseKugelKugelLoch(const Tisch& t, const Stoss& s);

int FindeNurAnspielen(const Tischkontext& tk, const Spielstand& stand, Stoss* frei);
float BewerteNurAnspielen(const Tisch& t, const Stoss& s);

int FindeUngewisserStoss(const Tischkontext& tk, const Spielstand& stand, Stoss* frei);
float BewerteUngewisserStoss(const Tisch& t, const Stoss& s);

// Höchstzahlen je Art: 15 Kugeln × 18 Zielpunkte (× 4 Banden, × 14 Partner).
constexpr int kMaxWeisseKugelLoch = 270;
constexpr int kMaxBande = 1080;
constexpr int kMaxWeisseKugelKugelLoch = 3780;
constexpr int kMaxNurAnspielen = 15;
constexpr int kMaxStoesse = kMaxWeisseKugelLoch + 2 * kMaxBande + kMaxWeisseKugelKugelLoch + kMaxNurAnspielen + 1;
static_assert(kMaxStoesse == 6226);

// Maßstäbe der Bewertungen, aus dem Tisch.
inline float Diagonale(const Tisch& t) {  // Ursprung bis zur fernen Tasche
    const float w = t.breite - t.bande_x, h = t.hoehe - t.bande_y;
    return std::sqrt(w * w + h * h);
}
inline float DoppelteHalbdiagonale(const Tisch& t) {  // für die Bandenstöße
    const float w = t.breite - t.bande_x, h = (t.hoehe - t.bande_y) / 2.0f;
    return 2.0f * std::sqrt(w * w + h * h);
}
// 250 · (180 − winkel)² / 90², bzw. mit anderem Gewicht.
inline float Winkelkosten(float gewicht, float winkel) {
    const float schnitt = 180.0f - winkel;
    return gewicht * (schnitt * schnitt) / 8100.0f;
}
// Liegt die Kugel mindestens 3r innerhalb jeder Bandenlinie (Grenzen eingeschlossen)?
inline bool WeitGenugVonDenBanden(const Tisch& t, Vektor b, float r) {
    const float rand = 3.0f * r;
    return t.bande_x + rand <= b.x && b.x <= t.breite - t.bande_x - rand && t.bande_y + rand <= b.y &&
           b.y <= t.hoehe - t.bande_y - rand;
}
