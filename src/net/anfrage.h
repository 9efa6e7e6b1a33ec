// Was der Server mit einem fertigen Dokument tut, auf seinem eigenen Thread.
#pragma once

#include <string>

#include "model/tisch.h"

// Ein empfangenes Dokument: lesen, übernehmen, zeigen, planen, antworten.
void BearbeiteAnfrage(const std::string& dokument);

// "Fehlerhafte XML-Datei empfangen." als Meldung; nichts wird beantwortet.
void MeldeFehlerhafteAnfrage();

// Wer mitschauen will, was der Server beantwortet (der Spieler, der seinen
// Tisch lernt): vor dem Planen die Anfrage, nach dem Planen der Stoß, jeweils
// mit der Antwortadresse "ip:port". Einmal beim Start gesetzt; leer: niemand.
struct Anfragebeobachter {
    void (*vorDemPlanen)(const std::string& antwortadresse, const Spielstand& stand) = nullptr;
    void (*nachDemPlanen)(const std::string& antwortadresse, const Spielstand& stand, Vektor stoss) = nullptr;
};
void SetzeAnfragebeobachter(const Anfragebeobachter& b);
