// Tischstand-Dokumente aus einer Datei, mit eingesetzten eigenen
// Verbindungsdaten, und ihre Ablage (geschrieben werden sie in net/xml_schreiben.h).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "net/xml_schreiben.h"

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
