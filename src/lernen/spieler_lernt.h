// Der Spieler lernt seinen Tisch aus den Anfragen des Spielservers. Er merkt
// sich je Antwortadresse die letzte beantwortete Anfrage und ihren Stoß; zeigt
// die nächste Anfrage von dort das Ergebnis dieses Stoßes (PruefeBeobachtung),
// hängt er sie als Beobachtung an beobachtungen.jsonl im Datenverzeichnis an
// ([planer] beobachten=1 oder lernen=1). Mit lernen=1 passt er nach je
// lernen_alle neuen Beobachtungen die Welt R auf einem eigenen Thread neu an:
// keine Antwort wartet darauf, bis der neue fertig ist gilt der letzte, und
// gelernt.ini im Datenverzeichnis hält ihn über einen Neustart.
#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "model/tisch.h"

// Vor dem Planen einer Anfrage, deren Antwort an adresse geht ("ip:port").
void PruefeAnfrageAufBeobachtung(const std::string& adresse, const Spielstand& jetzt);
// Nach dem Planen: was an adresse geantwortet wurde.
void MerkeAntwort(const std::string& adresse, const Spielstand& stand, Vektor stoss);

// Beim Start des Spielers: mit lernen=1 den Tisch aus gelernt.ini laden, wenn
// es sie gibt (eine Zeile ins Protokoll).
void LadeGelerntenTisch();

// Für Tests und das Ende: wartet, bis kein Anpassen mehr läuft; false nach der Zeit.
bool WarteAufLernen(std::chrono::milliseconds grenze);
// Bricht ein laufendes Anpassen ab (beim Beenden).
void BrichLernenAb();

// Wie viele Beobachtungen dieser Prozess angenommen hat, und wie viele Anpassungen fertig wurden.
long AngenommeneBeobachtungen();
long FertigeAnpassungen();

// Nur für Tests: wird am Anfang jedes Anpassens auf dessen Thread gerufen (so
// lässt sich zeigen, dass währenddessen geplant und beantwortet wird).
void SetzeLerntorFuerTests(std::function<void()> tor);

// So viele der neuesten Beobachtungen nimmt eine Anpassung im Spiel: mehr
// kosten Rechenzeit, die der Planer braucht, und sagen kaum mehr.
constexpr long kBeobachtungenJeAnpassung = 1000;
