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

// Eine Zeile JSON (ohne Zeilenende) für das Protokoll.
std::string Protokollzeile(const Stosszeile& z);
