// Was Stosswerk von sich aus sendet: die Antwort an den Spielserver (TCP, je
// Antwort ein eigener Thread) und den Status als UDP-Broadcast.
#pragma once

#include <string>

// Startet einen losgelösten Thread mit SendeTCPPacket und kehrt sofort zurück.
// Höchstens tisch.sender Antworten sind zugleich unterwegs, davon höchstens
// tisch.sender_je_ziel an dieselbe Adresse mit demselben Port; eine weitere,
// und eine, für die kein Thread startet, wird mit einer Protokollzeile verworfen.
void StarteSendeThread(std::string dokument, std::string ipAdresse, int port);

// Verbindet zu ipAdresse (nur Ziffernschreibweise, keine Namensauflösung) und
// port, schickt das Dokument mit einem send und schließt. Fehler als Meldung.
void SendeTCPPacket(const std::string& dokument, const std::string& ipAdresse, int port);

// Ein Datagramm an 255.255.255.255:port. Nur in einem privaten Netz-Namensraum
// testen: der Broadcast verlässt sonst den Rechner.
void SendeUDPBroadcast(const std::string& daten, int port);

// Status dieses Rechners (eigene Adresse, tisch.port, running) an tisch.bport.
void SendeNetzStatus(bool running);
