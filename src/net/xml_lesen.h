// Der Leser des Tischstand-Dokuments vom Spielserver. Kein XML-Parser: Elemente
// werden per schlichter Textsuche nach dem genauen öffnenden und schließenden
// Tag gefunden (ohne Attribute, ohne Leerzeichen), Inhalte wie atof/atoi
// gewandelt. Der Text darf beliebige Bytes enthalten, auch NUL; er endet an
// seiner Größe.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/tischkontext.h"
#include "net/netz_status.h"

// Jede erfolglose Suche schreibt "fehler" und einen Zeilenumbruch auf die
// Standardausgabe; mit melden false nicht (Fuzzing, Massentests, JSON-Ausgaben).

// true, wenn text mit muster beginnt; ein leeres Muster passt immer. Endet der
// Text vor dem Ende des Musters, wird textEnde gesetzt, "fehler" ausgegeben und
// false geliefert.
bool BeginntMit(std::string_view text, std::string_view muster, bool& textEnde, bool melden = true);

// Der Inhalt zwischen dem n-ten <name> und dem n-ten </name> (n ab 1). Beide
// werden unabhängig voneinander vom Textanfang an gezählt, Fundstellen dürfen
// sich überlappen. Nichts, wenn eines seltener als n-mal vorkommt oder das
// schließende Tag vor dem Ende des öffnenden liegt.
std::optional<std::string> LeseTag(std::string_view name, int n, std::string_view text, bool melden = true);

// Die Zahl hinter dem ersten cmdid=" bis zum nächsten " (oder Textende);
// 0 ohne Fundstelle oder bei leerem Wert.
std::int32_t LeseCmdId(std::string_view text, bool melden = true);

// Füllt die 16 Kugeln und die Gruppe, die Lagen in Tischkoordinaten
// (ServerZuTisch) und mit dem Radius des Tisches. false (und stand
// unverändert), wenn eine der 16 Kugeln, eines ihrer vier Elemente oder player
// fehlt, oder wenn eine Position keine endliche Zahl ist.
bool LeseSpielstandXML(const Tischkontext& tk, std::string_view text, Spielstand& stand, bool melden = true);

// Füllt die Verbindungsdaten der Anfrage. false (und status unverändert), wenn
// ipv4 oder port fehlt. running ist nur bei genau "true" wahr.
bool LeseNetzStatusXML(NetzStatus& status, std::string_view text, bool melden = true);
