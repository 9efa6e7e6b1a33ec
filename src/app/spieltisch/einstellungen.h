// Womit ein Lauf gespielt wurde: je Spieler im Prozess die Werte aus [planer],
// [simulation] und [physik] seiner config.ini, wie sie gelesen wurden (mit den
// Vorgaben für fehlende Schlüssel), und die Einträge aus [tisch], [toleranz]
// und [kugeln]; dazu die Welt des Schiedsrichters. Nur Teile mit denselben
// Einstellungen dürfen zu einem Bericht zusammengelegt werden.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "model/ini_datei.h"

// Das Objekt für den Bericht; datei ist der Pfad, wie angegeben (nur zur Auskunft).
nlohmann::ordered_json EinstellungenAlsJson(const IniDatei& ini, const std::string& datei);
// Nur die Welt ([simulation], [physik]) für den Schiedsrichter.
nlohmann::ordered_json WeltAlsJson(const IniDatei& ini, const std::string& datei);
// Liest pfad (eine fehlende Datei gibt die Vorgaben) und beschreibt sie.
nlohmann::ordered_json EinstellungenAusDatei(const std::string& pfad, bool nurWelt);

// Der erste Unterschied zwischen den Einstellungen teil und erwartet, z. B.
// "Spieler A [planer] zeitgrenze=0 statt 200"; leer, wenn sie gleich sind.
// Die Schlüssel des Objekts ("a", "b", "spieler", "schiedsrichter") benennen,
// wessen Einstellungen es sind.
std::string Einstellungsunterschied(const nlohmann::json& teil, const nlohmann::json& erwartet);
