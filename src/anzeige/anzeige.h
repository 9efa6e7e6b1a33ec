// Wohin sichtbare Ausgaben gehen: ein Datensatz aus Rückrufen, einmal beim
// Start installiert (Fenster, Konsole oder Aufzeichnung für Tests). Planer und
// Netz rufen nur die freien Funktionen unten; die Textaufbereitung geschieht
// hier, ohne Qt.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "geometry/vektor.h"
#include "model/tisch.h"

enum class Symbol { Keins, Fehler, Information };

// Farbe als 0xRRGGBB.
constexpr std::uint32_t kRot = 0xFF0000;
constexpr std::uint32_t kBlau = 0x0000FF;
constexpr std::uint32_t kGrau = 0xC0C0C0;

struct Linie {
    float x1, y1, x2, y2;  // Tischeinheiten
    std::uint32_t farbe;
};

// Die Anzeigefelder des Fensters.
enum Feld : int {
    FeldLog = 1005,
    FeldGruppe = 1008,
    FeldZieltasche = 1009,
    FeldKugeln = 1010,
    FeldX = 1011,
    FeldY = 1012,
    FeldZ = 1013,
    FeldBetrag = 1014,
};

struct Anzeige {
    std::function<void(std::string_view)> logEinfuegen;  // an der Schreibmarke, ersetzt eine Auswahl
    std::function<void()> logLeeren;
    std::function<void(int feld, std::string_view)> feldSetzen;
    std::function<void(Linie)> linieZeichnen;
    std::function<void()> kugelnUebernommen;  // die Ansicht muss die neuen Kugeln zeigen
    std::function<void(std::string_view titel, std::string_view text, Symbol)> meldung;
    // Die Suche hat auf stand diesen Stoß gewählt (das Fenster zeigt auf Wunsch seine Laufwege).
    std::function<void(const Spielstand& stand, Vektor stoss)> stossGespielt;
};

// Einmal beim Start, bevor Threads laufen.
void InstalliereAnzeige(Anzeige anzeige);

// Konsole: Log nach stdout, Meldungen als "TITEL: Text" nach stderr, Felder,
// Linien und gespielte Stöße entfallen.
Anzeige KonsolenAnzeige();
// Verwirft alles (Benchmarks).
Anzeige StilleAnzeige();

// Für Tests: hält fest, was angezeigt wurde. Threadsicher; wer auf eine
// Anzeige eines anderen Threads wartet, wartet mit Warte() auf das Ereignis.
struct Aufzeichnung {
    std::mutex mutex;
    std::condition_variable geaendert;
    std::string log;
    std::map<int, std::string> felder;
    std::vector<Linie> linien;
    int uebernommen = 0;
    std::vector<std::string> meldungen;  // "TITEL: Text"
    std::vector<Vektor> stoesse;         // gespielte Stöße
};
Anzeige AufzeichnendeAnzeige(Aufzeichnung& a);

// Wartet, bis bedingung(a) unter dem Mutex wahr ist; false nach der Zeitgrenze.
template <class Bedingung>
bool Warte(Aufzeichnung& a, Bedingung bedingung, std::chrono::milliseconds grenze = std::chrono::seconds(10)) {
    std::unique_lock sperre(a.mutex);
    return a.geaendert.wait_for(sperre, grenze, [&] { return bedingung(a); });
}

// --- die Anzeige-Funktionen ---

// printf-ähnlich, aber nur %d (int), %f (double, als %.2f) und %s; jedes andere
// Zeichen nach % wird selbst angehängt. Höchstens 1023 Zeichen.
void SchreibeLog(const char* format, ...);
void LoescheLog();
void ZeigeKugeln(const Spielstand& stand);
void ZeigeVektor(const Vektor& v);
void ZeichneLinie(float x1, float y1, float x2, float y2, std::uint32_t farbe);
void ZeigeMeldung(std::string_view titel, std::string_view text, Symbol symbol);
// Am Ende jeder Suche, mit dem Stoß, den sie zurückgibt.
void MeldeStoss(const Spielstand& stand, Vektor stoss);
// Übernimmt Lage und inloch der empfangenen Kugeln in den Spielstand des
// Fensters (unter spielstandMutex) und lässt die Ansicht neu zeichnen.
void UebernehmeKugeln(const Spielstand& empfangen);

// --- die reine Textaufbereitung, ohne Anzeige prüfbar ---

std::string FormatiereLog(const char* format, ...);
std::string KugelnText(const Spielstand& stand);
std::string GruppenText(std::int32_t gruppe);
std::string ZieltaschenText(const Spielstand& stand);
// Die vier Felder x, y, z, Betrag.
void VektorTexte(const Vektor& v, std::string texte[4]);
