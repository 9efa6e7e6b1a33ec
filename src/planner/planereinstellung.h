// Wie der Planer wählt: der vorgegebene Weg (geometrische Bewertung) oder,
// auf Wunsch, robust (jeden guten Kandidaten unter dem Rauschen eines echten
// Queues durchspielen). Abschnitt [planer] in config.ini, bei jedem Stoß neu gelesen.
#pragma once

#include <array>

#include "model/ini_datei.h"
#include "sim/stossklasse.h"
#include "sim/welt.h"

enum class Planermodus : int { vorgegeben = 0, robust = 1 };

struct Planereinstellung {
    Planermodus modus;
    int kandidaten;   // so viele Lochstöße aus der Liste (dazu der beste der Liste)
    int proben;       // Rauschproben je Stoßvariante
    double rauschen;  // angenommener Rauschfaktor F
    Modell welt;      // in dieser Welt wird durchgespielt
    double stellung;  // Gewicht des Stellungsspiels, 0: aus
    int zeitgrenze;   // Millisekunden je Entscheidung, 0: unbegrenzt
    // Simulierte Stöße je Entscheidung, −1: unbegrenzt. Nicht in config.ini:
    // spieltisch zählt damit statt mit der Uhr (StossbudgetStattZeit).
    std::int64_t stoesse;
    bool sicherheit;  // Sicherheitsstöße erwägen
    double sicherheitSchwelle;  // unter dieser Erfolgsquote des besten Lochstoßes (nur tiefe 1)
    // 1: Lochstoß nach Quote und Stellung, Sicherheit unter der Schwelle; 2:
    // jeder Stoß nach seiner Siegchance mit dem Zug danach (siegchance.h).
    int tiefe;
    bool beobachten;  // Beobachtungen der eigenen Stöße sammeln (mit lernen immer)
    bool lernen;      // aus ihnen den Tisch lernen und in Welt R mit ihm planen
    int lernenAlle;   // nach so vielen neuen Beobachtungen neu anpassen
    // Mit lernen: jede Stoßvariante unter dem F ihrer Stoßklasse durchspielen,
    // das der Fit gelernt hat (klassenrauschen); so zählen Stöße weniger, die
    // die gelernte Welt schlecht vorhersagt. 0 in klassenrauschen: noch keins.
    bool vertrauenJeArt;
    std::array<double, kAnzahlStossklassen> klassenrauschen;
};

// Fehlende Schlüssel geben die Vorgaben; unsinnige Werte werden begrenzt.
Planereinstellung PlanerAus(const IniDatei& ini);

// So viele Stöße simuliert die robuste Wahl in einer Millisekunde, über
// Hunderte Entscheidungen aus Partien auf einem unbelasteten Kern gemessen
// (alle Stöße durch alle Rechenzeit). Ein Stoß kostet je nach Tisch sehr
// verschieden; mit diesem Wert kappt das Budget etwa dieselben Entscheidungen
// wie die Uhr, und ein Lauf dauert etwa gleich lange.
constexpr std::int64_t kStoesseJeMillisekunde = 40;

// Eine Zeitgrenze wird ein Budget an Stößen, das auf einer unbelasteten
// Maschine etwa gleich weit reicht; ohne Zeitgrenze bleibt es unbegrenzt.
// Dann hängt keine Entscheidung mehr von der Last ab.
Planereinstellung StossbudgetStattZeit(Planereinstellung e);
