// Welche Tische (oder Gestelle) ein Bericht umfasst: Bereiche von–bis, sortiert
// und zusammengelegt, damit Teilläufe, die sich zu einem ganzen Lauf fügen,
// genau dessen Bereich ergeben.
#pragma once

#include <cstdint>
#include <vector>

struct Bereich {
    std::uint32_t von, bis;  // einschließlich
    bool operator==(const Bereich&) const = default;
};

// Fügt b hinzu; false (und bereiche unverändert), wenn sich b mit einem
// vorhandenen Bereich überschneidet.
bool FuegeBereichHinzu(std::vector<Bereich>& bereiche, Bereich b);
