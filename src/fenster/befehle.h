// Was das Hauptfenster tut: die Initialisierung und die Befehle aus Knöpfen
// und Menü. Alles im Fenster-Thread.
#pragma once

#include <atomic>

// Wahr, solange das Netz eingeschaltet ist.
extern bool NetzwerkAn;
// Wahr, solange "Laufwege anzeigen" markiert ist. Nur der Fenster-Thread
// schreibt; die Anzeige liest es auch im Server-Thread.
extern std::atomic<bool> LaufwegeAn;

// Grundaufstellung des Tisches mit Gruppe halbe, Titel, Menümarke auf
// "halbe", Laufwege aus, Kugelfelder schreiben; hängt die Laufwege und das
// unerwartete Serverende des Spielers an das Fenster.
void InitialisiereHauptfenster();

// Ein Befehl nach seiner Nummer (dialoglayout.h); unbekannte tun nichts.
// Befehl 2 kehrt nicht zurück.
void FuehreBefehlAus(int befehl);
