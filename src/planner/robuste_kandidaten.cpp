#include "planner/robuste_kandidaten.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "planner/hoechststaerke.h"
#include "planner/pfad.h"
#include "planner/robuste_zielfenster.h"
#include "planner/schiedsrichter.h"
#include "planner/stossarten.h"
#include "planner/stossstaerke.h"
#include "planner/suche.h"

namespace {

// Die Bandenstöße der Liste zielen mit dem Mittelpunkt der Weißen auf die
// Bandenlinie; die Kugel prallt aber schon r davor ab. Derselbe Spiegelpunkt
// auf der um r hereingerückten Linie trifft in der Welt des Planers genau.
Vektor BandenpunktMitRadius(const Tisch& t, const Stoss& s, float r) {
    const float bx = t.bande_x, by = t.bande_y, rechts = t.breite - bx, oben = t.hoehe - by;
    const Vektor von = s.ziel, nach = s.weiss;
    auto teile = [](float a, float b) { return a / (a + b); };
    const float dx = nach.x - von.x, dy = nach.y - von.y;
    if (s.bande.x == bx) {
        const float q = teile(von.x - bx - r, nach.x - bx - r);
        return {bx + r, von.y + dy * q, 0.0f};
    }
    if (s.bande.x == rechts) {
        const float q = teile(rechts - r - von.x, rechts - r - nach.x);
        return {rechts - r, von.y + dy * q, 0.0f};
    }
    if (s.bande.y == by) {
        const float q = teile(von.y - by - r, nach.y - by - r);
        return {von.x + dx * q, by + r, 0.0f};
    }
    if (s.bande.y == oben) {
        const float q = teile(oben - r - von.y, oben - r - nach.y);
        return {von.x + dx * q, oben - r, 0.0f};
    }
    return s.bande;
}

bool GleicherDirekter(const Stoss& a, const Stoss& b) {
    return a.art == WeisseKugelLoch && a.ziel.x == b.ziel.x && a.ziel.y == b.ziel.y && a.tasche.x == b.tasche.x &&
           a.tasche.y == b.tasche.y;
}

}  // namespace

// Die Simulation entscheidet, ob sie trotzdem gehen.
int GroszuegigeDirekte(const Tischkontext& tk, const Spielstand& stand, Stoss* frei) {
    const Vektor w = Lage(stand.kugeln[0]);
    const float r = stand.kugeln[0].radius;
    bool eigene[kAnzahlKugeln];
    EigeneKugeln(stand, eigene);
    int n = 0;
    for (int i = 1; i < kAnzahlKugeln; ++i) {
        if (!eigene[i] || stand.kugeln[i].inloch) continue;
        const Vektor b = Lage(stand.kugeln[i]);
        for (int j = 0; j < kAnzahlTaschenpunkte; ++j) {
            if (!TascheErlaubt(stand, i, j)) continue;
            const Vektor p = tk.taschenpunkte[j];
            const Vektor g = Anspielpunkt(b, p, r);
            const float winkel = Winkel({p.x - b.x, p.y - b.y, 0.0f}, {w.x - g.x, w.y - g.y, 0.0f});
            if (!(winkel > 92.0f)) continue;  // höchstens 88° Schnitt
            Stoss s{};
            s.weiss = w;
            s.ziel = g;
            s.tasche = p;
            s.winkel = winkel;
            s.art = WeisseKugelLoch;
            s.bewertung = BewerteWeisseKugelLoch(tk.tisch, s);
            frei[n++] = s;
        }
    }
    return n;
}

Kandidatenliste ListenKandidaten(const Tischkontext& tk, const Spielstand& stand, int kandidaten) {
    Kandidatenliste k;
    k.liste.resize(kListenGroesse);
    k.n = SucheKandidaten(tk, stand, k.liste.data(), k.anzahl);
    k.frei = k.n;
    k.kandidaten.push_back(0);
    for (int i = 1; i < k.n && static_cast<int>(k.kandidaten.size()) <= kandidaten; ++i)
        if (Lochstoss(k.liste[i].art)) k.kandidaten.push_back(i);
    return k;
}

bool HaengeAn(Kandidatenliste& k, const Stoss& s) {
    if (k.frei >= kListenGroesse) return false;
    k.liste[k.frei] = s;
    k.kandidaten.push_back(k.frei++);
    return true;
}

