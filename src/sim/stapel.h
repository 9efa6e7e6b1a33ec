// Viele Stöße in einem Prozess: je Eingabezeile ein JSON-Objekt
// {"kugeln": [[x, y, inloch] × 16], "stoss": [x, y]} (Tischeinheiten, Weiße
// zuerst; dazu auf Wunsch "modell", "rauschen" und "saat"), je Ausgabezeile
// das Ergebnis mit den Schlüsseln von stosswerk-sim --json, in derselben
// Reihenfolge. Eine fehlerhafte Zeile gibt {"fehler": "…"} und der Lauf geht
// weiter. So brauchen andere Programme keinen Prozess je Stoß.
#pragma once

#include <cstdint>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>

#include "model/tisch.h"
#include "sim/simulation.h"

struct Stapelaufgabe {
    Spielstand stand;
    Vektor stoss;  // wie geplant; verrauscht erst beim Spielen
    Modell modell;
    bool verrauscht;
    double rauschen;
    std::uint64_t saat;
};

// false mit deutschem Grund in fehler. Lagen als float wie im Spielstand.
bool LeseStapelzeile(std::string_view zeile, Modell vorgabe, float radius, Stapelaufgabe& a, std::string& fehler);

// Hängt das Ergebnis als ein JSON-Objekt (ohne Zeilenende) an aus an: modell,
// stoss (wie gespielt), ereignisse, kugeln, erste_beruehrung, versenkt,
// ereignisgrenze. Zahlen in kürzester Darstellung, die genau zurückgelesen wird.
void ErgebnisAlsJson(std::string& aus, Modell modell, Vektor gespielt, const Simergebnis& e);

// Spielt die Zeilen von ein bis zum Ende und schreibt je Zeile eine Zeile nach
// aus; welten[0] ist P, welten[1] R. Gibt die Zahl der fehlerhaften Zeilen zurück.
long SpieleStapel(std::istream& ein, std::ostream& aus, const Tischgeometrie& g, const Welt welten[2],
                  Modell vorgabe);
