#include "spiel/saat.h"

std::uint64_t Mische(std::uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

std::uint64_t RauschSaat(std::uint32_t saat, std::uint32_t tischNr) {
    return Mische((static_cast<std::uint64_t>(saat) << 32) | tischNr);
}

std::uint32_t GestellSaat(std::uint32_t saat, std::uint32_t gestellNr) {
    // Noch einmal gemischt: eine andere Folge als die der Störungen desselben Gestells.
    return static_cast<std::uint32_t>(Mische(RauschSaat(saat, gestellNr)) >> 32);
}
