// Die Tischstand-Dokumente, die an den Spieler gehen: aus einem Zufallstisch
// geschrieben oder aus einer Datei mit eingesetzten eigenen Verbindungsdaten.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/tisch.h"
#include "spiel/zufallstisch.h"

// Ein Dokument in der Form von beispiel-anfrage.xml, Lagen in Server-
// koordinaten mit sechs Nachkommastellen, running immer true.
std::string SchreibeAnfrage(const Tisch& t, const Zufallstisch& tisch, std::uint32_t cmdid,
                            std::string_view ipv4, std::uint16_t port);

struct Kopfdaten {
    bool cmdid = false;  // was ersetzt wurde; fehlt etwas, kommt die Antwort
    bool ipv4 = false;   // womöglich nicht oder nicht hierher
    bool port = false;
};

// Ersetzt im Text den Wert des ersten cmdid="…" und den Inhalt des ersten
// <ipv4>…</ipv4> und <port>…</port>; alles andere bleibt Byte für Byte. Gesucht
// wird wie beim Spieler als reiner Text, also auch in Kommentaren.
Kopfdaten SetzeKopfdaten(std::string& text, std::uint32_t cmdid, std::string_view ipv4, std::uint16_t port);

// "tisch-0007.xml" für cmdid 7.
std::string Ablagename(std::uint32_t cmdid);
