// spieltisch --bilder: je misslungenem Stoß (mit --partien: je entschiedener
// Partie der letzte Stoß des Verlierers) ein PNG, damit man sieht, warum: der
// Tisch vor dem Stoß, die geplanten Linien, die Laufwege und darunter eine
// Zeile mit Tisch, Stoß und Ursache. Braucht eine QGuiApplication.
#pragma once

#include <functional>
#include <string>

#include "spiel/aufnahme.h"
#include "spiel/partie.h"

// Der Maler schreibt nach verzeichnis/tisch-TTTT-stoss-SS.png; er darf aus
// mehreren Threads gerufen werden (er malt einer nach dem anderen).
Bildmaler FehlerbildMaler(const std::string& verzeichnis);

// Malt den Stoß s der Partie p mit seinem Ergebnis nach verzeichnis/partie-PPPPPP-stoss-SSS.png.
using Partiebildmaler =
    std::function<void(const Partie& p, const Partiestoss& s, const Simergebnis& e, const Laufwege& wege)>;
Partiebildmaler PartiebildMaler(const std::string& verzeichnis);
