// spieltisch --spielen: Tische erzeugen, Aufnahmen spielen (über das Netz oder
// im Prozess, auf Wunsch auf mehreren Threads), Protokoll, Beobachtungen und
// Bericht. Die Vorbereitung teilen --vergleich und --partien.
#pragma once

#include <atomic>
#include <fstream>
#include <functional>
#include <ostream>
#include <vector>

#include <nlohmann/json.hpp>

#include "bericht.h"
#include "bote.h"
#include "fortschritt.h"
#include "optionen.h"
#include "spiel/aufnahme.h"

constexpr const char* kEigeneAdresse = "127.0.0.1";

// Konfiguration, Tisch, Welt (aus --config oder --welt) und Rauschen aus den
// Optionen, dazu der Kopf der Dokumente; false (mit Meldung), wenn eine
// genannte config.ini oder die Welt nicht lesbar ist.
bool BereiteSpielVor(const Optionen& o, Spielumgebung& u, Dokumentkopf& kopf, std::ostream& meldungen);

// Öffnet den Antwort-Port aus den Optionen und trägt ihn in kopf ein (bei
// Port 0 mit der Zeile "antwort_port=N"); false mit Meldung.
bool OeffneAntwortPort(const Optionen& o, Dokumentkopf& kopf, Socket& hoerer, std::ostream& meldungen);

// Nach dem letzten Stoß: Protokoll und Beobachtungen schließen und prüfen, ob
// alles ankam, auch in der Ablage von --speichere; false mit Meldung.
bool SchliesseAusgaben(const Optionen& o, std::ofstream& protokoll, std::ofstream& beobachtungen, const Ablage& ablage,
                       std::ostream& meldungen);

// Die Tische o.ab .. o.ab + o.anzahl − 1 aus der Saat, in Reihenfolge: Tisch n
// ist derselbe, wo ein Lauf auch beginnt.
std::vector<Zufallstisch> Spieltische(const Optionen& o, const Tisch& t);

// Der Planer im Prozess mit der config.ini aus --config (oder neben dem Programm).
Planer PlanerAusKonfiguration(const Spielumgebung& u, const Dokumentkopf& kopf, bool robust);

// Alle Aufnahmen im Prozess, auf o.threads Threads; das Ergebnis hängt nicht davon ab.
std::vector<Aufnahme> SpieleLokal(const Optionen& o, const Spielumgebung& u, const std::vector<Zufallstisch>& tische,
                                  const Planer& planer, Fortschritt& fortschritt);
// Dasselbe, jede Aufnahme sofort an fertig, der Reihe nach (Index in tische).
// halt: wird es ungleich 0, beginnt kein neuer Tisch; die begonnenen werden
// fertig, fertig sieht also die Tische von vorn ohne Lücke.
using Aufnahmefertig = std::function<void(std::size_t i, const Aufnahme& a)>;
void SpieleLokal(const Optionen& o, const Spielumgebung& u, const std::vector<Zufallstisch>& tische,
                 const Planer& planer, Fortschritt& fortschritt, const Aufnahmefertig& fertig,
                 const std::atomic<int>* halt);

// Die Welt des Schiedsrichters für das Protokoll: Modell, die gelesene Datei
// (--welt, sonst --config; leer, wenn keine gelesen wurde) und das Rauschen.
Protokollwelt WeltDesLaufs(const Optionen& o, const Spielumgebung& u);

// "unvollstaendig" und nach einem Abbruch die deutsche Zeile dazu: signal 0
// heißt, der Lauf ging zu Ende; fertig/gesamt in einheit ("Tischen", "Gestellen").
void ErgaenzeAbbruch(nlohmann::ordered_json& j, int signal);
void SchreibeAbbruch(std::ostream& aus, int signal, std::uint32_t fertig, std::uint32_t gesamt, const char* einheit);

// Bericht nach aus, Meldungen und Fortschritt nach meldungen. maler zeichnet
// misslungene Stöße (leer: keine Bilder). Rückgabe wie FuehreAus.
int SpieleAufnahmen(const Optionen& o, std::ostream& aus, std::ostream& meldungen, const Bildmaler& maler);
