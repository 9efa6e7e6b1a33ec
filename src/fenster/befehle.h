// Was das Hauptfenster tut: die Initialisierung und die Befehle aus Knöpfen
// und Menü. Alles im Fenster-Thread.
#pragma once

// Wahr, solange das Netz eingeschaltet ist.
extern bool NetzwerkAn;

// Konfiguration laden, Grundaufstellung mit Gruppe halbe, Titel, Menümarke
// auf "halbe", Kugelfelder schreiben.
void InitialisiereHauptfenster();

// Ein Befehl nach seiner Nummer (dialoglayout.h); unbekannte tun nichts.
// Befehl 2 kehrt nicht zurück.
void FuehreBefehlAus(int befehl);
