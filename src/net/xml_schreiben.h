// Die beiden ausgehenden Dokumente: Status (UDP-Broadcast) und Ergebnis (an den
// Spielserver). Kein XML-Aufbau, sondern eine Musterdatei neben dem Programm,
// deren Platzhalter der Reihe nach ersetzt werden, jeder nur beim ersten
// Vorkommen.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "anzeige/anzeige.h"
#include "geometry/vektor.h"
#include "model/tischlage.h"
#include "net/netz_status.h"

// "%3.4f", wie der Stoßvektor im Ergebnis steht: immer mit Punkt, auch unter
// einer deutschen Locale.
std::string Festkomma(float wert);

// Die ganze Datei verzeichnis + name; CR LF wird zu LF. Mit ohneLeerzeichen
// entfallen alle Leerzeichen, Tabs, CR und LF. Nichts, wenn die Datei nicht zu
// öffnen oder zu lesen ist.
std::optional<std::string> LeseMusterdatei(const std::string& verzeichnis, std::string_view name,
                                           bool ohneLeerzeichen);

// Ersetzt das erste Vorkommen von platzhalter in text durch wert; ohne
// Vorkommen kommt text unverändert zurück.
std::string ErsetzePlatzhalter(std::string_view platzhalter, std::string_view wert, std::string text);

// ki-status.xml aus verzeichnis ohne Leerzeichen, gefüllt mit Adresse, Port
// und Laufzustand. Fehlt die Datei: Meldung "Fehler" und nichts.
std::optional<std::string> ErzeugeStatusXML(const Anzeige& a, const std::string& verzeichnis,
                                            const NetzStatus& status);

// Ein Tischstand-Dokument in der Form von beispiel-anfrage.xml, wie der
// Spielserver es schickt: Lagen in Serverkoordinaten mit sechs Nachkommastellen
// (immer mit Punkt), running immer true.
std::string SchreibeAnfrage(const Tisch& t, const Zufallstisch& lage, std::uint32_t cmdid, std::string_view ipv4,
                            std::uint16_t port);

// ki-result.xml aus verzeichnis unverändert, gefüllt mit Stoßvektor (x, y),
// Adresse, cmdid, Port und Laufzustand. Fehlt die Datei: Meldung "Fehler" und nichts.
std::optional<std::string> ErzeugeErgebnisXML(const Anzeige& a, const std::string& verzeichnis, const Vektor& stoss,
                                              const NetzStatus& status);
