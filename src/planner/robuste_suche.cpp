#include "planner/robuste_suche.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <span>
#include <vector>

#include "anzeige/anzeige.h"
#include "model/konfiguration.h"
#include "planner/pfad.h"
#include "planner/schiedsrichter.h"
#include "planner/stoss_linien.h"
#include "planner/stossarten.h"
#include "planner/stossstaerke.h"
#include "sim/rauschen.h"
#include "sim/simulation.h"

namespace {

// Die Stärken und Drehungen, in denen jeder Kandidat durchgespielt wird. Die
// vorgegebene Stärke lässt die Objektkugel mit nur vend an der Tasche
// ankommen; unter Rauschen bleibt sie so oft davor liegen.
constexpr float kFaktoren[] = {1.0f, 1.3f, 1.7f, 2.2f, 2.9f};
constexpr float kDrehungen[] = {0.0f, -0.25f, 0.25f};  // Grad
constexpr float kRundumFaktoren[] = {0.85f, 1.0f, 1.2f};
constexpr int kVorproben = 8;    // jede Variante
constexpr int kEngereWahl = 8;   // so viele bekommen alle Proben
constexpr int kStellungsWahl = 3;

struct Variante {
    int kandidat;  // Index in der Liste
    Vektor stoss;
    int erfolge = 0, proben = 0;
    int ersteErfolgreiche = -1;  // Probe, deren Endstand die Stellung zeigt
    double wert = 0.0;
};

struct Durchspiel {
    const Spielstand& stand;
    const Tischgeometrie& g;
    const Welt& w;
    double rauschen;
    const double* zr;
    const double* zs;
    Simergebnis e;
};

Vektor Gedreht(Vektor v, float grad) {
    const double a = grad * std::numbers::pi / 180.0, c = std::cos(a), s = std::sin(a);
    return {static_cast<float>(v.x * c - v.y * s), static_cast<float>(v.x * s + v.y * c), 0.0f};
}

// Spielt die Proben von bis bis (ausschließlich) und zählt die Erfolge.
void SpieleProben(Durchspiel& d, Variante& v, int von, int bis) {
    for (int k = von; k < bis; ++k) {
        Simuliere(d.g, d.w, d.stand, VerrauscheStoss(v.stoss, d.rauschen, d.zr[k], d.zs[k]), d.e);
        if (BeurteileStoss(d.stand, d.e).erfolg) {
            ++v.erfolge;
            if (v.ersteErfolgreiche < 0) v.ersteErfolgreiche = k;
        }
    }
    v.proben = std::max(v.proben, bis);
}

bool Lochstoss(std::int32_t art) { return art >= WeisseKugelLoch && art <= WeisseKugelKugelLoch; }

// Wie gut steht die Weiße nach dem Stoß? Die Erfolgsquote des besten der
// nächsten Lochstöße, in wenigen Proben: 1, wenn nichts Eigenes mehr liegt.
double Stellungswert(const Spielstand& nachher, const Tischgeometrie& g, const Welt& w, const Physik& p, float r,
                     double rauschen, const double* zr, const double* zs) {
    bool eigene[kAnzahlKugeln] = {};
    EigeneKugeln(nachher, eigene);
    bool etwasDa = false;
    for (int i = 1; i < kAnzahlKugeln; ++i) etwasDa |= eigene[i] && !nachher.kugeln[i].inloch;
    if (!etwasDa) return 1.0;

    std::vector<Stoss> liste(kListenGroesse);
    int anzahl[7];
    const int n = SammleStoesse(nachher, liste.data(), anzahl);
    SortiereStoesse(liste.data(), n);
    Simergebnis e;
    double bester = 0.0;
    int geprueft = 0;
    for (int k = 0; k < n && geprueft < 3; ++k) {
        if (!Lochstoss(liste[k].art)) continue;
        ++geprueft;
        const float staerke = BerechneStossstaerke(liste[k], p, r);
        for (float faktor : {1.3f, 1.8f}) {
            const Vektor stoss = StossVektor(liste[k], staerke * faktor);
            int erfolge = 0;
            for (int j = 0; j < kVorproben; ++j) {
                Simuliere(g, w, nachher, VerrauscheStoss(stoss, rauschen, zr[j], zs[j]), e);
                erfolge += BeurteileStoss(nachher, e).erfolg;
            }
            bester = std::max(bester, static_cast<double>(erfolge) / kVorproben);
        }
    }
    return bester;
}

// Die Bandenstöße der Liste zielen mit dem Mittelpunkt der Weißen auf die
// Bandenlinie; die Kugel prallt aber schon r davor ab. Derselbe Spiegelpunkt
// auf der um r hereingerückten Linie trifft in der Welt des Planers genau.
Vektor BandenpunktMitRadius(const Stoss& s, float r) {
    const float bx = tisch.bande_x, by = tisch.bande_y, rechts = tisch.breite - bx, oben = tisch.hoehe - by;
    const Vektor von = s.ziel, nach = s.weiss;
    auto teile = [](float a, float b) { return a / (a + b); };
    const float dx = nach.x - von.x, dy = nach.y - von.y;
    if (s.bande.x == bx) {
        const float t = teile(von.x - bx - r, nach.x - bx - r);
        return {bx + r, von.y + dy * t, 0.0f};
    }
    if (s.bande.x == rechts) {
        const float t = teile(rechts - r - von.x, rechts - r - nach.x);
        return {rechts - r, von.y + dy * t, 0.0f};
    }
    if (s.bande.y == by) {
        const float t = teile(von.y - by - r, nach.y - by - r);
        return {von.x + dx * t, by + r, 0.0f};
    }
    if (s.bande.y == oben) {
        const float t = teile(oben - r - von.y, oben - r - nach.y);
        return {von.x + dx * t, oben - r, 0.0f};
    }
    return s.bande;
}

// Direkte Stöße, die die Liste wegen ihrer Sicherheitsabstände verwirft
// (eine Kugel knapp am Weg, ein Anspielpunkt nah an der Bande, ein dünner
// Schnitt): die Simulation entscheidet, ob sie trotzdem gehen.
int GroszuegigeDirekte(const Spielstand& stand, Stoss* frei) {
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
            const Vektor p = Taschenpunkte[j];
            const Vektor g = Anspielpunkt(b, p, r);
            const float winkel = Winkel({p.x - b.x, p.y - b.y, 0.0f}, {w.x - g.x, w.y - g.y, 0.0f});
            if (!(winkel > 92.0f)) continue;  // höchstens 88° Schnitt
            Stoss s{};
            s.weiss = w;
            s.ziel = g;
            s.tasche = p;
            s.winkel = winkel;
            s.art = WeisseKugelLoch;
            s.bewertung = BewerteWeisseKugelLoch(s);
            frei[n++] = s;
        }
    }
    return n;
}

