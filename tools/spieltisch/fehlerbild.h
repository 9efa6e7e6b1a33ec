// spieltisch --bilder: je misslungenem Stoß ein PNG, damit man sieht, warum:
// der Tisch vor dem Stoß, die geplanten Linien, die Laufwege und darunter
// eine Zeile mit Tisch, Stoß und Ursache. Braucht eine QGuiApplication.
#pragma once

#include <string>

#include "spielen.h"

// Der Maler schreibt nach verzeichnis/tisch-TTTT-stoss-SS.png; er darf aus
// mehreren Threads gerufen werden (er malt einer nach dem anderen).
Bildmaler FehlerbildMaler(const std::string& verzeichnis);