bool Lochstoss(std::int32_t art) { return art >= WeisseKugelLoch && art <= WeisseKugelKugelLoch; }

std::vector<Stoss> GuteGroszuegige(const Kandidatenliste& k, Durchspiel& d, const Physik& physik, float radius,
                                   int kandidatenZahl) {
    std::vector<Stoss> extra(kMaxWeisseKugelLoch), gut;
    const int m = GroszuegigeDirekte(d.tk, d.stand, extra.data());
    for (int i = 0; i < m && !Abgelaufen(d.frist); ++i) {
        bool schonDa = false;
        for (int j : k.kandidaten) schonDa |= GleicherDirekter(k.liste[j], extra[i]);
        if (schonDa) continue;
        const float staerke = BerechneStossstaerke(extra[i], physik, radius);
        for (float faktor : {1.3f, 2.2f}) {
            if (Abgelaufen(d.frist)) break;
            SpieleStoss(d, StossVektor(extra[i], staerke * faktor));
            if (BeurteileStoss(d.stand, d.e).erfolg) {
                gut.push_back(extra[i]);
                break;
            }
        }
    }
    std::stable_sort(gut.begin(), gut.end(), [](const Stoss& a, const Stoss& b) { return a.bewertung < b.bewertung; });
    gut.resize(std::min<std::size_t>(gut.size(), static_cast<std::size_t>(std::max(2, kandidatenZahl / 2))));
    return gut;
}

Vektor Gedreht(Vektor v, float grad) {
    const double a = grad * std::numbers::pi / 180.0, c = std::cos(a), s = std::sin(a);
    return {static_cast<float>(v.x * c - v.y * s), static_cast<float>(v.x * s + v.y * c), 0.0f};
}

namespace {

// Derselbe Stoß (bis auf Rundung) schon unter den Varianten ab ab?
bool SchonDa(const std::vector<Variante>& varianten, std::size_t ab, Vektor v) {
    for (std::size_t i = ab; i < varianten.size(); ++i)
        if (Laenge(Subtrahiere(varianten[i].stoss, v)) < 1e-4f * Laenge(v)) return true;
    return false;
}

}  // namespace

void FensterVarianten(std::vector<Variante>& varianten, int kandidat, Vektor richtung, float staerke,
                      std::span<const float> faktoren, float grenze, Durchspiel& d, std::size_t eigeneAb) {
    float start = 0.0f;
    for (float faktor : faktoren) {
        const Vektor stoss = Begrenzt(Skaliere(richtung, staerke * faktor), grenze);
        const Zielfenster f = SucheZielfenster(d, stoss, start, grenze);
        if (f.gefunden) {
            start = Mitte(f);
            Variante v;
            v.kandidat = kandidat;
            v.stoss = Begrenzt(Gedreht(stoss, start), grenze);
            if (!SchonDa(varianten, eigeneAb, v.stoss)) varianten.push_back(v);
        }
        if (!(staerke * faktor < grenze)) break;
    }
}

void KandidatenVarianten(const Kandidatenliste& k, std::size_t ab, const Physik& physik, float radius, Durchspiel& d,
                         std::vector<Variante>& varianten) {
    const float grenze = Hoechststaerke(physik);
    for (std::size_t j = ab; j < k.kandidaten.size() && !Abgelaufen(d.frist); ++j) {
        const int i = k.kandidaten[j];
        const Stoss& s = k.liste[i];
        const float staerke = BerechneStossstaerke(s, physik, radius);
        const std::size_t eigeneAb = varianten.size();
        // Bei Bandenstößen zuerst vom Bandenpunkt mit Radius aus: er liegt näher am Fenster.
        if (s.art == WeisseBandeKugelLoch) {
            const Vektor m = BandenpunktMitRadius(d.tk.tisch, s, radius);
            const Vektor richtung{m.x - s.weiss.x, m.y - s.weiss.y, 0.0f};
            if (Laenge(richtung) > 0.0f) FensterVarianten(varianten, i, Normiere(richtung), staerke, kFaktoren, grenze, d, eigeneAb);
        }
        FensterVarianten(varianten, i, StossVektor(s, 1.0f), staerke, kFaktoren, grenze, d, eigeneAb);
    }
}