// Die großzügigen direkten Stöße, die ohne Rauschen in einer von zwei
// Stärken gelingen und nicht schon unter den Kandidaten sind, nach Bewertung.
std::vector<Stoss> GuteGroszuegige(const Spielstand& stand, const Stoss* liste, const std::vector<int>& kandidaten,
                                   Durchspiel& d, const Physik& physik, float radius, int kandidatenZahl) {
    std::vector<Stoss> extra(kMaxWeisseKugelLoch), gut;
    const int m = GroszuegigeDirekte(stand, extra.data());
    for (int i = 0; i < m; ++i) {
        bool schonDa = false;
        for (int k : kandidaten)
            schonDa |= liste[k].art == WeisseKugelLoch && liste[k].ziel.x == extra[i].ziel.x &&
                       liste[k].ziel.y == extra[i].ziel.y && liste[k].tasche.x == extra[i].tasche.x &&
                       liste[k].tasche.y == extra[i].tasche.y;
        if (schonDa) continue;
        const float staerke = BerechneStossstaerke(extra[i], physik, radius);
        for (float faktor : {1.3f, 2.2f}) {
            Simuliere(d.g, d.w, stand, StossVektor(extra[i], staerke * faktor), d.e);
            if (BeurteileStoss(stand, d.e).erfolg) {
                gut.push_back(extra[i]);
                break;
            }
        }
    }
    std::stable_sort(gut.begin(), gut.end(), [](const Stoss& a, const Stoss& b) { return a.bewertung < b.bewertung; });
    gut.resize(std::min<std::size_t>(gut.size(), static_cast<std::size_t>(std::max(2, kandidatenZahl / 2))));
    return gut;
}

