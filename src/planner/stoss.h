// Der Stoßkandidat: neunzehn 32-Bit-Wörter, in dieser Reihenfolge.
#pragma once

#include <cstdint>

#include "geometry/vektor.h"
#include "model/tischkontext.h"

enum StossArt : std::int32_t {
    WeisseKugelLoch = 0,       // Weiße – Kugel – Loch (direkt)
    WeisseBandeKugelLoch = 1,  // Weiße – Bande – Kugel – Loch
    WeisseKugelBandeLoch = 2,  // Weiße – Kugel – Bande – Loch
    WeisseKugelKugelLoch = 3,  // Weiße – Kugel – Kugel – Loch (Kombination)
    NurAnspielen = 4,          // nur eine eigene Kugel treffen
    UngewisserStoss = 5,       // blind durch die Tischmitte, immer genau einer
};

struct Stoss {
    Vektor weiss;         // Lage der Weißen
    Vektor ziel;          // Hauptzielpunkt; bei den Lochstößen der Anspielpunkt der fallenden Kugel
    Vektor zwischenziel;  // nur Kombination: Anspielpunkt an der ersten Kugel
    Vektor tasche;        // der Taschenpunkt, in den gespielt wird
    Vektor bande;         // nur Bandenstöße: der Punkt auf der Bandenlinie
    float winkel;         // Arten 0..3: Winkel am Anspielpunkt in Grad
    float winkel2;        // nur Kombination: der zweite Winkel
    float bewertung;      // Kosten: kleiner ist besser
    std::int32_t art;     // eine StossArt
};
static_assert(sizeof(Stoss) == 19 * 4, "Stoss muss neunzehn 32-Bit-Wörter haben");

// Jede Stoßart schreibt ab frei ihre Kandidaten und gibt deren Anzahl zurück.
// Platz prüft sie nicht: die Suche hält genug für alle Arten bereit.
using FindeFunktion = int (*)(const Tischkontext& tk, const Spielstand& stand, Stoss* frei);
