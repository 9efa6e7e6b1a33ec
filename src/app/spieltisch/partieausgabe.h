// Der Bericht über Partien auf Deutsch (das JSON-Objekt schreibt src/spiel)
// und die Zeilen des Partieprotokolls.
#pragma once

#include <ostream>
#include <string>

#include "bericht.h"
#include "spiel/partiebericht.h"

// "Weiße versenkt", "ungültiger Anstoß", … für Menschen.
const char* Partiefoultext(Partiefoul f);

void SchreibePartiebericht(const Partiebericht& b, std::ostream& aus);

// Eine Zeile JSON (ohne Zeilenende): partie, gestell, stoss, schuetze ("a"
// oder "b"), gruppe (die gesendete), kugeln vorher, antwort, gespielt,
// versenkt, erste_beruehrung, anstoss, ball_in_hand, foul, neue_gruppe,
// sicherheit und das urteil: weiter, wechsel, foul, sieg oder niederlage;
// ereignisgrenze: true, nur wenn die Simulation an ihrer Grenze abbrach.
// Mit stosswerk-sim --protokoll nachspielbar.
// Dazu modell, welt und rauschen wie im Stoßprotokoll.
std::string Partieprotokollzeile(const Partie& p, const Partiestoss& s, const Protokollwelt& w);
