// Gemeinsames für die Tests: Vorgabetisch, leere Spielstände, Temp-Verzeichnis.
#pragma once

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "model/konfiguration.h"
#include "model/tischkontext.h"
#include "planner/robuste_suche.h"

// Der Vorgabetisch (config.ini ohne Schlüssel), einmal gebaut. Ein Test, der
// einen anderen Tisch braucht, baut sich seinen eigenen Kontext.
inline const Tischkontext& Vorgabetisch() {
    static const Tischkontext k = VorgabeKontext();
    return k;
}

// Der Tisch mit geänderten Werten, Taschenpunkte und Umriss neu gebaut.
template <class Aenderung>
Tischkontext Geaendert(Aenderung aendere) {
    Tisch t = Vorgabetisch().tisch;
    aendere(t);
    return BaueTischkontext(t);
}

// Die vorgegebene Suche auf dem Vorgabetisch mit der Physik der Vorgaben (wie
// die ausgelieferte config.ini).
inline Planergebnis PlaneVorgegeben(const Spielstand& s) {
    const IniDatei leer;
    return SucheStoss(Vorgabetisch(), s, PhysikAus(leer), KugelradiusAus(leer));
}

// Alle Kugeln eingelocht, Weiße bei (x, y): zum Aufbauen kleiner Lagen.
inline Spielstand LeererStand(float x, float y, std::int32_t gruppe) {
    Spielstand s{};
    for (Kugel& k : s.kugeln) {
        k.inloch = 1;
        k.radius = Vorgabetisch().tisch.radius;
    }
    s.kugeln[0].x = x;
    s.kugeln[0].y = y;
    s.kugeln[0].inloch = 0;
    s.gruppe = gruppe;
    return s;
}

inline void SetzeKugel(Spielstand& s, int i, float x, float y) {
    s.kugeln[i].x = x;
    s.kugeln[i].y = y;
    s.kugeln[i].inloch = 0;
}

// Halbe: die 9 mitten an der rechten kurzen Bande zwischen der 1 und der 2
// des Gegners; keine Tasche ist zu erreichen, aber die 9 frei zu treffen.
inline Spielstand NeunZwischenEinsUndZwei() {
    const Tisch& t = Vorgabetisch().tisch;
    const float r = t.radius, y = t.hoehe / 2, rechts = t.breite - t.bande_x - r;
    Spielstand s = LeererStand(77.0f, 43.0f, halbe);
    SetzeKugel(s, 9, rechts, y);
    SetzeKugel(s, 1, rechts, y - 2 * r - 0.01f);
    SetzeKugel(s, 2, rechts, y + 2 * r + 0.01f);
    SetzeKugel(s, 8, 60.0f, 41.5f);
    return s;
}

struct TempVerzeichnis {
    std::filesystem::path pfad;
    TempVerzeichnis() {
        std::string vorlage = (std::filesystem::temp_directory_path() / "stosswerk-XXXXXX").string();
        pfad = mkdtemp(vorlage.data());
    }
    ~TempVerzeichnis() {
        std::error_code ec;
        std::filesystem::remove_all(pfad, ec);
    }
    std::string Schreibe(const std::string& name, const std::string& inhalt) const {
        std::ofstream(pfad / name, std::ios::binary) << inhalt;
        return (pfad / name).string();
    }
};
