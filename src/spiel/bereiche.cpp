#include "spiel/bereiche.h"

#include <algorithm>

bool FuegeBereichHinzu(std::vector<Bereich>& bereiche, Bereich b) {
    for (const Bereich& x : bereiche)
        if (b.von <= x.bis && x.von <= b.bis) return false;
    bereiche.push_back(b);
    std::sort(bereiche.begin(), bereiche.end(), [](const Bereich& l, const Bereich& r) { return l.von < r.von; });
    std::vector<Bereich> zusammen;
    for (const Bereich& x : bereiche) {
        if (!zusammen.empty() && static_cast<std::uint64_t>(zusammen.back().bis) + 1 == x.von) zusammen.back().bis = x.bis;
        else zusammen.push_back(x);
    }
    bereiche = std::move(zusammen);
    return true;
}
