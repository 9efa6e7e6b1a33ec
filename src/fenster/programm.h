// Der Start mit Fenster, aus main von stosswerk.
#pragma once

#include <string>

#include "model/konfiguration.h"

struct Fensteroptionen {
    std::string bildschirmfoto;  // nicht leer: einmal planen, Bild speichern, enden
    int gruppe = -1;             // für das Bild: 0 halbe, 1 volle, 2 alle; −1 lässt halbe
};

// Öffnet das Hauptfenster für den Spieler mit den Dateien aus pfade und läuft,
// bis Befehl 2 den Prozess beendet. Rückgabe 1, wenn kein Bildschirm da ist
// oder das Bild nicht gespeichert werden kann.
int FensterProgramm(const Pfade& pfade, const Fensteroptionen& optionen);
