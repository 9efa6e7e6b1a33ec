// Eine Fortschrittszeile auf der Fehlerausgabe, nur auf einem Terminal:
// fertige Tische (oder Partien), Stöße je Sekunde, geschätzte Restzeit.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <ostream>

struct Fortschritt {
    bool aktiv = false;
    std::uint32_t gesamt = 0;
    std::atomic<std::uint32_t> fertig{0};
    std::atomic<long> stoesse{0};
    std::chrono::steady_clock::time_point start;
    std::chrono::steady_clock::time_point zuletzt;
    std::mutex mutex;
    std::ostream* aus = nullptr;
    const char* einheit = "Tische";
};

// aktiv nur, wenn fd ein Terminal ist.
void BeginneFortschritt(Fortschritt& f, std::uint32_t gesamt, int fd, std::ostream& aus);
// Nach jedem fertigen Tisch (jeder Partie), aus jedem Thread; schreibt höchstens fünfmal je Sekunde.
void TischFertig(Fortschritt& f, long stoesse);
// Schließt die Zeile ab.
void BeendeFortschritt(Fortschritt& f);

// Die Zeile selbst, ohne Terminal prüfbar.
std::string Fortschrittszeile(std::uint32_t fertig, std::uint32_t gesamt, long stoesse, double sekunden,
                              const char* einheit = "Tische");
