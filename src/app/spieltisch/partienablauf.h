// spieltisch --partien: zwei Spieler, ganze Partien auf Gestellen aus der
// Saat; Protokoll, Beobachtungen, Bilder und Bericht.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "fehlerbild.h"
#include "optionen.h"
#include "spiel/partiebericht.h"

// Bericht nach aus, Meldungen und Fortschritt nach meldungen. maler zeichnet
// den entscheidenden Stoß jeder entschiedenen Partie (leer: keine Bilder).
// Rückgabe wie FuehreAus: 1, wenn eine Partie ohne Antwort abbrach.
int SpielePartienAus(const Optionen& o, std::ostream& aus, std::ostream& meldungen, const Partiebildmaler& maler);

// --partien K --rauschreihe: dieselben K Partien bei den Rauschfaktoren 0, 0.5,
// 1, 1.5 und 2 (oder denen aus --faktoren); eine Tabelle (oder JSON), mit --bild
// die Siegquote von A als Kurve. Mit --mitteilen planen die Spieler im Prozess
// je Zeile mit ihrem Rauschfaktor.
struct Rauschpunkt {
    double rauschen;
    Partiebericht bericht;
};
using Siegkurvenmaler =
    std::function<bool(const std::vector<Rauschpunkt>& punkte, const Optionen& o, std::string& fehler)>;
int SpieleRauschreihe(const Optionen& o, std::ostream& aus, std::ostream& meldungen, const Siegkurvenmaler& maler);
