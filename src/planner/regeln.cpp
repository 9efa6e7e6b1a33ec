#include "planner/regeln.h"

namespace {

bool Bandenereignis(Ereignisart a) {
    return a == Ereignisart::bande || a == Ereignisart::backe || a == Ereignisart::ecke;
}

// Berührt die Weiße überhaupt eine Kugel, ab welchem Ereignis; sonst −1.
int ErsteBeruehrungBei(const Simergebnis& e) {
    for (int n = 0; n < e.anzahl; ++n) {
        const Ereignis& x = e.ereignisse[n];
        if (x.art == Ereignisart::kugel && (x.kugel == 0 || x.andere == 0)) return n;
    }
    return -1;
}

}  // namespace

const char* Foulname(Foul f) {
    switch (f) {
        case Foul::keins: return "";
        case Foul::weisse_versenkt: return "weisse_versenkt";
        case Foul::keine_beruehrung: return "keine_beruehrung";
        case Foul::falsche_erste: return "falsche_erste";
        case Foul::keine_bande: return "keine_bande";
    }
    return "?";
}

void ErlaubteErste(const Spielstand& vorher, bool erlaubt[kAnzahlKugeln]) {
    const std::int32_t g = vorher.gruppe;
    int liegen = 0;
    erlaubt[0] = erlaubt[8] = false;
    for (int i = 1; i < kAnzahlKugeln; ++i) {
        if (i == 8) continue;
        const bool gruppe = g == alle || (i < 8 ? g == volle : g == halbe);
        erlaubt[i] = gruppe && !vorher.kugeln[i].inloch;
        liegen += erlaubt[i];
    }
    erlaubt[8] = liegen == 0 && !vorher.kugeln[8].inloch;
}

int KugelnAnBande(const Simergebnis& e) {
    bool an[kAnzahlKugeln] = {};
    int n = 0;
    for (int i = 0; i < e.anzahl; ++i) {
        const Ereignis& x = e.ereignisse[i];
        if (x.kugel > 0 && Bandenereignis(x.art) && !an[x.kugel]) an[x.kugel] = true, ++n;
    }
    return n;
}

Foul PruefeFoul(const Spielstand& vorher, const Simergebnis& e) {
    if (e.tasche[0] >= 0) return Foul::weisse_versenkt;
    const int erste = e.ersteBeruehrung;
    if (erste < 0) return Foul::keine_beruehrung;
    bool erlaubt[kAnzahlKugeln];
    ErlaubteErste(vorher, erlaubt);
    if (!erlaubt[erste]) return Foul::falsche_erste;
    for (int i = 1; i < kAnzahlKugeln; ++i)
        if (e.tasche[i] >= 0) return Foul::keins;
    // Nach der Berührung muss eine Kugel (auch die Weiße) eine Bande erreichen.
    for (int n = ErsteBeruehrungBei(e) + 1; n > 0 && n < e.anzahl; ++n)
        if (Bandenereignis(e.ereignisse[n].art)) return Foul::keins;
    return Foul::keine_bande;
}

bool AnstossGueltig(const Simergebnis& e) {
    for (int i = 1; i < kAnzahlKugeln; ++i)
        if (e.tasche[i] >= 0) return true;
    return KugelnAnBande(e) >= 4;
}
