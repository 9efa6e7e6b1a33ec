#include "planner/sicherheitsstoss.h"

#include <algorithm>

#include "planner/hoechststaerke.h"
#include "planner/pfad.h"
#include "planner/regeln.h"
#include "planner/robuste_kandidaten.h"
#include "planner/robuste_zielfenster.h"
#include "planner/rundumsuche.h"
#include "planner/schiedsrichter.h"
#include "planner/stossarten.h"
#include "planner/stossstaerke.h"
#include "planner/suche.h"
#include "sim/rauschen.h"

namespace {

// Von sanft bis fest; die festeren nur, solange die sanfteren zu wenige
// gültige Richtungen fanden (versteckt hinter fremden Kugeln hilft oft nur ein
// langer Weg über die Banden).
constexpr float kSicherheitsStaerken[] = {0.8f, 1.6f, 2.6f, 4.0f};
constexpr std::size_t kGenugRichtungen = 4;
constexpr int kSicherheitsSchritte = 360;  // ganze Grad: ein Sicherheitsfenster ist breit
constexpr std::size_t kSicherheitsKandidaten = 10;
constexpr int kGegnerProben = 4;  // je Stoß des Gegners
constexpr int kGegnerTische = 4;  // so viele Tische danach werden gemessen, ihr Mittel zählt
// Ein Foul gibt dem Gegner die Weiße in die Hand: schlechter als jeder gültige
// Stoß, auch einer, nach dem er sicher locht. Ohne den Abzug stünde ein Stoß,
// der nichts trifft, gleich mit einem gültigen, und der Planer spielte ihn
// immer wieder (in Partien endlos Foul um Foul).
constexpr double kFoulwert = -0.05;

bool Gelingt(Durchspiel& o, Vektor stoss) {
    SpieleStoss(o, stoss);
    return BeurteileStoss(o.stand, o.e).erfolg;
}

// Die Lochstöße, mit denen der Gegner gemessen wird: die besten drei der
// Liste und die drei am besten bewerteten großzügigen direkten (von den
// zwölf besten), die ohne Rauschen in einer von zwei Stärken gehen.
std::vector<Stoss> Gegnerstoesse(Durchspiel& o, const Physik& physik, float r, float grenze) {
    std::vector<Stoss> liste(kListenGroesse), wahl;
    int anzahl[7];
    const int n = SammleStoesse(o.tk, o.stand, liste.data(), anzahl);
    SortiereStoesse(liste.data(), n);
    for (int k = 0; k < n && wahl.size() < 3; ++k)
        if (Lochstoss(liste[k].art)) wahl.push_back(liste[k]);
    const std::size_t ausDerListe = wahl.size();

    std::vector<Stoss> extra(kMaxWeisseKugelLoch);
    const int m = GroszuegigeDirekte(o.tk, o.stand, extra.data());
    std::stable_sort(extra.begin(), extra.begin() + m,
                     [](const Stoss& a, const Stoss& b) { return a.bewertung < b.bewertung; });
    for (int i = 0; i < std::min(m, 12) && wahl.size() < ausDerListe + 3 && !Abgelaufen(o.frist); ++i) {
        bool schonDa = false;
        for (std::size_t j = 0; j < ausDerListe; ++j)
            schonDa |= wahl[j].art == WeisseKugelLoch && wahl[j].ziel.x == extra[i].ziel.x &&
                       wahl[j].ziel.y == extra[i].ziel.y && wahl[j].tasche.x == extra[i].tasche.x &&
                       wahl[j].tasche.y == extra[i].tasche.y;
        if (schonDa) continue;
        const float staerke = BerechneStossstaerke(extra[i], physik, r);
        for (float faktor : {1.3f, 2.2f})
            if (!Abgelaufen(o.frist) && Gelingt(o, Begrenzt(StossVektor(extra[i], staerke * faktor), grenze))) {
                wahl.push_back(extra[i]);
                break;
            }
    }
    return wahl;
}

bool GelingtRundum(const Spielstand& stand, const Simergebnis& e) { return BeurteileStoss(stand, e).erfolg; }

// Die Quote eines Stoßes in proben Proben unter den gemeinsamen Störungen.
double Quote(Durchspiel& o, Vektor stoss, int proben) {
    int erfolge = 0, k = 0;
    for (; k < proben && !Abgelaufen(o.frist); ++k)
        erfolge += Gelingt(o, VerrauscheStoss(stoss, o.rauschen, o.zr[k], o.zs[k]));
    return k > 0 ? static_cast<double>(erfolge) / k : 0.0;
}

// Wie sicher der Gegner vom Tisch danach locht: die beste Quote seiner
// Lochstöße in zwei Stärken zu je proben Proben; findet das keinen, der
// meistens gelingt, wie bei der eigenen Wahl rundum (in ganzen Grad, zwei
// Stärken) und die Mitten der drei breitesten Treffer. 0, wenn er nichts mehr hat.
double Gegnerquote(const Spielstand& danach, Durchspiel& d, const Physik& physik, float r, int proben) {
    if (!EigeneAufDemTisch(danach)) return 0.0;

    Durchspiel o{d.tk, danach, d.g, d.w, d.rauschen, d.zr, d.zs, d.frist, {}};
    const float grenze = Hoechststaerke(physik);
    double bester = 0.0;
    // Der Gegner zielt wie die eigene Wahl auf die Mitte seines Zielfensters;
    // mit der Richtung der Liste unterschätzte ihn die Wertung, und der Planer
    // legte ihm Kugeln hin, die er locht.
    for (const Stoss& s : Gegnerstoesse(o, physik, r, grenze)) {
        const float staerke = BerechneStossstaerke(s, physik, r);
        float start = 0.0f;
        for (float faktor : {1.3f, 1.8f}) {
            const Vektor stoss = Begrenzt(StossVektor(s, staerke * faktor), grenze);
            const Zielfenster f = SucheZielfenster(o, stoss, start, grenze);
            if (!f.gefunden) continue;
            start = Mitte(f);
            bester = std::max(bester, Quote(o, Begrenzt(Gedreht(stoss, start), grenze), proben));
            if (bester >= 1.0) return bester;
        }
    }
    if (bester >= 0.5) return bester;
    std::vector<Richtungstreffer> treffer;
    // Die Stärken wie bei der eigenen Rundumsuche, die festeste zuerst: aus
    // verbauten Lagen gelingt auf echtem Tuch fast nur ein fester Stoß.
    for (float staerke : {grenze, std::min(kRundumSanft, grenze)})
        if (!Rundum(o, staerke, kSicherheitsSchritte, GelingtRundum, treffer)) break;
    for (const Richtungstreffer& t : Breiteste(treffer, 3))
        bester = std::max(bester, Quote(o, Skaliere(t.richtung, t.staerke), proben));
    return bester;
}

}  // namespace

