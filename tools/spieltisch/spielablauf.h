// spieltisch --spielen: Tische erzeugen, Aufnahmen spielen (über das Netz oder
// im Prozess, auf Wunsch auf mehreren Threads), Protokoll und Bericht.
#pragma once

#include <ostream>

#include "optionen.h"
#include "spielen.h"

#include "fortschritt.h"

// Konfiguration, Tisch, Welt und Rauschen aus den Optionen; false (mit
// Meldung), wenn eine genannte config.ini nicht lesbar ist.
bool BereiteSpielVor(const Optionen& o, Spielumgebung& u, std::ostream& meldungen);
// Die Tische aus der Saat, in Reihenfolge.
std::vector<Zufallstisch> Spieltische(const Optionen& o, const Tisch& t);
// Alle Aufnahmen im Prozess, auf o.threads Threads; das Ergebnis hängt nicht davon ab.
std::vector<Aufnahme> SpieleLokal(const Optionen& o, const Spielumgebung& u, const std::vector<Zufallstisch>& tische,
                                  bool robust, Fortschritt& fortschritt);

// Bericht nach aus, Meldungen und Fortschritt nach meldungen. maler zeichnet
// misslungene Stöße (leer: keine Bilder). Rückgabe wie FuehreAus.
int SpieleAufnahmen(const Optionen& o, std::ostream& aus, std::ostream& meldungen, const Bildmaler& maler);
