// Eine Fortschrittszeile auf der Fehlerausgabe: fertige Tische (oder Partien),
// Stöße je Sekunde, geschätzte Restzeit. Auf einem Terminal eine Zeile, die
// sich erneuert; sonst (Log eines Stapelauftrags) eine ganze Zeile je 5 %.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <ostream>

struct Fortschritt {
    bool aktiv = false;  // ein Terminal
    int stufe = 0;       // ohne Terminal: die letzte gezeigte 5-%-Stufe
    std::uint32_t gesamt = 0;
    std::atomic<std::uint32_t> fertig{0};
    std::atomic<long> stoesse{0};
    std::chrono::steady_clock::time_point start;
    std::chrono::steady_clock::time_point zuletzt;
    std::mutex mutex;
    std::ostream* aus = nullptr;
    const char* einheit = "Tische";
};

// aktiv nur, wenn fd ein Terminal ist; sonst ganze Zeilen.
void BeginneFortschritt(Fortschritt& f, std::uint32_t gesamt, int fd, std::ostream& aus);
// Nach jedem fertigen Tisch (jeder Partie), aus jedem Thread; schreibt auf
// einem Terminal höchstens fünfmal je Sekunde.
void TischFertig(Fortschritt& f, long stoesse);
// Schließt die Zeile ab.
void BeendeFortschritt(Fortschritt& f);

// Die Zeile selbst, ohne Terminal prüfbar.
std::string Fortschrittszeile(std::uint32_t fertig, std::uint32_t gesamt, long stoesse, double sekunden,
                              const char* einheit = "Tische");
