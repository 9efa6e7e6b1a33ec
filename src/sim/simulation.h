// Ein Stoß auf dem Tisch, ereignisweise: zwischen zwei Ereignissen läuft
// jede Kugel auf einer geschlossenen Bahn p + v·t + ½·a·t², das nächste
// Ereignis ist die früheste Berührung, Bande, Tasche oder Zustandsänderung.
// Keine Zeitschritte, keine Allokation in der Schleife.
#pragma once

#include <cstdint>

#include "geometry/vektor.h"
#include "model/tisch.h"
#include "sim/tischgeometrie.h"
#include "sim/welt.h"

// In dieser Reihenfolge werden gleichzeitige Ereignisse abgearbeitet, danach
// nach Kugelnummer.
enum class Ereignisart : std::uint8_t { kugel, bande, backe, ecke, tasche, rollen, halt };

// "kugel", "bande", "backe", "ecke", "tasche", "rollen", "halt"
const char* Ereignisname(Ereignisart art);

struct Ereignis {
    double t;
    Ereignisart art;
    std::int8_t kugel;   // bei "kugel" die kleinere Nummer
    std::int8_t andere;  // bei "kugel" die größere Nummer, sonst −1
    std::int8_t tasche;  // bei "tasche" 0..5, sonst −1
};

// Darüber bricht die Simulation ab und setzt ereignisgrenze: nie eine
// Endlosschleife. Ein Anstoß ins Dreieck braucht meist 100 bis 700 Ereignisse,
// selten über 1000: die Kugeln schieben sich in vielen kleinen Stößen.
constexpr int kMaxEreignisse = 4000;

struct Simergebnis {
    int anzahl;                         // Ereignisse
    bool ereignisgrenze;
    int ersteBeruehrung;                // erste Kugel, die die Weiße berührt hat, −1 ohne
    V2 lage[kAnzahlKugeln];             // Endlage; versenkte Kugeln: wo sie das Maul kreuzten
    bool inloch[kAnzahlKugeln];         // schon vorher eingelocht oder jetzt versenkt
    std::int8_t tasche[kAnzahlKugeln];  // Tasche, in die dieser Stoß sie versenkt hat, sonst −1
    double zeitVersenkt[kAnzahlKugeln];
    double dauer;                       // Zeit des letzten Ereignisses
    Ereignis ereignisse[kMaxEreignisse];
};

// Zum Zeichnen: je Kugel die Punkte ihres Wegs, gekrümmte Gleitbahnen fein
// unterteilt. Ist ein Weg voll, wird sein letzter Punkt überschrieben.
constexpr int kMaxWegpunkte = 256;
struct Laufweg {
    int anzahl;
    float x[kMaxWegpunkte];
    float y[kMaxWegpunkte];
};
struct Laufwege {
    Laufweg kugel[kAnzahlKugeln];
};

// Der Zustand einer Kugel nach einem Ereignis, für Prüfungen von außen.
struct Kugelzustand {
    V2 p;         // Lage
    V2 v;         // Geschwindigkeit
    V2 s;         // Rollgeschwindigkeit (Drall × r); rollt die Kugel, ist s = v
    bool aufDemTisch;
};
// Wird nach jedem Ereignis gerufen (Tests prüfen damit die Invarianten).
struct Simbeobachter {
    void (*nachEreignis)(void* daten, const Ereignis& ereignis, const Kugelzustand* kugeln);
    void* daten;
};

// Spielt stoss (Geschwindigkeit der Weißen, Stärke und Richtung) auf stand.
// Eingelochte Kugeln 1..15 spielen nicht mit; die Weiße liegt immer auf dem
// Tisch, weil sie gestoßen wird. false nur bei einem nicht endlichen Stoß.
bool Simuliere(const Tischgeometrie& g, const Welt& w, const Spielstand& stand, Vektor stoss, Simergebnis& e,
               Laufwege* wege = nullptr, const Simbeobachter* beobachter = nullptr);

// Der Spielstand nach dem Stoß: Endlagen, versenkte Kugeln eingelocht.
Spielstand Endstand(const Spielstand& vorher, const Simergebnis& e);

// Bewegungsenergie je Masseneinheit; der Drall einer Vollkugel trägt ein Fünftel von s² bei.
inline double Bewegungsenergie(const Kugelzustand& k) { return 0.5 * Quadrat(k.v) + 0.2 * Quadrat(k.s); }
