// Weiße – Kugel – Bande – Loch: der Bandenstoß der Objektkugel.
#include "planner/pfad.h"
#include "planner/stossarten.h"

int FindeWeisseKugelBandeLoch(const Tischkontext& tk, const Spielstand& stand, Stoss* frei) {
    const Vektor s0 = Lage(stand.kugeln[0]);
    const float r = stand.kugeln[0].radius;
    const Winkelgrenze grenze = WinkelgrenzeVon(tk.tisch);
    bool eigene[kAnzahlKugeln];
    EigeneKugeln(stand, eigene);
    int n = 0;
    for (int i = 1; i < kAnzahlKugeln; ++i) {
        if (!eigene[i]) continue;
        const Vektor b = Lage(stand.kugeln[i]);
        if (!WeitGenugVonDenBanden(tk.tisch, b, r)) continue;
        for (int k = 0; k < kAnzahlTaschenpunkte; ++k) {
            if (!TascheErlaubt(stand, i, k)) continue;
            const Vektor p = tk.taschenpunkte[k];
            Vektor m[4];
            BandenPunkte(tk.tisch, p, b, m);
            for (int j = 0; j < 4; ++j) {
                // Der Anspielpunkt zielt auf den Bandenpunkt, also je Bande neu.
                const Vektor g = Anspielpunkt(b, m[j], r);
                if (!WinkelAmPunktZulaessig(grenze, s0, g, m[j])) continue;
                if (KugelImWeg(tk, stand, p, m[j], 0, -1)) continue;
                if (KugelImWeg(tk, stand, g, m[j], i, -1)) continue;
                if (KugelImWeg(tk, stand, s0, g, i, -1)) continue;
                if (BandeneckeImWeg(tk, stand, p, m[j])) continue;
                if (!AufBande(tk.tisch, m[j], j == 1 || j == 3)) continue;
                Stoss s{};
                s.weiss = s0;
                s.ziel = g;
                s.tasche = p;
                s.bande = m[j];
                s.winkel = WinkelAmPunkt(s0, g, m[j]);
                s.art = WeisseKugelBandeLoch;
                s.bewertung = BewerteWeisseKugelBandeLoch(tk.tisch, s);
                frei[n++] = s;
            }
        }
    }
    return n;
}

float BewerteWeisseKugelBandeLoch(const Tisch& t, const Stoss& s) {
    const float winkel = Winkelkosten(250.0f, s.winkel);
    const float l = Abstand(s.weiss, s.ziel) + Abstand(s.ziel, s.bande) + Abstand(s.bande, s.tasche);
    return Anteil(250.0f, l, DoppelteHalbdiagonale(t)) + winkel + 500.0f;
}
