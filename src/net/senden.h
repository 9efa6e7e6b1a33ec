// Was Stosswerk von sich aus sendet: die Antwort an den Spielserver (TCP, je
// Antwort ein eigener Thread) und den Status als UDP-Broadcast.
#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "anzeige/anzeige.h"
#include "model/netzeinstellung.h"

// Die Antworten, die gerade unterwegs sind, insgesamt und je Ziel.
struct Senderplaetze;
std::shared_ptr<Senderplaetze> NeueSenderplaetze();

// Was das Senden braucht; das Programm hält einen und reicht ihn weiter.
struct Sender {
    Anzeige anzeige;          // Meldungen der Sender, Zeilen verworfener Antworten
    std::string verzeichnis;  // die Vorlagen ki-status.xml und ki-result.xml
    Netzeinstellung netz;
    std::shared_ptr<Senderplaetze> plaetze = NeueSenderplaetze();
};

// Startet einen losgelösten Thread mit SendeTCPPacket und kehrt sofort zurück.
// Höchstens netz.sender Antworten sind zugleich unterwegs, davon höchstens
// netz.sender_je_ziel an dieselbe Adresse mit demselben Port; eine weitere,
// und eine, für die kein Thread startet, wird mit einer Protokollzeile verworfen.
void StarteSendeThread(const Sender& s, std::string dokument, std::string ipAdresse, int port);

// Wartet, bis kein Sendethread mehr läuft, höchstens grenze; false, wenn noch
// einer läuft. Wer die Anzeige der Sender abbaut, muss vorher warten.
bool WarteAufSender(const Sender& s, std::chrono::milliseconds grenze);

// Verbindet zu ipAdresse (nur Ziffernschreibweise, keine Namensauflösung) und
// port, schickt das Dokument mit einem send und schließt. Fehler als Meldung.
void SendeTCPPacket(const Anzeige& a, const std::string& dokument, const std::string& ipAdresse, int port);

// Ein Datagramm an 255.255.255.255:port. Nur in einem privaten Netz-Namensraum
// testen: der Broadcast verlässt sonst den Rechner.
void SendeUDPBroadcast(const Anzeige& a, const std::string& daten, int port);

// Status dieses Rechners (eigene Adresse, netz.port, running) an netz.bport.
void SendeNetzStatus(const Sender& s, bool running);
