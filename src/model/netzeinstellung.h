// Der Abschnitt [netzwerk]: Ports und der Schutz vor Gegenstellen, die den
// Server aufhalten.
#pragma once

#include <cstdint>

struct Netzeinstellung {
    std::int32_t port;   // TCP, Anfragen des Spielservers
    std::int32_t bport;  // UDP, Status-Broadcast
    // Millisekunden ohne Daten, Millisekunden für ein ganzes Dokument (je 0:
    // keine Grenze), gleichzeitig offene Verbindungen, gleichzeitige Antworten
    // insgesamt und an dieselbe Adresse mit demselben Port.
    std::uint32_t wartezeit;
    std::uint32_t gesamtzeit;
    std::uint32_t verbindungen;
    std::uint32_t sender;
    std::uint32_t sender_je_ziel;
};
