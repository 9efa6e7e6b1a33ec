// Der Spieler als Anwendungsfall: eine Anfrage des Spielservers herein,
// planen, zeigen, antworten; "Start" im Fenster ebenso. Das Programm baut
// seinen Spielerkontext beim Start und hält ihn bis zum Ende; er trägt den
// Tisch, die Anzeige, den Server, die Sender und den lernenden Spieler.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "anzeige/anzeige.h"
#include "spieler/lernender_spieler.h"
#include "model/konfiguration.h"
#include "model/netzeinstellung.h"
#include "model/tischkontext.h"
#include "net/senden.h"
#include "net/server.h"
#include "planner/planerkontext.h"
#include "planner/planergebnis.h"

struct Spielerzustand;  // die zuletzt gelesene config.ini, die Anfrage in Arbeit
std::shared_ptr<Spielerzustand> NeuerSpielerzustand();

struct Spielerkontext {
    Pfade pfade;
    Tischkontext tisch;  // einmal beim Start aus config.ini
    Netzeinstellung netz;
    Anzeige anzeige;
    Anfrageserver server;
    Sender sender;
    LernenderSpieler lerner;  // tut nur etwas mit [planer] beobachten oder lernen
    // Nach jedem Plan, mit Stand, Stoß und dem Planerkontext, in dem er
    // geplant wurde (das Fenster zeigt damit auf Wunsch die Laufwege). Leer: niemand.
    std::function<void(const Tischkontext&, const Spielstand&, Vektor, const Planerkontext&)> geplant;
    std::shared_ptr<Spielerzustand> zustand = NeuerSpielerzustand();
};

// Liest config.ini aus pfade einmal (Tisch, Netz) und richtet Server, Sender
// und den lernenden Spieler ein; mit [planer] lernen=1 lädt er die gelernte
// Welt. 0, oder errno, wenn die Datei da, aber nicht lesbar ist: dann steht es
// im Protokoll, und es gelten die Vorgaben.
int BaueSpieler(Spielerkontext& k, const Pfade& pfade, const Anzeige& anzeige);

// Die config.ini für eine Entscheidung, einmal gelesen. Ist sie da, aber nicht
// lesbar, sagt das eine Zeile im Protokoll, und es gelten die zuletzt
// gelesenen Werte (oder die Vorgaben, wenn es keine gibt).
std::shared_ptr<const IniDatei> LeseEinstellungen(Spielerkontext& k);

// Plant auf stand mit den Einstellungen ini und zeigt Protokoll und Linien.
Planergebnis PlaneUndZeige(Spielerkontext& k, const IniDatei& ini, const Spielstand& stand);

// "Start": leert das Protokoll (nicht, solange eine Anfrage bearbeitet wird:
// deren Zeilen bleiben), plant auf stand und zeigt Protokoll und Linien.
Planergebnis Starte(Spielerkontext& k, const Spielstand& stand);

// Ein empfangenes Dokument: lesen, übernehmen, zeigen, planen, antworten
// (auf dem Server-Thread).
void BearbeiteAnfrage(Spielerkontext& k, const std::string& dokument, const std::string& eigeneAdresse);

// Was fehlt, damit der Spieler antworten kann (die Vorlagen ki-result.xml und
// ki-status.xml) und, wenn er beobachten oder lernen soll, schreiben kann (das
// Datenverzeichnis); leer, wenn nichts fehlt. Der Text nennt den Pfad.
std::string FehltZumAntworten(const Spielerkontext& k);

// Netz ein: Server starten, dann "running" an alle. false, wenn etwas zum
// Antworten fehlt oder der Server nicht startet (Meldung und Protokoll sagen
// warum, kein Status geht hinaus): ein Spieler, der Anfragen annimmt, aber nie
// antwortet, sähe von außen gesund aus.
bool SchalteNetzEin(Spielerkontext& k);
// Netz aus: Server stoppen, "running" false an alle.
void SchalteNetzAus(Spielerkontext& k);
