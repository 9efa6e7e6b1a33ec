#include "planner/anstoss.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "planner/regeln.h"
#include "sim/rauschen.h"

namespace {

// Seitlicher Versatz des Zielpunkts an der Spitze in Radien: voll, halb und
// ganz seitlich, und knapp an ihr vorbei auf eine Kugel der zweiten Reihe.
constexpr float kVersaetze[] = {0.0f, 0.5f, -0.5f, 1.0f, -1.0f, 2.5f, -2.5f};
constexpr float kStaerken[] = {1.0f, 0.85f, 0.7f};  // × Höchststärke
constexpr int kAnstossVorproben = 4;
constexpr int kAnstossEngereWahl = 4;

struct Anstossprobe {
    Vektor stoss;
    int gut = 0, gueltig = 0, proben = 0;
};

// Ein gültiger Anstoß ohne Foul; auf dem Anstoß ist der Tisch offen. Was an
// die Grenze der Ereignisse stößt, ist unbekannt und zählt nicht.
bool Gueltig(const Spielstand& offen, const Simergebnis& e) {
    return !e.ereignisgrenze && AnstossGueltig(e) && PruefeFoul(offen, e) == Foul::keins;
}

bool Versenkt(const Simergebnis& e) {
    for (int i = 1; i < kAnzahlKugeln; ++i)
        if (i != 8 && e.tasche[i] >= 0) return true;
    return false;
}

void SpieleAnstoesse(Durchspiel& d, const Spielstand& offen, Anstossprobe& a, int bis) {
    for (int k = a.proben; k < bis && !Abgelaufen(d.frist); ++k) {
        SpieleStoss(d, VerrauscheStoss(a.stoss, d.rauschen, d.zr[k], d.zs[k]));
        const bool gueltig = Gueltig(offen, d.e);
        a.gueltig += gueltig;
        a.gut += gueltig && Versenkt(d.e);
        a.proben = k + 1;
    }
}

// Vorn, wer öfter versenkt, dann wer öfter gültig anstößt (je Probe, ganzzahlig verglichen).
bool Besser(const Anstossprobe& a, const Anstossprobe& b) {
    const long pa = std::max(a.proben, 1), pb = std::max(b.proben, 1);
    if (a.gut * pb != b.gut * pa) return a.gut * pb > b.gut * pa;
    return a.gueltig * pb > b.gueltig * pa;
}

// Die Objektkugel, die der Weißen am nächsten liegt: die Spitze, von ihr aus gesehen.
int Spitze(const Spielstand& s) {
    int spitze = 1;
    double naechste = INFINITY;
    for (int i = 1; i < kAnzahlKugeln; ++i) {
        const double a = std::hypot(s.kugeln[i].x - s.kugeln[0].x, s.kugeln[i].y - s.kugeln[0].y);
        if (a < naechste) naechste = a, spitze = i;
    }
    return spitze;
}

std::vector<Anstossprobe> Anstoesse(const Spielstand& s, float r, float grenze) {
    const Kugel &w = s.kugeln[0], &sp = s.kugeln[Spitze(s)];
    const double dx = sp.x - w.x, dy = sp.y - w.y, l = std::hypot(dx, dy);
    std::vector<Anstossprobe> liste;
    for (float staerke : kStaerken)
        for (float versatz : kVersaetze) {
            // Zielpunkt neben der Spitze, quer zur Linie Weiße–Spitze.
            const double zx = dx - dy / l * versatz * r, zy = dy + dx / l * versatz * r, lz = std::hypot(zx, zy);
            const double v = grenze * staerke;
            liste.push_back({{static_cast<float>(zx / lz * v), static_cast<float>(zy / lz * v), 0.0f}});
        }
    return liste;
}

}  // namespace

bool VollesDreieck(const Spielstand& stand, float r) {
    double mx = 0.0, my = 0.0;
    for (int i = 1; i < kAnzahlKugeln; ++i) {
        if (stand.kugeln[i].inloch) return false;
        mx += stand.kugeln[i].x / 15.0;
        my += stand.kugeln[i].y / 15.0;
    }
    auto abstand = [](const Kugel& a, double x, double y) { return std::hypot(a.x - x, a.y - y); };
    if (!(abstand(stand.kugeln[0], mx, my) > 7.5 * r)) return false;
    for (int i = 1; i < kAnzahlKugeln; ++i) {
        if (!(abstand(stand.kugeln[i], mx, my) <= 5.5 * r)) return false;
        int nachbarn = 0;
        for (int j = 1; j < kAnzahlKugeln; ++j)
            nachbarn += j != i && abstand(stand.kugeln[j], stand.kugeln[i].x, stand.kugeln[i].y) <= 2.2 * r;
        if (nachbarn < 2) return false;
    }
    return true;
}

Anstosswahl WaehleAnstoss(Durchspiel& d, float r, float grenze, int proben) {
    Spielstand offen = d.stand;
    offen.gruppe = alle;
    std::vector<Anstossprobe> liste = Anstoesse(d.stand, r, grenze);
    for (Anstossprobe& a : liste) SpieleAnstoesse(d, offen, a, kAnstossVorproben);
    std::stable_sort(liste.begin(), liste.end(), Besser);
    for (int i = 0; i < kAnstossEngereWahl; ++i) SpieleAnstoesse(d, offen, liste[i], std::max(proben / 2, kAnstossVorproben));
    std::stable_sort(liste.begin(), liste.begin() + kAnstossEngereWahl, Besser);

    // Der beste, der ohne Rauschen gültig anstößt; sonst der beste.
    Anstosswahl wahl;
    const Anstossprobe* gewaehlt = &liste[0];
    for (const Anstossprobe& a : liste) {
        if (a.proben == 0 || Abgelaufen(d.frist)) break;
        SpieleStoss(d, a.stoss);
        if (Gueltig(offen, d.e)) {
            gewaehlt = &a;
            wahl.gueltig = true;
            break;
        }
    }
    wahl.stoss = gewaehlt->stoss;
    wahl.erfolge = gewaehlt->gut;
    wahl.proben = gewaehlt->proben;
    return wahl;
}
