// Was eine Entscheidung des Planers ergibt, als Daten: der Stoß, der Bericht,
// die Zeilen fürs Protokoll und die Linien für die Tischansicht, beides in der
// Reihenfolge, in der der Bediener sie sieht. Der Planer zeigt nichts selbst.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "anzeige/linie.h"
#include "planner/stoss.h"

// Was eine Suche gefunden hat, für Programme, die mehr als den Vektor zeigen.
struct Suchbericht {
    int anzahl[7];  // je Art, dann die Summe
    Stoss bester;   // der gespielte Kandidat
    // Nur bei der robusten Wahl: wie oft er in den Proben gelang (proben 0: nicht robust).
    int proben = 0;
    int erfolge = 0;
    // Was die robuste Wahl gespielt hat, wenn es kein Lochstoß war: den
    // Anstoß auf ein volles Dreieck oder einen Sicherheitsstoß.
    bool anstoss = false;
    bool sicherheit = false;
    // Die Grenze (Zeit oder Stöße) hat die Entscheidung gekappt.
    bool gekappt = false;
    // So viele Stöße hat die robuste Wahl simuliert.
    std::int64_t stoesse = 0;
};

struct Planergebnis {
    Vektor stoss{};
    Suchbericht bericht{};
    std::vector<std::string> protokoll;  // je Eintrag ein Stück Log, mit seinem "\r\n"
    std::vector<Linie> linien;
};
