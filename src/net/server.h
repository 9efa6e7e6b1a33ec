// Der Anfrage-Server: ein eigener Thread vom Einschalten bis zum Ausschalten
// des Netzes. Er nimmt Verbindungen an und liest alle zugleich (ein poll über
// den lauschenden Socket und jede offene Verbindung); ein Dokument reicht bis
// zum Schließen durch die Gegenstelle. Bearbeitet wird auf diesem Thread, eine
// Anfrage nach der anderen, in der Reihenfolge, in der die Dokumente fertig
// werden; erst danach nimmt er neue Verbindungen an.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "anzeige/anzeige.h"
#include "model/netzeinstellung.h"

// Höchstlänge eines Dokuments; was darüber hinausgeht, wird zu Ende gelesen und verworfen.
constexpr std::size_t kMaxDokument = 262143;

// Ein fertiges Dokument, auf dem Server-Thread; eigeneAdresse ist die beim
// Einschalten einmal aufgelöste Adresse dieses Rechners.
using Dokumentbearbeiter = std::function<void(const std::string& dokument, const std::string& eigeneAdresse)>;

struct Serverzustand;  // der laufende Lauf und die Zahl der Server-Threads
std::shared_ptr<Serverzustand> NeuerServerzustand();

// Ein Server, wie ihn das Programm hält: was er zeigt, was er mit einem
// Dokument tut, und sein Laufzustand. Die Rückrufe einmal vor dem ersten Start setzen.
struct Anfrageserver {
    Anzeige anzeige;
    Dokumentbearbeiter bearbeite;
    // Auf dem Server-Thread, wenn er endet, ohne ausgeschaltet worden zu sein
    // (dann ist ServerLaeuft schon false und alles geschlossen). Wer "running"
    // gemeldet hat, muss es zurücknehmen.
    std::function<void()> unerwartetesEnde;
    std::shared_ptr<Serverzustand> zustand = NeuerServerzustand();
};

// Bindet und lauscht auf port und startet dann den Server-Thread. Scheitert
// das, ist die Meldung gezeigt, der Grund im Protokoll und das Ergebnis false:
// dann läuft nichts, und niemand darf "running" melden. Zeitgrenzen und
// Höchstzahl der Verbindungen kommen aus netz.
bool StarteServer(Anfrageserver& s, int port, const Netzeinstellung& netz);

// Weckt den Server (shutdown des lauschenden Sockets) und lässt ihn enden; die
// Sockets schließt der Server-Thread selbst. Wartet nicht.
void StoppeServer(Anfrageserver& s);

// Wahr von StarteServer bis StoppeServer, solange der Server-Thread nicht
// unerwartet geendet hat.
bool ServerLaeuft(const Anfrageserver& s);

// Wartet höchstens grenze, bis kein Server-Thread mehr läuft (vor dem
// Prozessende, damit das Protokoll vollständig ist). false nach der Zeitgrenze.
bool WarteAufServerende(const Anfrageserver& s, std::chrono::milliseconds grenze);
