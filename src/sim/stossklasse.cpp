#include "sim/stossklasse.h"

#include "sim/simulation.h"

Stossklasse KlasseAus(const Simergebnis& e) {
    bool anBande[kAnzahlKugeln] = {};
    bool beruehrt = false;  // die Weiße hat eine Kugel getroffen
    bool kugelBande = false;
    for (int n = 0; n < e.anzahl; ++n) {
        const Ereignis& x = e.ereignisse[n];
        if (x.art == Ereignisart::kugel && (x.kugel == 0 || x.andere == 0)) beruehrt = true;
        if (x.art == Ereignisart::bande && x.kugel >= 0) {
            if (x.kugel == 0 && !beruehrt) return Stossklasse::weisseBande;
            anBande[x.kugel] = true;
        }
        if (x.art == Ereignisart::tasche && x.kugel > 0 && anBande[x.kugel]) kugelBande = true;
    }
    return kugelBande ? Stossklasse::kugelBande : Stossklasse::direkt;
}

const char* Klassenname(Stossklasse k) {
    switch (k) {
        case Stossklasse::weisseBande: return "Weiße über Bande";
        case Stossklasse::kugelBande: return "Kugel über Bande";
        default: return "direkt";
    }
}

const char* Klassenschluessel(Stossklasse k) {
    switch (k) {
        case Stossklasse::weisseBande: return "weisse_bande";
        case Stossklasse::kugelBande: return "kugel_bande";
        default: return "direkt";
    }
}
