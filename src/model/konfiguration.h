// Laden von config.ini: der Tisch einmal beim Start, Physik und Kugelradius
// bei jeder Anfrage neu. Eine fehlende Datei oder ein fehlender Schlüssel
// gibt still die Vorgabe; Längen stehen in Hundertsteln (×0.01), der
// Durchmesser ×0.005 ergibt den Radius.
#pragma once

#include <string>

#include "model/ini_datei.h"
#include "model/netzeinstellung.h"
#include "model/tisch.h"

struct Physik {
    float vmax;
    float vend;
    float u;
    float g;
    float k;
};

// Wo ein Programm seine Dateien findet, jedes Verzeichnis mit '/' am Ende.
// Einmal beim Start bestimmt und dann weitergereicht.
struct Pfade {
    std::string verzeichnis;    // die Vorlagen ki-status.xml und ki-result.xml
    std::string konfiguration;  // config.ini
    std::string daten;          // was der Spieler lernt (Beobachtungen, gelernte Welt)
};

// Das Verzeichnis der laufenden Programmdatei; im Paket (…/usr/lib/stosswerk/)
// das etc/stosswerk/ desselben Baums.
std::string VerzeichnisDesProgramms();

// Leere Angaben nehmen die Vorgabe: verzeichnis das des Programms (--verzeichnis
// ersetzt es), konfiguration verzeichnis + "config.ini" (--config), daten das
// genannte (--daten), sonst STATE_DIRECTORY des Dienstes (von systemd gesetzt),
// sonst das Verzeichnis von config.ini.
Pfade BestimmePfade(const std::string& verzeichnis = "", const std::string& konfiguration = "",
                    const std::string& daten = "");

// Liest pfad ganz. 0, wenn die Datei gelesen wurde oder fehlt (dann ist ini
// leer, und jede Abfrage gibt ihre Vorgabe); sonst errno: die Datei ist da,
// kann aber nicht gelesen werden. Das soll der Betreiber erfahren, mit diesem
// Text (Pfad, errno) im Protokoll.
int LeseKonfiguration(const std::string& pfad, IniDatei& ini);
constexpr const char* kKonfigurationUnlesbar = "Konfiguration %s nicht lesbar (Errorcode: %d), es gelten die Vorgaben.\r\n";

// Die Abschnitte einer gelesenen Datei.
void TischAus(const IniDatei& ini, Tisch& t);
Netzeinstellung NetzAus(const IniDatei& ini);
Physik PhysikAus(const IniDatei& ini);
float KugelradiusAus(const IniDatei& ini);
