// Der Anfrage-Server: ein eigener Thread vom Einschalten bis zum Ausschalten
// des Netzes, eine Verbindung nach der anderen. Ein Dokument reicht bis zum
// Schließen durch die Gegenstelle; die Antwort geht auf eigener Verbindung.
#pragma once

#include <chrono>
#include <string>

// Höchstlänge eines Dokuments; was darüber hinausgeht, wird zu Ende gelesen und verworfen.
constexpr std::size_t kMaxDokument = 262143;

// Bindet und lauscht auf port und startet dann den Server-Thread. Scheitert
// das, ist die Meldung gezeigt, der Grund im Protokoll und das Ergebnis false:
// dann läuft nichts, und niemand darf "running" melden. Die Zeitgrenzen für
// eine Verbindung kommen aus tisch.wartezeit und tisch.gesamtzeit.
bool StarteServer(int port);

// Weckt einen Server, der in accept oder recv wartet (shutdown), und lässt ihn
// enden; die Sockets schließt der Server-Thread selbst. Wartet nicht.
void StoppeServer();

// Wartet höchstens grenze, bis kein Server-Thread mehr läuft (vor dem
// Prozessende, damit das Protokoll vollständig ist). false nach der Zeitgrenze.
bool WarteAufServerende(std::chrono::milliseconds grenze);

// Ein empfangenes Dokument: lesen, übernehmen, zeigen, planen, antworten.
void BearbeiteAnfrage(const std::string& dokument);
