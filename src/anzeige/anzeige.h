// Wohin sichtbare Ausgaben gehen: ein Datensatz aus Rückrufen (Fenster, Konsole
// oder Aufzeichnung für Tests). Wer etwas zeigt, bekommt ihn vom Programm
// gereicht; Planer, Simulation und Lernen sehen nie einen, sie geben ihre
// Zeilen und Linien als Daten zurück.
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

#include "anzeige/linie.h"
#include "anzeige/texte.h"
#include "geometry/vektor.h"
#include "model/tisch.h"

enum class Symbol { Keins, Fehler, Information };

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
    // Die empfangenen Kugeln (Lage, inloch) ersetzen die der Ansicht, die sie neu zeigt.
    std::function<void(const Spielstand& empfangen)> kugelnUebernommen;
    std::function<void(std::string_view titel, std::string_view text, Symbol)> meldung;
};

// Konsole: Log nach stdout, Meldungen als "TITEL: Text" nach stderr, Felder
// und Linien entfallen.
Anzeige KonsolenAnzeige();
// Verwirft alles (Benchmarks, Läufe ohne Zuschauer).
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
};
Anzeige AufzeichnendeAnzeige(Aufzeichnung& a);

// Wartet, bis bedingung(a) unter dem Mutex wahr ist; false nach der Zeitgrenze.
template <class Bedingung>
bool Warte(Aufzeichnung& a, Bedingung bedingung, std::chrono::milliseconds grenze = std::chrono::seconds(10)) {
    std::unique_lock sperre(a.mutex);
    return a.geaendert.wait_for(sperre, grenze, [&] { return bedingung(a); });
}

// --- die Anzeige-Funktionen ---

// Wie FormatiereLog, ins Log an die Schreibmarke.
void SchreibeLog(const Anzeige& a, const char* format, ...);
void LoescheLog(const Anzeige& a);
void ZeigeKugeln(const Anzeige& a, const Spielstand& stand);
void ZeigeVektor(const Anzeige& a, const Vektor& v);
void ZeigeMeldung(const Anzeige& a, std::string_view titel, std::string_view text, Symbol symbol);
// Zeilen und Linien eines Plans in ihrer Reihenfolge.
void ZeigeProtokoll(const Anzeige& a, const std::vector<std::string>& zeilen);
void ZeichneLinien(const Anzeige& a, const std::vector<Linie>& linien);
