// Der Weg eines Tischstands zum Spieler und zurück, wie beim echten Server:
// das Dokument schreiben (auf Wunsch ablegen), es lesen, wie der Spieler es
// liest, und den Spieler fragen – im Prozess oder über das Netz.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>

#include "model/tischkontext.h"
#include "netz.h"
#include "spiel/spieler.h"

// --speichere: jedes gesendete Dokument als verzeichnis/tisch-NNNN.xml (NNNN
// die cmdid). Der erste Schreibfehler wird gemerkt, der Lauf geht weiter.
struct Ablage {
    std::string verzeichnis;  // leer: nichts ablegen
    std::mutex sperre;
    std::string fehler;       // der erste Pfad, der nicht geschrieben werden konnte
    void Lege(std::uint32_t cmdid, const std::string& dokument);
};

// Angaben, die in jedem Dokument stehen.
struct Dokumentkopf {
    Tischkontext tisch;         // der Tisch des Ersatzservers
    std::string eigeneAdresse;  // <ipv4>
    std::uint16_t antwortPort;  // <port>
    Ablage* ablage = nullptr;
};

// Der Planer im Prozess: liest das Dokument wie der Spieler (mit seinem Tisch),
// plant mit p und schreibt die Zahlen, wie sie die Antwort trüge. Threadsicher.
Planer LokalerBote(const Dokumentkopf& kopf, std::shared_ptr<const LokalerPlaner> p);
// Dasselbe mit einer eigenen Planung auf dem gelesenen Stand, gelesen mit
// leser (threadsicher nur, wenn plane es ist).
using Planung = std::function<Planergebnis(const Spielstand& gelesen)>;
Planer LokalerBote(const Dokumentkopf& kopf, const Tischkontext& leser, Planung plane);

// Über das Netz: senden, auf die Antwort warten, sie prüfen. Eine späte
// Antwort auf einen früheren Stoß wird übergangen. Nur von einem Thread.
Planer NetzBote(const Dokumentkopf& kopf, const std::string& adresse, std::uint16_t port, const Socket& hoerer,
                std::uint32_t zeitlimitMs, std::ostream& meldungen);
