// Weiße – Bande – Kugel – Loch: die Weiße läuft erst über eine Bande.
#include "planner/pfad.h"
#include "planner/stossarten.h"

int FindeWeisseBandeKugelLoch(const Tischkontext& tk, const Spielstand& stand, Stoss* frei) {
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
            const Vektor g = Anspielpunkt(b, p, r);
            Vektor m[4];
            BandenPunkte(tk.tisch, g, s0, m);
            for (int j = 0; j < 4; ++j) {
                if (!WinkelAmPunktZulaessig(grenze, p, g, m[j])) continue;
                // Ball 0 wird nie geprüft: auf dem ersten Stück ist in Wahrheit
                // keine Kugel ausgenommen, auch die zu spielende nicht.
                if (KugelImWeg(tk, stand, m[j], s0, 0, -1)) continue;
                if (KugelImWeg(tk, stand, g, m[j], i, -1)) continue;
                if (KugelImWeg(tk, stand, p, g, i, -1)) continue;
                if (BandeneckeImWeg(tk, stand, p, g)) continue;
                if (!AufBande(tk.tisch, m[j], j == 1 || j == 3)) continue;
                Stoss s{};
                s.weiss = s0;
                s.ziel = g;
                s.tasche = p;
                s.bande = m[j];
                s.winkel = WinkelAmPunkt(p, g, m[j]);
                s.art = WeisseBandeKugelLoch;
                s.bewertung = BewerteWeisseBandeKugelLoch(tk.tisch, s);
                frei[n++] = s;
            }
        }
    }
    return n;
}

float BewerteWeisseBandeKugelLoch(const Tisch& t, const Stoss& s) {
    const float winkel = Winkelkosten(250.0f, s.winkel);
    const float l = Abstand(s.weiss, s.bande) + Abstand(s.bande, s.ziel) + Abstand(s.ziel, s.tasche);
    return Anteil(250.0f, l, DoppelteHalbdiagonale(t)) + winkel + 500.0f;
}