std::int32_t Gegnergruppe(std::int32_t gruppe) {
    return gruppe == halbe ? volle : gruppe == volle ? halbe : gruppe;
}

Partiewert BewerteFuerPartie(Durchspiel& d, Vektor stoss, int proben, int gegnerTische, const Physik& physik,
                             float r) {
    Partiewert w;
    double summe = 0.0, gegnerSumme = 0.0;
    int uebergeben = 0, gemessen = 0;  // Proben, nach denen der Gegner ohne Foul am Tisch steht
    for (int k = 0; k < proben && !Abgelaufen(d.frist); ++k) {
        SpieleStoss(d, VerrauscheStoss(stoss, d.rauschen, d.zr[k], d.zs[k]));
        ++w.proben;
        const Urteil u = BeurteileStoss(d.stand, d.e);
        if (u.ursache == Ursache::schwarze_zu_frueh) {
            summe -= 1.0;
            continue;
        }
        if (d.e.ereignisgrenze || PruefeFoul(d.stand, d.e) != Foul::keins) {
            summe += kFoulwert;
            continue;
        }
        ++w.gueltig;
        if (u.erfolg) {
            summe += 1.0;
            continue;
        }
        if (gemessen < gegnerTische) {
            Spielstand danach = Endstand(d.stand, d.e);
            danach.gruppe = Gegnergruppe(d.stand.gruppe);
            gegnerSumme += Gegnerquote(danach, d, physik, r, kGegnerProben);
            ++gemessen;
        }
        ++uebergeben;
    }
    if (gemessen > 0) w.gegner = gegnerSumme / gemessen;
    summe += uebergeben * (1.0 - std::max(w.gegner, 0.0));
    w.wert = w.proben ? summe / w.proben : 0.0;
    w.ganz = w.proben == proben && !Abgelaufen(d.frist);
    return w;
}

bool Sicher(const Spielstand& stand, const Simergebnis& e) {
    return !e.ereignisgrenze && e.tasche[8] < 0 && PruefeFoul(stand, e) == Foul::keins &&
           BeurteileStoss(stand, e).eigeneVersenkt == 0;
}

bool Sicherheitsrichtungen(Durchspiel& d, float grenze, std::vector<Vektor>& stoesse) {
    std::vector<Richtungstreffer> treffer;
    for (float staerke : kSicherheitsStaerken) {
        if (treffer.size() >= kGenugRichtungen || staerke > grenze) break;
        if (!Rundum(d, staerke, kSicherheitsSchritte, Sicher, treffer)) return false;
    }
    // Die Mitte eines Laufs gerader Länge liegt zwischen zwei geprüften Richtungen.
    for (const Richtungstreffer& t : Breiteste(treffer, kSicherheitsKandidaten))
        stoesse.push_back(Skaliere(t.richtung, t.staerke));
    return true;
}

Sicherheitswahl WaegeSicherheit(Durchspiel& d, Vektor lochstoss, int proben, const Physik& physik, float r,
                                float grenze) {
    Sicherheitswahl s;
    s.lochstoss = BewerteFuerPartie(d, lochstoss, proben, kGegnerTische, physik, r);
    if (!s.lochstoss.ganz) return s;

    std::vector<Vektor> stoesse;
    if (!Sicherheitsrichtungen(d, grenze, stoesse)) return s;

    // Erst wenige Proben und ein Tisch des Gegners für jeden, dann alle Proben
    // und mehrere Tische für die zwei besten.
    const int vor = std::min(kVorproben, proben);
    std::vector<std::pair<double, Vektor>> vorwahl;
    for (const Vektor stoss : stoesse) {
        if (Abgelaufen(d.frist)) break;
        SpieleStoss(d, stoss);
        if (!Sicher(d.stand, d.e)) continue;
        const Partiewert w = BewerteFuerPartie(d, stoss, vor, 1, physik, r);
        if (!w.ganz) break;
        vorwahl.push_back({w.wert, stoss});
    }
    std::stable_sort(vorwahl.begin(), vorwahl.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    for (std::size_t i = 0; i < std::min<std::size_t>(vorwahl.size(), 2); ++i) {
        const Partiewert w = BewerteFuerPartie(d, vorwahl[i].second, proben, kGegnerTische, physik, r);
        if (!w.ganz) break;
        if (!s.gefunden || w.wert > s.sicherheit.wert) {
            s.gefunden = true;
            s.stoss = vorwahl[i].second;
            s.sicherheit = w;
        }
    }
    return s;
}
