// Der Spieler lernt seinen Tisch aus den Anfragen des Spielservers. Er merkt
// sich je Antwortadresse die letzte beantwortete Anfrage und ihren Stoß; zeigt
// die nächste Anfrage von dort das Ergebnis dieses Stoßes (PruefeBeobachtung),
// hängt er sie als Beobachtung an beobachtungen.jsonl im Datenverzeichnis an
// ([planer] beobachten=1 oder lernen=1). Mit lernen=1 passt er nach je
// lernen_alle neuen Beobachtungen die Welt R auf einem eigenen Thread neu an:
// keine Antwort wartet darauf, bis der neue fertig ist gilt der letzte, und
// gelernt.ini im Datenverzeichnis hält ihn über einen Neustart.
//
// Das Programm hält einen LernenderSpieler und reicht ihn dem, der Anfragen
// bearbeitet; sein Zustand ist geteilt mit dem Thread, der anpasst, und darf
// das Programm überdauern.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "anzeige/anzeige.h"
#include "model/ini_datei.h"
#include "model/konfiguration.h"
#include "model/tischkontext.h"
#include "planner/gelernter_tisch.h"

struct Lernzustand;
std::shared_ptr<Lernzustand> NeuerLernzustand();

struct LernenderSpieler {
    Anzeige anzeige;   // die Zeilen des Lernens (geladen, angepasst, Schreibfehler)
    Pfade pfade;       // daten: Beobachtungen und gelernt.ini; konfiguration: Vorlage der gelernten
    Tischkontext tisch;
    // Auf dem Thread, der anpasst: wie weit er ist (0 zu Beginn, dann die
    // Schritte des Fits). Leer: niemand schaut zu.
    std::function<void(double anteil, const char* schritt)> fortschritt;
    std::shared_ptr<Lernzustand> zustand = NeuerLernzustand();
};

// Beim Start des Spielers: mit [planer] lernen=1 den Tisch aus gelernt.ini
// laden, wenn es sie gibt (eine Zeile ins Protokoll).
void LadeGelerntenTisch(LernenderSpieler& l, const IniDatei& ini);

// Der zuletzt gelernte Tisch; nullptr, solange nichts gelernt ist.
std::shared_ptr<const GelernterTisch> GelernterTischVon(const LernenderSpieler& l);

// Vor dem Planen einer Anfrage, deren Antwort an adresse geht ("ip:port"); ini
// ist die config.ini dieser Anfrage.
void PruefeAnfrageAufBeobachtung(LernenderSpieler& l, const IniDatei& ini, const std::string& adresse,
                                 const Spielstand& jetzt);
// Nach dem Planen: was an adresse geantwortet wurde.
void MerkeAntwort(LernenderSpieler& l, const IniDatei& ini, const std::string& adresse, const Spielstand& stand,
                  Vektor stoss);

// Wartet, bis kein Anpassen mehr läuft; false nach der Zeit.
bool WarteAufLernen(const LernenderSpieler& l, std::chrono::milliseconds grenze);
// Bricht ein laufendes Anpassen ab (beim Beenden).
void BrichLernenAb(LernenderSpieler& l);

// Wie viele Beobachtungen angenommen wurden, und wie viele Anpassungen fertig wurden.
long AngenommeneBeobachtungen(const LernenderSpieler& l);
long FertigeAnpassungen(const LernenderSpieler& l);

// So viele der neuesten Beobachtungen nimmt eine Anpassung im Spiel: mehr
// kosten Rechenzeit, die der Planer braucht, und sagen kaum mehr.
constexpr long kBeobachtungenJeAnpassung = 1000;
