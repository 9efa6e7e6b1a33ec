// Eine Verbindung des Anfrage-Servers, vom Annehmen bis zum fertigen Dokument.
// Der Server liest alle offenen Verbindungen zugleich und jede nur, wenn etwas
// da ist: wer schweigt, hält niemanden auf, er läuft nur in seine Frist.
#pragma once

#include <chrono>
#include <string>

#include "anzeige/anzeige.h"

using Uhr = std::chrono::steady_clock;

// Je Verbindung; 0 heißt keine Grenze.
struct Fristen {
    std::chrono::milliseconds wartezeit;   // ohne neue Daten
    std::chrono::milliseconds gesamtzeit;  // für das ganze Dokument
};

struct Verbindung {
    int fd = -1;
    std::string adresse;  // der Gegenstelle, in Punktschreibweise
    int port = 0;
    std::string dokument;
    bool zuLang = false;  // mehr als kMaxDokument: weitergelesen, aber nichts mehr gespeichert
    Uhr::time_point angenommen;
    Uhr::time_point letzteDaten;  // anfangs angenommen; die am längsten stille geht zuerst
};

enum class Empfang {
    Offen,        // weiter warten
    Geschlossen,  // die Gegenstelle hat geschlossen: das Dokument ist fertig
    Fehler,       // Empfangsfehler (etwa ein Reset)
    Still,        // wartezeit ohne Daten
    ZuLangsam,    // gesamtzeit um, das Dokument nicht fertig
};

// Ein recv ohne Warten, mit seiner Protokollzeile; Offen auch, wenn nichts da war.
Empfang Empfange(const Anzeige& a, Verbindung& v, Uhr::time_point jetzt);

// Still oder ZuLangsam mit der Protokollzeile des Trennens, sonst Offen. Still
// nur, wenn der letzte poll für v nichts meldete (bereit false): was während
// einer Planung ankam, liegt dann schon zum Lesen bereit.
Empfang PruefeFristen(const Anzeige& a, const Verbindung& v, const Fristen& f, Uhr::time_point jetzt,
                      bool bereit);

// Wann die früheste Frist von v abläuft; time_point::max() ohne Frist.
Uhr::time_point NaechsteFrist(const Verbindung& v, const Fristen& f);
