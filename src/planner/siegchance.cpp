#include "planner/siegchance.h"

#include <algorithm>
#include <vector>

#include "planner/hoechststaerke.h"
#include "planner/pfad.h"
#include "planner/regeln.h"
#include "planner/robuste_kandidaten.h"
#include "planner/robuste_zielfenster.h"
#include "planner/schiedsrichter.h"
#include "planner/sicherheitsstoss.h"
#include "planner/stellungsspiel.h"
#include "planner/stossstaerke.h"
#include "planner/suche.h"
#include "sim/rauschen.h"

namespace {

// Ein Foul gibt dem Gegner die Weiße in die Hand: er legt sie sich, wo sein
// Stoß sicher geht, und dazu für den Stoß danach; es zählt etwas weniger als
// der schlechteste gültige Ausgang. Mit weniger hielt der Wert ein Foul für
// besser als einen Sicherheitsstoß, nach dem der Gegner sicher locht, und
// spielte blind in die Kugeln.
constexpr double kQuoteMitWeisserInDerHand = 1.0;
constexpr double kFoulabzug = 0.02;

int Gekappt(int n) { return std::clamp(n, 0, kHoechstZuLochen); }

}  // namespace

double TypischeQuote(double rauschen) { return std::clamp(1.0 - 0.05 * rauschen, 0.3, 0.97); }

int NochZuLochen(const Spielstand& stand, std::int32_t gruppe) {
    int voll = 0, halb = 0;
    for (int i = 1; i < kAnzahlKugeln; ++i) {
        if (i == 8 || stand.kugeln[i].inloch) continue;
        ++(i < 8 ? voll : halb);
    }
    const int eigene = gruppe == volle ? voll : gruppe == halbe ? halb : std::min(voll, halb);
    return eigene + (stand.kugeln[8].inloch ? 0 : 1);
}

Siegtafel BaueSiegtafel(double typisch) {
    Siegtafel t{};
    t.typisch = typisch;
    for (int m = 0; m <= kHoechstZuLochen; ++m) t.w[0][m] = 1.0;
    // Eine Zusammenziehung mit dem Faktor (1−typisch)² je Runde: nach 200
    // Runden ist auch bei typisch 0.3 nichts mehr zu sehen.
    for (int runde = 0; runde < 200; ++runde)
        for (int n = 1; n <= kHoechstZuLochen; ++n)
            for (int m = 1; m <= kHoechstZuLochen; ++m)
                t.w[n][m] = typisch * t.w[n - 1][m] + (1.0 - typisch) * (1.0 - t.w[m][n]);
    return t;
}

double Blattwert(double quote, int eigene, int gegner, const Siegtafel& t) {
    const int n = Gekappt(eigene), m = Gekappt(gegner);
    if (n == 0) return 1.0;
    if (m == 0) return 0.0;
    const double q = std::clamp(quote, 0.0, 1.0);
    return q * t.w[n - 1][m] + (1.0 - q) * (1.0 - t.w[m][n]);
}

double Hoechstwert(double quote, const Spielstand& stand, const Siegtafel& t) {
    const int n = Gekappt(NochZuLochen(stand, stand.gruppe)), m = Gekappt(NochZuLochen(stand, Gegnergruppe(stand.gruppe)));
    if (n == 0) return 1.0;
    return quote * t.w[n - 1][m] + (1.0 - quote) * t.w[n][m];
}

