// Verbindungsdaten einer Gegenstelle, in beide Richtungen benutzt: aus der
// Anfrage gelesen (wohin die Antwort geht) und in Status und Ergebnis geschrieben.
#pragma once

#include <cstdint>
#include <string>

struct NetzStatus {
    std::string ipAdresse;  // IPv4 in Punktschreibweise, ungeprüft übernommen
    std::int32_t cmd = 0;   // cmdid der Anfrage, im Ergebnis zurückgegeben
    std::int32_t port = 0;
    bool running = false;
};
