// Der Bericht über ganze Aufnahmen auf Deutsch (das JSON-Objekt schreibt
// src/spiel) und die Zeilen des Stoßprotokolls.
#pragma once

#include <ostream>
#include <string>

#include "planner/suche.h"
#include "spiel/aufnahmebericht.h"

// "verfehlt", "Weiße versenkt", … für Menschen.
const char* Ursachentext(Ursache u);

void SchreibeBericht(const Spielbericht& b, std::ostream& aus);

// In welcher Welt der Schiedsrichter spielte, für jede Zeile des Protokolls:
// so spielt stosswerk-sim --protokoll --zeile sie in derselben Welt nach.
struct Protokollwelt {
    Modell modell = Modell::R;
    std::string datei;  // die INI-Datei der Welt; leer: die Vorgaben
    double rauschen = 0;
};

// Eine Zeile JSON (ohne Zeilenende) für das Protokoll.
std::string Protokollzeile(const Stosszeile& z, const Protokollwelt& w);
