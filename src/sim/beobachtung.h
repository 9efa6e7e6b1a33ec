// Eine Beobachtung: der Tisch vor einem Stoß, die Gruppe, der beantwortete
// Stoß und der Tisch, auf dem die Kugeln danach lagen. Ein paar hundert davon
// legen die Welt eines Tisches fest (stosswerk-kalibriere). Gespeichert als
// eine JSON-Zeile je Beobachtung:
//   {"vorher": [[x, y, inloch] × 16], "gruppe": g, "stoss": [x, y],
//    "nachher": [[x, y, inloch] × 16]}
// in Tischeinheiten, die Weiße zuerst; weitere Schlüssel sind erlaubt.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "model/tisch.h"

struct Beobachtung {
    Spielstand vorher;   // mit der Gruppe
    Vektor stoss;        // wie beantwortet, ohne das Rauschen des Tisches
    Spielstand nachher;  // die Gruppe ist die von vorher
};

// Eine Zeile ohne Zeilenende. Zahlen so kurz, dass sie genau zurückgelesen werden.
std::string BeobachtungAlsJson(const Beobachtung& b);
// false mit deutschem Grund; radius geht in jede Kugel.
bool LeseBeobachtung(std::string_view zeile, float radius, Beobachtung& b, std::string& fehler);

// So viele Beobachtungen hält eine Datei; wer mehr anhängt, verliert die ältesten.
constexpr long kBeobachtungenHoechstens = 5000;

// Eine Datei, an die angehängt wird. Wer sie teilt, teilt diesen Datensatz:
// er zählt die Zeilen und schützt das Anhängen.
struct Beobachtungsdatei {
    std::string pfad;
    long zeilen = -1;  // −1: noch nicht gezählt
    std::mutex mutex;
};

// Hängt eine Zeile an, in einem einzigen write: nach einem Absturz ist sie
// ganz da oder gar nicht (ein abgerissenes Ende einer früheren Zeile wird vorher
// abgeschnitten). Wächst die Datei über 10 % über das Höchstmaß, bleiben die
// neuesten kBeobachtungenHoechstens (neue Datei, dann umbenannt). false mit Grund.
bool HaengeBeobachtungAn(Beobachtungsdatei& datei, const Beobachtung& b, std::string& fehler);

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
