// Notstoß: die Weiße trifft eine eigene Kugel voll, ohne Tasche im Blick.
#include "planner/pfad.h"
#include "planner/stossarten.h"

int FindeNurAnspielen(const Tischkontext& tk, const Spielstand& stand, Stoss* frei) {
    const Vektor s0 = Lage(stand.kugeln[0]);
    bool eigene[kAnzahlKugeln];
    EigeneKugeln(stand, eigene);
    int n = 0;
    for (int i = 1; i < kAnzahlKugeln; ++i) {
        if (!eigene[i]) continue;
        const Vektor b = Lage(stand.kugeln[i]);
        if (KugelImWeg(tk, stand, s0, b, i, -1)) continue;
        Stoss s{};
        s.weiss = s0;
        s.ziel = b;
        s.art = NurAnspielen;
        s.bewertung = BewerteNurAnspielen(tk.tisch, s);
        frei[n++] = s;
    }
    return n;
}

float BewerteNurAnspielen(const Tisch& t, const Stoss& s) {
    return Anteil(500.0f, Abstand(s.weiss, s.ziel), Diagonale(t)) + 1500.0f;
}
