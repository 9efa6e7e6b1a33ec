// Saaten: jeder Tisch, jedes Gestell und jede Folge von Störungen kommt nur
// aus der Saat des Laufs und seiner Nummer. So zieht jeder Thread, jeder
// Planer und jeder Teil eines aufgeteilten Laufs dieselben Zahlen.
#pragma once

#include <cstdint>

// SplitMix64: verteilt nahe beieinanderliegende Saaten gut.
std::uint64_t Mische(std::uint64_t x);

// Die Störungen der Aufnahme auf Tisch tischNr (oder der beiden Partien auf Gestell tischNr).
std::uint64_t RauschSaat(std::uint32_t saat, std::uint32_t tischNr);

// Die Aufstellung von Gestell gestellNr.
std::uint32_t GestellSaat(std::uint32_t saat, std::uint32_t gestellNr);
