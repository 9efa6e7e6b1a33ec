// Der Anfrage-Server: ein eigener Thread vom Einschalten bis zum Ausschalten
// des Netzes. Er nimmt Verbindungen an und liest alle zugleich (ein poll über
// den lauschenden Socket und jede offene Verbindung); ein Dokument reicht bis
// zum Schließen durch die Gegenstelle. Geplant wird auf diesem Thread, eine
// Anfrage nach der anderen, in der Reihenfolge, in der die Dokumente fertig
// werden; die Antwort geht auf eigener Verbindung.
#pragma once

#include <chrono>
#include <functional>
#include <string>

// Höchstlänge eines Dokuments; was darüber hinausgeht, wird zu Ende gelesen und verworfen.
constexpr std::size_t kMaxDokument = 262143;

// Bindet und lauscht auf port und startet dann den Server-Thread. Scheitert
// das, ist die Meldung gezeigt, der Grund im Protokoll und das Ergebnis false:
// dann läuft nichts, und niemand darf "running" melden. Zeitgrenzen und
// Höchstzahl der Verbindungen kommen aus tisch.wartezeit, tisch.gesamtzeit und
// tisch.verbindungen.
bool StarteServer(int port);

// Weckt den Server (shutdown des lauschenden Sockets) und lässt ihn enden; die
// Sockets schließt der Server-Thread selbst. Wartet nicht.
void StoppeServer();

// Wahr von StarteServer bis StoppeServer, solange der Server-Thread nicht
// unerwartet geendet hat.
bool ServerLaeuft();

// Wird auf dem Server-Thread gerufen, wenn er endet, ohne ausgeschaltet worden
// zu sein (dann ist ServerLaeuft() schon false und alles geschlossen). Wer
// "running" gemeldet hat, muss es zurücknehmen. Einmal beim Start setzen.
void BeiUnerwartetemServerende(std::function<void()> rueckruf);

// Wartet höchstens grenze, bis kein Server-Thread mehr läuft (vor dem
// Prozessende, damit das Protokoll vollständig ist). false nach der Zeitgrenze.
bool WarteAufServerende(std::chrono::milliseconds grenze);
