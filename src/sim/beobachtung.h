// Eine Beobachtung: der Tisch vor einem Stoß, die Gruppe, der beantwortete
// Stoß und der Tisch, auf dem die Kugeln danach lagen. Ein paar hundert davon
// legen die Welt eines Tisches fest (stosswerk-kalibriere). Gespeichert als
// eine JSON-Zeile je Beobachtung:
//   {"vorher": [[x, y, inloch] × 16], "gruppe": g, "stoss": [x, y],
//    "nachher": [[x, y, inloch] × 16]}
// in Tischeinheiten, die Weiße zuerst; weitere Schlüssel sind erlaubt.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/tisch.h"
#include "sim/simulation.h"

struct Beobachtung {
    Spielstand vorher;   // mit der Gruppe
    Vektor stoss;        // wie beantwortet, ohne das Rauschen des Tisches
    Spielstand nachher;  // die Gruppe ist die von vorher
};

// Eine Zeile ohne Zeilenende. Zahlen so kurz, dass sie genau zurückgelesen werden.
std::string BeobachtungAlsJson(const Beobachtung& b);
// false mit deutschem Grund; radius geht in jede Kugel.
bool LeseBeobachtung(std::string_view zeile, float radius, Beobachtung& b, std::string& fehler);

// So viele Beobachtungen hält eine Datei (beobachtungsdatei.h).
constexpr long kBeobachtungenHoechstens = 5000;

struct Beobachtungsbericht {
    long zeilen = 0;      // gelesen
    long fehlerhaft = 0;  // keine Beobachtung (ohne ein abgerissenes Ende)
    bool abgerissen = false;  // die letzte Zeile war unvollständig und ist übergangen
    std::string erster_fehler;
};

// Die neuesten kBeobachtungenHoechstens Beobachtungen der Datei, in ihrer
// Reihenfolge. false, wenn die Datei nicht gelesen werden kann (Grund in fehler).
bool LeseBeobachtungen(const std::string& pfad, float radius, std::vector<Beobachtung>& aus,
                       Beobachtungsbericht& bericht, std::string& fehler);

// Zeigt die nächste Anfrage derselben Antwortadresse das Ergebnis des eigenen
// Stoßes? Nichts Eingelochtes ist zurückgekommen, die Weiße liegt auf dem
// Tisch, eine eigene Kugel ist gefallen (nur dann fragt der Server denselben
// Spieler wieder; sonst war der Gegner am Tisch), und die Kugeln, die der eigene Stoß (in welt gespielt, ohne Rauschen)
// weit von jedem Weg liegen lässt, liegen noch, wo sie lagen, bis auf die
// Messung des Servers. Nach dem Besuch des Gegners hat sich meist eine davon
// bewegt. Die Wege gelten verlängert und verbreitert, weil Rauschen und eine
// noch ungenaue Welt den wirklichen Weg abweichen lassen.
struct Beobachtungsurteil {
    bool angenommen;
    int geprueft;       // Kugeln weit von jedem Weg, deren Lage verglichen wurde
    std::string grund;  // warum abgelehnt (deutsch), sonst leer
};
constexpr float kLagetoleranz = 0.05f;   // Tischeinheiten: Rundung und Messung des Servers
constexpr int kMindestensGeprueft = 2;    // weniger ruhende Zeugen: nicht prüfbar, abgelehnt
Beobachtungsurteil PruefeBeobachtung(const Tischgeometrie& g, const Welt& welt, const Beobachtung& b);
