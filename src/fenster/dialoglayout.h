// Der Aufbau des Hauptfensters als Tabelle: jedes Steuerelement mit Nummer,
// Art, Text und Lage in Dialogeinheiten, dazu das Menü. Reine Daten; das
// Fenster baut daraus seine Widgets.
#pragma once

#include <array>
#include <span>

enum class Steuerart {
    Tischansicht,  // die eigene Zeichenfläche
    Text,          // statischer Text, links ausgerichtet
    Log,           // mehrzeilig, nur lesen, senkrechter Rollbalken, kein Umbruch
    Schalter,      // Ankreuzfeld, das wie ein Knopf aussieht und eingedrückt bleibt
    Knopf,         // Druckknopf, nicht der Vorgabeknopf
    Rahmen,        // Gruppenrahmen mit Titel
};

struct Steuerelement {
    int id;  // 0: ohne Nummer
    Steuerart art;
    const char* text;
    int x, y, w, h;  // Dialogeinheiten
};

// Größe der Dialogfläche unter dem Menü, in Dialogeinheiten.
constexpr int kDialogBreite = 678;
constexpr int kDialogHoehe = 437;

constexpr const char* kFenstertitel = "Stosswerk - Kelvara";

// Befehlsnummern.
enum Befehl : int {
    BefehlBeenden = 2,
    BefehlStart = 1007,
    BefehlNetzwerk = 1021,
    BefehlHalbe = 40002,
    BefehlVolle = 40003,
    BefehlAlle = 40004,
    BefehlLaufwege = 40005,
};
constexpr int kAnsichtId = 1006;

// In der Reihenfolge der Erzeugung: spätere liegen über früheren.
std::span<const Steuerelement> Dialogelemente();

enum class Menueart {
    Einfach,     // löst nur den Befehl aus
    Auswahl,     // Marke in der Gruppe: genau eine ist gesetzt
    Umschalter,  // Marke für sich, an und aus
};

struct Menueeintrag {
    const char* menue;
    const char* text;  // nullptr: Trennstrich
    int befehl;
    Menueart art;
};
std::span<const Menueeintrag> Menueeintraege();
