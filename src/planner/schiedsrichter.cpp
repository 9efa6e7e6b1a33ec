#include "planner/schiedsrichter.h"

#include "planner/pfad.h"

const char* Ursachenname(Ursache u) {
    switch (u) {
        case Ursache::keine: return "";
        case Ursache::verfehlt: return "verfehlt";
        case Ursache::weisse_versenkt: return "weisse_versenkt";
        case Ursache::falsche_erste: return "falsche_erste";
        case Ursache::keine_beruehrung: return "keine_beruehrung";
        case Ursache::schwarze_zu_frueh: return "schwarze_zu_frueh";
    }
    return "?";
}

Urteil BeurteileStoss(const Spielstand& vorher, const Simergebnis& e) {
    bool eigene[kAnzahlKugeln] = {};
    EigeneKugeln(vorher, eigene);
    // Eine schon eingelochte Schwarze ist keine Kugel mehr, auch wenn die
    // Regel des Planers sie bei "alle" weiter eigene nennt.
    const bool schwarzeEigene = eigene[8] && !vorher.kugeln[8].inloch;

    // Eine Kugel mit Zieltasche zählt nur in ihr; die Schwarze in einer anderen
    // verliert wie eine zu frühe.
    auto inIhrer = [&](int i) { return TascheErlaubt(vorher, i, 3 * e.tasche[i]); };
    Urteil u{false, Ursache::keine, 0, false};
    for (int i = 1; i < kAnzahlKugeln; ++i)
        if (e.tasche[i] >= 0 && (i == 8 ? schwarzeEigene : eigene[i]) && inIhrer(i)) ++u.eigeneVersenkt;

    const int erste = e.ersteBeruehrung;
    if (e.tasche[8] >= 0 && !(schwarzeEigene && inIhrer(8))) u.ursache = Ursache::schwarze_zu_frueh;
    else if (e.tasche[0] >= 0) u.ursache = Ursache::weisse_versenkt;
    else if (erste < 0) u.ursache = Ursache::keine_beruehrung;
    else if (erste == 8 ? !schwarzeEigene : !eigene[erste]) u.ursache = Ursache::falsche_erste;
    else if (u.eigeneVersenkt == 0) u.ursache = Ursache::verfehlt;
    u.erfolg = u.ursache == Ursache::keine;

    if (u.erfolg) {
        // Geräumt: alle eigenen Kugeln und danach die Schwarze sind gefallen.
        u.geraeumt = e.tasche[8] >= 0;
        for (int i = 1; i < kAnzahlKugeln && u.geraeumt; ++i)
            if (i != 8 && eigene[i] && e.tasche[i] < 0) u.geraeumt = false;
    }
    return u;
}
