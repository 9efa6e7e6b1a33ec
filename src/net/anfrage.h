// Was der Server einer Anfrage antwortet: das Ergebnis an die Adresse, die
// sie nennt, oder die Meldung über ein fehlerhaftes Dokument.
#pragma once

#include <string>

#include "anzeige/anzeige.h"
#include "net/netz_status.h"
#include "net/senden.h"

// "Fehlerhafte XML-Datei empfangen." als Meldung; nichts wird beantwortet.
void MeldeFehlerhafteAnfrage(const Anzeige& a);

// Das Ergebnis mit stoss an die Antwortadresse der Anfrage, auf eigenem
// Thread; es nennt den eigenen Server (eigeneAdresse, s.netz.port).
void Beantworte(const Sender& s, const NetzStatus& anfrage, const Vektor& stoss, const std::string& eigeneAdresse);