struct Richtungstreffer {
    Vektor richtung;  // Einheitsvektor
    float staerke;
    int breite;       // so viele halbe Grad in Folge gelangen
};

// Rundum in halben Grad und drei Stärken, ohne Rauschen; je Stärke die
// Mitten der zusammenhängenden Treffer, die breitesten zuerst.
std::vector<Richtungstreffer> Rundumsuche(Durchspiel& d) {
    constexpr int kSchritte = 720;
    constexpr float kStaerken[] = {0.9f, 1.6f, 2.6f};
    std::vector<Richtungstreffer> treffer;
    std::vector<char> gelingt(kSchritte);
    for (float staerke : kStaerken) {
        for (int a = 0; a < kSchritte; ++a) {
            const double w = a * 2.0 * std::numbers::pi / kSchritte;
            const Vektor v{static_cast<float>(staerke * std::cos(w)), static_cast<float>(staerke * std::sin(w)), 0.0f};
            Simuliere(d.g, d.w, d.stand, v, d.e);
            gelingt[static_cast<std::size_t>(a)] = BeurteileStoss(d.stand, d.e).erfolg;
        }
        // Läufe im Kreis: bei einem Fehlschlag beginnen, damit keiner zerschnitten wird.
        int start = 0;
        while (start < kSchritte && gelingt[static_cast<std::size_t>(start)]) ++start;
        if (start == kSchritte) start = 0;
        for (int i = 0; i < kSchritte;) {
            const int a = (start + i) % kSchritte;
            if (!gelingt[static_cast<std::size_t>(a)]) {
                ++i;
                continue;
            }
            int laenge = 0;
            while (i + laenge < kSchritte && gelingt[static_cast<std::size_t>((start + i + laenge) % kSchritte)]) ++laenge;
            const double mitte = (start + i + (laenge - 1) / 2.0) * 2.0 * std::numbers::pi / kSchritte;
            treffer.push_back({{static_cast<float>(std::cos(mitte)), static_cast<float>(std::sin(mitte)), 0.0f},
                               staerke, laenge});
            i += laenge;
        }
    }
    std::stable_sort(treffer.begin(), treffer.end(),
                     [](const Richtungstreffer& a, const Richtungstreffer& b) { return a.breite > b.breite; });
    if (treffer.size() > 6) treffer.resize(6);
    return treffer;
}

}  // namespace

std::uint64_t SaatAusStand(const Spielstand& stand) {
    // FNV-1a über die Felder, die ein Dokument trägt: Lage, inloch, Zieltasche, Gruppe.
    std::uint64_t h = 0xcbf29ce484222325ull;
    auto nimm = [&h](const void* p, std::size_t n) {
        const auto* b = static_cast<const unsigned char*>(p);
        for (std::size_t i = 0; i < n; ++i) h = (h ^ b[i]) * 0x100000001b3ull;
    };
    for (const Kugel& k : stand.kugeln) {
        nimm(&k.x, sizeof k.x);
        nimm(&k.y, sizeof k.y);
        nimm(&k.inloch, sizeof k.inloch);
        nimm(&k.zieltasche, sizeof k.zieltasche);
    }
    nimm(&stand.gruppe, sizeof stand.gruppe);
    return h;
}

