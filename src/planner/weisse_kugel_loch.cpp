// Der direkte Stoß: Weiße – Kugel – Loch.
#include "planner/pfad.h"
#include "planner/stossarten.h"

int FindeWeisseKugelLoch(const Tischkontext& tk, const Spielstand& stand, Stoss* frei) {
    const Vektor k0 = Lage(stand.kugeln[0]);
    const float r = stand.kugeln[0].radius;
    const Winkelgrenze grenze = WinkelgrenzeVon(tk.tisch);
    bool eigene[kAnzahlKugeln];
    EigeneKugeln(stand, eigene);
    int n = 0;
    for (int i = 1; i < kAnzahlKugeln; ++i) {
        if (!eigene[i]) continue;
        const Vektor b = Lage(stand.kugeln[i]);
        for (int j = 0; j < kAnzahlTaschenpunkte; ++j) {
            if (!TascheErlaubt(stand, i, j)) continue;
            const Vektor p = tk.taschenpunkte[j];
            const Vektor g = Anspielpunkt(b, p, r);
            // 180 ist ein voller Treffer, 180 − α der Schnittwinkel.
            const Vektor zurTasche{p.x - b.x, p.y - b.y, 0.0f}, zurWeissen{k0.x - g.x, k0.y - g.y, 0.0f};
            // Die billigen Prüfungen zuerst, die Wegprüfungen zuletzt.
            if (!WinkelZulaessig(grenze, zurTasche, zurWeissen)) continue;
            if (!ImSpielfeld(tk.tisch, g, r)) continue;
            if (KugelImWeg(tk, stand, p, g, i, -1)) continue;
            if (KugelImWeg(tk, stand, k0, g, i, -1)) continue;
            if (BandeneckeImWeg(tk, stand, p, g)) continue;
            Stoss s{};
            s.weiss = k0;
            s.ziel = g;
            s.tasche = p;
            s.winkel = Winkel(zurTasche, zurWeissen);
            s.art = WeisseKugelLoch;
            s.bewertung = BewerteWeisseKugelLoch(tk.tisch, s);
            frei[n++] = s;
        }
    }
    return n;
}

float BewerteWeisseKugelLoch(const Tisch& t, const Stoss& s) {
    const float winkel = Winkelkosten(250.0f, s.winkel);
    const float weg = Anteil(250.0f, Abstand(s.weiss, s.ziel) + Abstand(s.ziel, s.tasche), Diagonale(t));
    return winkel + weg;
}
