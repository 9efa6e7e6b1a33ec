// Laden von config.ini: Tisch einmal beim Start, Physik und Kugelradius bei
// jeder Stoßstärke neu. Eine fehlende Datei oder ein fehlender Schlüssel gibt
// still die Vorgabe; Längen stehen in Hundertsteln (×0.01), der Durchmesser
// ×0.005 ergibt den Radius.
#pragma once

#include <string>

#include "model/ini_datei.h"
#include "model/tisch.h"

struct Physik {
    float vmax;
    float vend;
    float u;
    float g;
    float k;
};

// Verzeichnis von config.ini und den Vorlagen mit abschließendem '/': das der
// laufenden Programmdatei, im Paket (…/usr/lib/stosswerk/) das etc/stosswerk/
// desselben Baums, oder das mit SetzeProgrammverzeichnis gesetzte (--verzeichnis).
std::string Programmverzeichnis();
void SetzeProgrammverzeichnis(const std::string& verzeichnis);

// Die config.ini, die alle Lader benutzen: neben dem Programm, oder die mit
// SetzeKonfigurationsdatei gesetzte (--config). Einmal beim Start setzen.
const std::string& Konfigurationsdatei();
void SetzeKonfigurationsdatei(const std::string& pfad);

// Wohin der Spieler schreibt, was er lernt (Beobachtungen, gelernte Welt), mit
// abschließendem '/': das mit SetzeDatenverzeichnis gesetzte (--daten), sonst
// das des Dienstes (STATE_DIRECTORY, von systemd gesetzt), sonst das von config.ini.
std::string Datenverzeichnis();
void SetzeDatenverzeichnis(const std::string& verzeichnis);

// 0, wenn die Datei gelesen wurde oder fehlt; sonst errno: die Datei ist da,
// kann aber nicht gelesen werden, und t hat die Vorgaben. Das soll der
// Betreiber erfahren, mit diesem Text (Pfad, errno) im Protokoll.
int LadeTisch(Tisch& t, const std::string& pfad);
constexpr const char* kKonfigurationUnlesbar = "Konfiguration %s nicht lesbar (Errorcode: %d), es gelten die Vorgaben.\r\n";
void LadePhysik(Physik& physik, const std::string& pfad);
void LadeKugelradius(float& radius, const std::string& pfad);

// Dieselben Regeln auf eine schon gelesene Datei, damit die Stoßstärke die
// Datei nur einmal pro Suche liest.
void TischAus(const IniDatei& ini, Tisch& t);
Physik PhysikAus(const IniDatei& ini);
float KugelradiusAus(const IniDatei& ini);