void SucheStossRobust(const Spielstand& stand, Vektor& stoss, const Planereinstellung& e, const IniDatei& ini,
                      Suchbericht* bericht) {
    std::vector<Stoss> liste(kListenGroesse);
    int anzahl[7];
    const int n = SucheKandidaten(stand, liste.data(), anzahl);

    const Physik physik = PhysikAus(ini);
    const float radius = KugelradiusAus(ini);
    const Welt welt = WeltAus(ini, e.welt);
    const Tischgeometrie g = BaueTischgeometrie(tisch);

    // Dieselben Störungen für jede Variante: Unterschiede kommen vom Stoß, nicht vom Zufall.
    const int proben = e.proben;
    std::vector<double> zr(static_cast<std::size_t>(std::max(proben, kVorproben))), zs(zr.size());
    std::mt19937_64 zufall(SaatAusStand(stand));
    for (std::size_t k = 0; k < zr.size(); ++k) Normalpaar(zufall, zr[k], zs[k]);
    Durchspiel d{stand, g, welt, e.rauschen, zr.data(), zs.data(), {}};

    // Der Beste der Liste und die besten Lochstöße in Listenfolge.
    std::vector<int> kandidaten{0};
    for (int k = 1; k < n && static_cast<int>(kandidaten.size()) <= e.kandidaten; ++k)
        if (Lochstoss(liste[k].art)) kandidaten.push_back(k);
    // Hinten an der Liste ist Platz: sie fasst mehr als alle Arten zusammen.
    int frei = n;
    auto anhaengen = [&](const Stoss& s) {
        if (frei >= kListenGroesse) return;
        liste[frei] = s;
        kandidaten.push_back(frei++);
    };
    for (const Stoss& s : GuteGroszuegige(stand, liste.data(), kandidaten, d, physik, radius, e.kandidaten))
        anhaengen(s);

    std::vector<Variante> varianten;
    auto varianten_zu = [&](int k, Vektor richtung, float staerke, std::span<const float> faktoren) {
        for (float faktor : faktoren)
            for (float drehung : kDrehungen) {
                Variante v;
                v.kandidat = k;
                v.stoss = Gedreht(Skaliere(richtung, staerke * faktor), drehung);
                varianten.push_back(v);
            }
    };
    for (int k : kandidaten) {
        const float staerke = BerechneStossstaerke(liste[k], physik, radius);
        varianten_zu(k, StossVektor(liste[k], 1.0f), staerke, kFaktoren);
        if (liste[k].art == WeisseBandeKugelLoch) {
            const Vektor m = BandenpunktMitRadius(liste[k], radius);
            const Vektor richtung{m.x - liste[k].weiss.x, m.y - liste[k].weiss.y, 0.0f};
            if (Laenge(richtung) > 0.0f) varianten_zu(k, Normiere(richtung), staerke, kFaktoren);
        }
    }

    const int vor = std::min(kVorproben, proben);
    for (Variante& v : varianten) SpieleProben(d, v, 0, vor);
    int besteVorprobe = 0;
    for (const Variante& v : varianten) besteVorprobe = std::max(besteVorprobe, v.erfolge);

    // Steht keiner gut da, sucht der Planer rundum: Richtungen in halben Grad,
    // drei Stärken, ohne Rauschen. Zusammenhängende Treffer sind Stöße, die die
    // Liste nicht kennt (über Banden, über andere Kugeln); ihre Mitte übersteht
    // das Rauschen am ehesten.
    if (2 * besteVorprobe < vor) {
        for (const Richtungstreffer& t : Rundumsuche(d)) {
            Stoss s{};
            s.weiss = liste[0].weiss;
            s.ziel = Addiere(s.weiss, Skaliere(t.richtung, 20.0f));
            s.art = kRichtungssuche;
            const int vorher = static_cast<int>(varianten.size());
            anhaengen(s);
            if (frei - 1 < n) break;
            varianten_zu(frei - 1, t.richtung, t.staerke, kRundumFaktoren);
            for (std::size_t i = static_cast<std::size_t>(vorher); i < varianten.size(); ++i)
                SpieleProben(d, varianten[i], 0, vor);
        }
    }

    // Die aussichtsreichsten bekommen alle Proben; bei Gleichstand die frühere.
    std::vector<int> reihe(varianten.size());
    for (std::size_t i = 0; i < reihe.size(); ++i) reihe[i] = static_cast<int>(i);
    std::stable_sort(reihe.begin(), reihe.end(),
                     [&](int a, int b) { return varianten[a].erfolge > varianten[b].erfolge; });
    const int eng = std::min<int>(kEngereWahl, static_cast<int>(reihe.size()));
    for (int i = 0; i < eng; ++i) SpieleProben(d, varianten[reihe[i]], vor, proben);

    auto quote = [](const Variante& v) { return v.proben ? static_cast<double>(v.erfolge) / v.proben : 0.0; };
    for (int i = 0; i < eng; ++i) varianten[reihe[i]].wert = quote(varianten[reihe[i]]);
    std::stable_sort(reihe.begin(), reihe.begin() + eng,
                     [&](int a, int b) { return varianten[a].wert > varianten[b].wert; });

    // Stellungsspiel: wo bleibt die Weiße nach einem gelungenen Stoß stehen?
    if (e.stellung > 0.0) {
        for (int i = 0; i < std::min(kStellungsWahl, eng); ++i) {
            Variante& v = varianten[reihe[i]];
            if (v.ersteErfolgreiche < 0) continue;
            const int k = v.ersteErfolgreiche;
            Simuliere(g, welt, stand, VerrauscheStoss(v.stoss, e.rauschen, zr[k], zs[k]), d.e);
            const double q = Stellungswert(Endstand(stand, d.e), g, welt, physik, radius, e.rauschen, zr.data(),
                                           zs.data());
            v.wert = quote(v) * (1.0 + e.stellung * q);
        }
    }
    int wahl = reihe[0];
    for (int i = 1; i < eng; ++i)
        if (varianten[reihe[i]].wert > varianten[wahl].wert) wahl = reihe[i];

    const Variante& gewaehlt = varianten[wahl];
    const bool nichts = gewaehlt.erfolge == 0;
    const Stoss& kandidat = nichts ? liste[0] : liste[gewaehlt.kandidat];
    stoss = nichts ? StossVektor(liste[0], BerechneStossstaerke(liste[0], physik, radius)) : gewaehlt.stoss;
    if (kandidat.art == kRichtungssuche) {
        const Vektor bis = Addiere(kandidat.weiss, Skaliere(Normiere(stoss), 20.0f));
        ZeichneLinie(bis.x, bis.y, kandidat.weiss.x, kandidat.weiss.y, kGrau);
    } else {
        ZeichneStoss(&kandidat, 1);
    }

    if (nichts) {
        SchreibeLog("Robust: kein Stoß gelingt in den Proben, gespielt wird der beste der Liste.\r\n");
    } else {
        // Was fällt: aus einer gelungenen Probe dieses Stoßes.
        const int k = gewaehlt.ersteErfolgreiche;
        Simuliere(g, welt, stand, VerrauscheStoss(stoss, e.rauschen, zr[k], zs[k]), d.e);
        int kugel = -1;
        bool eigene[kAnzahlKugeln] = {};
        EigeneKugeln(stand, eigene);
        for (int i = 1; i < kAnzahlKugeln && kugel < 0; ++i)
            if (d.e.tasche[i] >= 0 && eigene[i]) kugel = i;
        SchreibeLog("Robust: Kugel %d in Tasche %d (%s), Stärke %f\r\n", kugel, kugel > 0 ? d.e.tasche[kugel] + 1 : 0,
                    kandidat.art == kRichtungssuche ? "Richtungssuche" : Artname(kandidat.art),
                    static_cast<double>(Laenge(stoss)));
    }
    SchreibeLog("Erfolg %d von %d Proben\r\n", gewaehlt.erfolge, gewaehlt.proben);
    if (bericht) {
        std::copy(anzahl, anzahl + 7, bericht->anzahl);
        bericht->bester = kandidat;
        bericht->proben = gewaehlt.proben;
        bericht->erfolge = gewaehlt.erfolge;
    }
    MeldeStoss(stand, stoss);  // die Vorschau im Fenster zeigt den robusten Stoß
}

void PlaneStoss(const Spielstand& stand, Vektor& stoss, Suchbericht* bericht, Planerwahl wahl) {
    IniDatei ini;
    LeseIniDatei(Konfigurationsdatei(), ini);
    const Planereinstellung e = PlanerAus(ini);
    const bool robust = wahl == Planerwahl::robust || (wahl == Planerwahl::nachKonfiguration &&
                                                       e.modus == Planermodus::robust);
    if (robust) SucheStossRobust(stand, stoss, e, ini, bericht);
    else SucheStoss(stand, stoss, bericht, PhysikAus(ini), KugelradiusAus(ini));
}
