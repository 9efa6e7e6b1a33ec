// spieltisch --bilder: je misslungenem Stoß (mit --partien: je entschiedener
// Partie der letzte Stoß des Verlierers) ein PNG, damit man sieht, warum: der
// Tisch vor dem Stoß, die geplanten Linien, die Laufwege und darunter eine
// Zeile mit Tisch, Stoß und Ursache. Braucht eine QGuiApplication.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "spiel/aufnahme.h"
#include "spiel/partie.h"

// Das erste Bild, das nicht geschrieben werden konnte (volle Platte, kein
// Verzeichnis); der Lauf geht weiter, am Ende ist es ein Fehler.
struct Bildfehler {
    std::mutex sperre;
    std::string pfad;  // leer: alle geschrieben
};

// Der Maler schreibt nach verzeichnis/tisch-TTTT-stoss-SS.png; er darf aus
// mehreren Threads gerufen werden (er malt einer nach dem anderen).
Bildmaler FehlerbildMaler(const std::string& verzeichnis, std::shared_ptr<Bildfehler> fehler);

// Malt den Stoß s der Partie p mit seinem Ergebnis nach verzeichnis/partie-PPPPPP-stoss-SSS.png.
using Partiebildmaler =
    std::function<void(const Partie& p, const Partiestoss& s, const Simergebnis& e, const Laufwege& wege)>;
Partiebildmaler PartiebildMaler(const std::string& verzeichnis, std::shared_ptr<Bildfehler> fehler);
