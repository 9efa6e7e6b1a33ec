// Das Bild von stosswerk-kalibriere: links der Tisch mit jeder Kugel, die sich
// bewegt hat, beobachtet (schwarz) und vorhergesagt vorher (rot) und nachher
// (blau); rechts, wie sich der Restfehler verteilt, vorher, nachher und mit
// den geschätzten Störungen; darunter je Erscheinung das Gesetz der Startwelt
// (rot) und der angepassten (blau): Abgang und Geschwindigkeit an der Bande
// über dem Einfall, Wurf über dem Schnitt. Braucht eine QGuiApplication (die Schrift).
#pragma once

#include <QImage>
#include <span>
#include <vector>

#include "lernen/kalibrierung.h"
#include "model/tischkontext.h"

// Eine bewegte Kugel einer benutzten Beobachtung.
struct Kugelvergleich {
    V2 beobachtet;
    V2 vorher;           // Startwelt, Stoß wie beantwortet
    V2 nachher;          // angepasste Welt, Stoß wie beantwortet
    double fehlerVorher, fehlerNachher, fehlerAngepasst;
};

// Spielt jede benutzte Beobachtung in der Startwelt und der angepassten Welt nach.
std::vector<Kugelvergleich> VergleicheKugeln(std::span<const Beobachtung> beobachtungen, const Welt& startwelt,
                                             const Kalibrierergebnis& e, const Tischgeometrie& g);

QImage Kalibrierbild(const Tischkontext& tk, const std::vector<Kugelvergleich>& kugeln, const Kalibrierergebnis& e,
                     const Welt& startwelt);
