#include "statistik.h"

#include <algorithm>
#include <cstddef>

std::optional<double> Median(std::vector<double> werte) {
    if (werte.empty()) return std::nullopt;
    std::sort(werte.begin(), werte.end());
    const std::size_t m = werte.size() / 2;
    return werte.size() % 2 == 1 ? werte[m] : (werte[m - 1] + werte[m]) / 2;
}

std::optional<double> Perzentil99(std::vector<double> werte) {
    if (werte.empty()) return std::nullopt;
    std::sort(werte.begin(), werte.end());
    // Rang = aufgerundet 0.99 · n, ganzzahlig gerechnet.
    const std::size_t rang = (werte.size() * 99 + 99) / 100;
    return werte[rang - 1];
}