double NaechsteQuote(const Spielstand& stand, Durchspiel& d, const Physik& physik, float radius, int proben,
                     bool rundum) {
    if (!EigeneAufDemTisch(stand)) return 1.0;

    Durchspiel n{d.tk, stand, d.g, d.w, d.rauschen, d.zr, d.zs, d.frist, {}};
    std::vector<Stoss> liste(kListenGroesse);
    int anzahl[7];
    const int gefunden = SammleStoesse(n.tk, stand, liste.data(), anzahl);
    SortiereStoesse(liste.data(), gefunden);
    const float grenze = Hoechststaerke(physik);
    double bester = 0.0;
    for (int i = 0, geprueft = 0; i < gefunden && geprueft < 3 && !Abgelaufen(n.frist); ++i) {
        if (!Lochstoss(liste[i].art)) continue;
        ++geprueft;
        const float staerke = BerechneStossstaerke(liste[i], physik, radius);
        float start = 0.0f;
        for (float faktor : {1.3f, 1.8f}) {
            const Vektor stoss = Begrenzt(StossVektor(liste[i], staerke * faktor), grenze);
            const Zielfenster f = SucheZielfenster(n, stoss, start, grenze);
            if (!f.gefunden) continue;
            start = Mitte(f);
            Variante v;
            v.kandidat = i;
            v.stoss = Begrenzt(Gedreht(stoss, start), grenze);
            SpieleProben(n, v, 0, proben);
            bester = std::max(bester, Quote(v));
            if (bester >= 1.0) return bester;
        }
    }
    // Verbaut: der Gegner stößt wie der eigene Planer rundum über die Banden.
    // Ohne das hielte der Wert fast jeden Sicherheitsstoß für sicher.
    if (rundum && bester < 0.5) bester = std::max(bester, Rundumaussicht(n, grenze, proben));
    return bester;
}

Siegwert BewerteSiegchance(Durchspiel& d, Vektor stoss, int proben, const Zweitzug& z, const Siegtafel& t,
                           const Physik& physik, float radius) {
    Siegwert w;
    const std::int32_t gruppe = d.stand.gruppe, gegnergruppe = Gegnergruppe(gruppe);
    double gewonnen = 0.0, weiterSumme = 0.0, gegnerSumme = 0.0, weiterQuote = 0.0, gegnerQuote = 0.0;
    int weiter = 0, abgegeben = 0, foul = 0, weiterGemessen = 0, gegnerGemessen = 0;
    for (int k = 0; k < proben && !Abgelaufen(d.frist); ++k) {
        SpieleStoss(d, VerrauscheStoss(stoss, d.rauschen, d.zr[k], d.zs[k]));
        ++w.proben;
        const Urteil u = BeurteileStoss(d.stand, d.e);
        if (u.ursache == Ursache::schwarze_zu_frueh) continue;  // verloren: 0
        if (d.e.ereignisgrenze || PruefeFoul(d.stand, d.e) != Foul::keins) {
            ++foul;
            continue;
        }
        ++w.gueltig;
        if (u.erfolg) {
            ++w.erfolge;
            if (u.geraeumt) {
                gewonnen += 1.0;
                continue;
            }
            ++weiter;
            if (weiterGemessen < z.ausgaenge) {
                const Spielstand nachher = Endstand(d.stand, d.e);
                const double q = NaechsteQuote(nachher, d, physik, radius, z.proben, z.rundum);
                weiterQuote += q;
                weiterSumme += Blattwert(q, NochZuLochen(nachher, gruppe), NochZuLochen(nachher, gegnergruppe), t);
                ++weiterGemessen;
            }
            continue;
        }
        ++abgegeben;
        if (gegnerGemessen < z.ausgaenge) {
            Spielstand danach = Endstand(d.stand, d.e);
            danach.gruppe = gegnergruppe;
            const double q = NaechsteQuote(danach, d, physik, radius, z.proben, z.rundum);
            gegnerQuote += q;
            gegnerSumme += 1.0 - Blattwert(q, NochZuLochen(danach, gegnergruppe), NochZuLochen(danach, gruppe), t);
            ++gegnerGemessen;
        }
    }
    if (weiterGemessen) w.weiter = weiterQuote / weiterGemessen;
    if (gegnerGemessen) w.gegner = gegnerQuote / gegnerGemessen;
    double summe = gewonnen;
    if (weiterGemessen) summe += weiter * (weiterSumme / weiterGemessen);
    if (gegnerGemessen) summe += abgegeben * (gegnerSumme / gegnerGemessen);
    if (foul)
        summe += foul * std::max(0.0, 1.0 - kFoulabzug - Blattwert(kQuoteMitWeisserInDerHand,
                                                                   NochZuLochen(d.stand, gegnergruppe),
                                                                   NochZuLochen(d.stand, gruppe), t));
    w.wert = w.proben ? summe / w.proben : 0.0;
    w.ganz = w.proben == proben && !Abgelaufen(d.frist);
    return w;
}
