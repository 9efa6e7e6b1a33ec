// Was ein Fit ergab, für Menschen (deutsch) und für Programme (JSON), dazu
// eine Zeile fürs Protokoll des Spielers.
#pragma once

#include <string>

#include "lernen/kalibrierung.h"

// Mehrere Zeilen: Beobachtungen, je Kenngröße vorher, angepasst, Unsicherheit
// und der Wert für config.ini, die festgehaltene Rollreibung und warum, das
// Rauschen, die Restfehler vorher und nachher.
std::string KalibrierberichtText(const Kalibrierergebnis& e);

// Ein JSON-Objekt ohne Zeilenende: beobachtungen, kenngroessen, rollreibung,
// rauschen, restfehler, iterationen, zeitgrenze, sekunden. Eine Unsicherheit,
// über die die Beobachtungen nichts sagen, ist null.
std::string KalibrierberichtJson(const Kalibrierergebnis& e);

// Eine Zeile, z. B. "Gelernt aus 300 Beobachtungen: gleitreibung 146, …, Rauschen 1.06; Restfehler 7.68 → 0.42".
std::string KalibrierZeile(const Kalibrierergebnis& e);
