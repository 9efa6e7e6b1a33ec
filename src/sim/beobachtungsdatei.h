// Die Datei, an die der Spieler seine Beobachtungen anhängt. Mehrere Prozesse
// dürfen dasselbe Datenverzeichnis nutzen: Anhängen und Kürzen geschehen unter
// einer Sperre (flock auf DATEI.sperre), und jedes Anhängen öffnet die Datei
// neu, so schreibt keiner in eine Fassung, die ein anderer gerade ersetzt hat.
#pragma once

#include <mutex>
#include <string>

#include "sim/beobachtung.h"

struct Beobachtungsdatei {
    std::string pfad;
    long hoechstens = kBeobachtungenHoechstens;  // so viele Zeilen bleiben beim Kürzen
    std::mutex mutex;  // für die Threads eines Prozesses
    // Wie die Datei nach dem letzten eigenen Schreiben aussah: ist sie noch so
    // groß, hat niemand sonst geschrieben, und sie muss nicht neu gelesen werden.
    long zeilen = -1;
    long long groesse = -1;
};

enum class Anhaengen {
    gut,          // angehängt
    ungekuerzt,   // angehängt, aber die zu lange Datei ließ sich nicht kürzen (fehler sagt warum)
    gescheitert,  // nicht angehängt (fehler sagt warum)
};

// Hängt eine Zeile an, in einem einzigen write: nach einem Absturz ist sie ganz
// da oder gar nicht (ein abgerissenes Ende einer früheren Zeile wird vorher
// abgeschnitten). Wächst die Datei über 10 % über das Höchstmaß, bleiben die
// neuesten datei.hoechstens (neue Datei, dann umbenannt; geht das nicht, an
// Ort und Stelle). Lässt sie sich gar nicht kürzen, nimmt sie beim
// Doppelten des Höchstmaßes nichts mehr an: sie bleibt begrenzt.
Anhaengen HaengeBeobachtungAn(Beobachtungsdatei& datei, const Beobachtung& b, std::string& fehler);
