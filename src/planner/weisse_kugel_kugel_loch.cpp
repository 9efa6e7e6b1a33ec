// Weiße – Kugel – Kugel – Loch: die Kombination über eine zweite eigene Kugel.
#include "planner/pfad.h"
#include "planner/stossarten.h"

int FindeWeisseKugelKugelLoch(const Tischkontext& tk, const Spielstand& stand, Stoss* frei) {
    const Vektor s0 = Lage(stand.kugeln[0]);
    const float r = stand.kugeln[0].radius;
    const Winkelgrenze grenze = WinkelgrenzeVon(tk.tisch);
    bool eigene[kAnzahlKugeln];
    EigeneKugeln(stand, eigene);
    int n = 0;
    for (int i = 1; i < kAnzahlKugeln; ++i) {  // i fällt
        if (!eigene[i]) continue;
        const Vektor bi = Lage(stand.kugeln[i]);
        for (int k = 0; k < kAnzahlTaschenpunkte; ++k) {
            if (!TascheErlaubt(stand, i, k)) continue;
            const Vektor p = tk.taschenpunkte[k];
            const Vektor g1 = Anspielpunkt(bi, p, r);
            for (int j = 1; j < kAnzahlKugeln; ++j) {  // j wird von der Weißen getroffen
                if (!eigene[j] || j == i) continue;
                const Vektor g2 = Anspielpunkt(Lage(stand.kugeln[j]), g1, r);
                if (!WinkelAmPunktZulaessig(grenze, p, g1, g2)) continue;
                if (!WinkelAmPunktZulaessig(grenze, g1, g2, s0)) continue;
                if (KugelImWeg(tk, stand, p, g1, i, -1)) continue;
                if (KugelImWeg(tk, stand, g1, g2, i, j)) continue;
                if (KugelImWeg(tk, stand, g2, s0, j, -1)) continue;  // i kann der Weißen im Weg liegen
                if (BandeneckeImWeg(tk, stand, p, g1)) continue;
                Stoss s{};
                s.weiss = s0;
                s.ziel = g1;
                s.zwischenziel = g2;
                s.tasche = p;
                s.winkel = WinkelAmPunkt(p, g1, g2);
                s.winkel2 = WinkelAmPunkt(g1, g2, s0);
                s.art = WeisseKugelKugelLoch;
                s.bewertung = BewerteWeisseKugelKugelLoch(tk.tisch, s);
                frei[n++] = s;
            }
        }
    }
    return n;
}

float BewerteWeisseKugelKugelLoch(const Tisch& t, const Stoss& s) {
    const float d = Diagonale(t);
    const float drittel250 = 250.0f / 3.0f, drittel1000 = 1000.0f / 3.0f;
    const float winkel1 = Winkelkosten(100.0f, s.winkel);
    const float winkel2 = Winkelkosten(100.0f, s.winkel2);
    const float weisse = Anteil(drittel250, Abstand(s.weiss, s.zwischenziel), d);
    const float kugeln =
        Anteil(drittel1000, std::sqrt(Abstand(s.ziel, s.zwischenziel) + Abstand(s.zwischenziel, s.tasche)), std::sqrt(d));
    return kugeln + weisse + winkel2 + winkel1 + 300.0f;
}
