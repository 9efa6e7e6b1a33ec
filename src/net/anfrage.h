// Was der Server mit einem fertigen Dokument tut, auf seinem eigenen Thread.
#pragma once

#include <string>

// Ein empfangenes Dokument: lesen, übernehmen, zeigen, planen, antworten.
void BearbeiteAnfrage(const std::string& dokument);

// "Fehlerhafte XML-Datei empfangen." als Meldung; nichts wird beantwortet.
void MeldeFehlerhafteAnfrage();
