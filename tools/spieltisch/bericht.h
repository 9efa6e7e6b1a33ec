// Der Bericht über ganze Aufnahmen (deutsch oder ein JSON-Objekt) und die
// Zeilen des Stoßprotokolls.
#pragma once

#include <ostream>
#include <string>

#include "spielen.h"

// "WeisseKugelLoch", … wie die Zähler der Suche, ohne "cnt".
const char* Artname(int art);

void SchreibeBericht(const Spielbericht& b, std::ostream& aus);
void SchreibeBerichtJson(const Spielbericht& b, std::ostream& aus);

// Eine Zeile JSON (ohne Zeilenende) für das Protokoll.
std::string Protokollzeile(const Stosszeile& z);
