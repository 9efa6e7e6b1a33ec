#include "lernen/kalibrierung.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <exception>
#include <new>
#include <span>
#include <tuple>

#include "lernen/anpassung.h"
#include "lernen/gitter.h"
#include "lernen/parallel.h"
#include "sim/rauschen.h"

namespace {

using Uhr = std::chrono::steady_clock;

// Die Schritte des Fits und ihr Anteil an der ganzen Zeit (für den Fortschritt).
struct Schritt {
    const char* name;
    double von, bis;
};
constexpr Schritt kQueue{"Queue grob einstellen", 0.00, 0.03};
constexpr Schritt kStartsuche{"Banden und Kugelstoß grob suchen", 0.03, 0.05};
constexpr Schritt kOhneStoerungen{"Kenngrößen ohne Störungen anpassen", 0.05, 0.20};
constexpr Schritt kGitter{"Störungen suchen", 0.20, 0.40};
constexpr Schritt kGemeinsam{"alles gemeinsam anpassen", 0.40, 0.65};
constexpr Schritt kNachsuchen{"Störungen nachsuchen", 0.65, 0.75};
constexpr Schritt kNochmals{"noch einmal gemeinsam anpassen", 0.75, 0.85};
constexpr Schritt kZuletzt{"Unerklärte finden, zuletzt anpassen", 0.85, 0.92};
constexpr Schritt kWinkelgesetz{"Bandengesetz über Winkel und Gleiten versuchen", 0.92, 0.96};
constexpr Schritt kNasengesetz{"Bandengesetz mit Nase versuchen", 0.96, 1.00};

// Das Winkelgesetz der Bande: seine sechs Werte.
constexpr Kenngroesse kWinkelwerte[] = {Kenngroesse::bande_normal_flach,  Kenngroesse::bande_tangential_flach,
                                        Kenngroesse::bande_drall_flach,   Kenngroesse::bande_gleiten_normal,
                                        Kenngroesse::bande_gleiten_drall, Kenngroesse::bande_gleiten_laengs};
// Um so viel müssen die Kosten mit ihm fallen, sonst bleibt das feste Gesetz.
constexpr double kWinkelgewinn = 0.05;
// Was das Gesetz mit Nase nicht liest: es bleibt dort fest.
constexpr Kenngroesse kOhneNase[] = {Kenngroesse::bande_tangential,       Kenngroesse::bande_drall,
                                     Kenngroesse::bande_reibung,          Kenngroesse::bande_normal_flach,
                                     Kenngroesse::bande_tangential_flach, Kenngroesse::bande_drall_flach,
                                     Kenngroesse::bande_gleiten_normal,   Kenngroesse::bande_gleiten_drall,
                                     Kenngroesse::bande_gleiten_laengs};

// Der Kasten, in dem eine Kugel auf dem Tisch liegen kann (bis zur Tischkante).
struct Tischkasten {
    double xMin, xMax, yMin, yMax;
};

Tischkasten TischkastenAus(const Tischgeometrie& g) {
    Tischkasten k{INFINITY, -INFINITY, INFINITY, -INFINITY};
    for (const Strecke& s : g.backen)
        for (V2 p : {s.a, s.b}) {
            k.xMin = std::min(k.xMin, p.x), k.xMax = std::max(k.xMax, p.x);
            k.yMin = std::min(k.yMin, p.y), k.yMax = std::max(k.yMax, p.y);
        }
    return k;
}

bool Brauchbar(const Beobachtung& b, const Tischkasten& kasten) {
    const double staerke = std::hypot(static_cast<double>(b.stoss.x), static_cast<double>(b.stoss.y));
    // Über 1000 Stärkeeinheiten spielt kein Queue; so ein Stoß ist ein Messfehler.
    if (!(staerke > 1e-6) || !(staerke <= 1e3)) return false;
    for (int i = 0; i < kAnzahlKugeln; ++i) {
        for (const Kugel* k : {&b.vorher.kugeln[i], &b.nachher.kugeln[i]}) {
            if ((i != 0 && b.vorher.kugeln[i].inloch) || (k == &b.nachher.kugeln[i] && k->inloch)) continue;
            if (k->x < kasten.xMin || k->x > kasten.xMax || k->y < kasten.yMin || k->y > kasten.yMax) return false;
        }
    }
    return true;
}

Kenngroessen InDieGrenzen(Kenngroessen k) {
    for (int j = 0; j < kAnzahlKenngroessen; ++j)
        k[static_cast<std::size_t>(j)] = std::clamp(k[static_cast<std::size_t>(j)], Art(j).untergrenze, Art(j).obergrenze);
    return k;
}

// Je Beobachtung die Abstände der Kugeln, die sich in ihr bewegt haben (in
// Welt k, Störungen z oder ohne), dann Median und 90. Perzentil über alle:
// vorher und nachher über dieselben Kugeln. Taschenfehler zählen alle Kugeln.
Fehlermass Messe(const Fitzustand& f, const Welt* welt, bool mitStoerungen) {
    struct Platz {
        double d[kAnzahlKugeln];
        int n = 0;
        int taschen = 0;
    };
    std::vector<Platz> plaetze(f.beobachtungen.size());
    FuerAlleAktiven(f, [&](int i, Simergebnis& e) {
        const Latente z = mitStoerungen ? f.z[static_cast<std::size_t>(i)] : Latente{0.0, 0.0};
        const Welt w = welt ? *welt : WeltFuer(f, i, f.k, z);
        Kugelabweichung a;
        Platz& p = plaetze[static_cast<std::size_t>(i)];
        if (!SpieleBeobachtung(*f.geometrie, w, *f.beobachtungen[static_cast<std::size_t>(i)], e, a)) return;
        for (int k = 0; k < kAnzahlKugeln; ++k)
            if (a.beobachtet[k]) p.d[p.n++] = Betrag(a.d[k]);
        p.taschen = a.taschenfehler;
    });
    std::vector<double> alle;
    Fehlermass m;
    for (std::size_t i = 0; i < plaetze.size(); ++i) {
        if (!f.aktiv[i]) continue;
        alle.insert(alle.end(), plaetze[i].d, plaetze[i].d + plaetze[i].n);
        m.taschenfehler += plaetze[i].taschen;
    }
    m.kugeln = static_cast<long>(alle.size());
    if (alle.empty()) return m;
    std::sort(alle.begin(), alle.end());
    auto quantil = [&](double q) {
        const double stelle = q * static_cast<double>(alle.size() - 1);
        const auto u = static_cast<std::size_t>(stelle);
        const double rest = stelle - static_cast<double>(u);
        return u + 1 < alle.size() ? alle[u] * (1.0 - rest) + alle[u + 1] * rest : alle[u];
    };
    m.median = quantil(0.5);
    m.p90 = quantil(0.9);
    return m;
}

// Eine Beobachtung ist nicht erklärt, wenn mit ihrer besten Störung die Weiße
// oder mehr als die Hälfte der bewegten Kugeln weiter als ausreisser danebenliegt.
void MarkiereUnerklaerte(Fitzustand& f) {
    std::vector<char> unerklaert(f.beobachtungen.size(), 0);
    FuerAlleAktiven(f, [&](int i, Simergebnis& e) {
        Kugelabweichung a;
        const Welt w = WeltFuer(f, i, f.k, f.z[static_cast<std::size_t>(i)]);
        if (!SpieleBeobachtung(*f.geometrie, w, *f.beobachtungen[static_cast<std::size_t>(i)], e, a)) {
            unerklaert[static_cast<std::size_t>(i)] = 1;
            return;
        }
        int bewegt = 0, daneben = 0;
        for (int k = 0; k < kAnzahlKugeln; ++k) {
            if (!a.bewegt[k]) continue;
            ++bewegt;
            daneben += Betrag(a.d[k]) > f.mass.ausreisser;
        }
        unerklaert[static_cast<std::size_t>(i)] =
            (a.bewegt[0] && Betrag(a.d[0]) > f.mass.ausreisser) || 2 * daneben > bewegt;
    });
    f.unerklaert = std::move(unerklaert);
}

bool Erklaert(const Fitzustand& f, std::size_t i) {
    return f.aktiv[i] && (f.unerklaert.empty() || !f.unerklaert[i]);
}

// Der Median der Beträge mal 1.4826 ist bei normalverteilten Störungen σ.
// Fehler der Welt (ein Gesetz, das sie nicht ausdrücken kann) stecken in
// wenigen großen Störungen: das mittlere Quadrat nähme sie als Rauschen.
double Mass(std::vector<double>& v, double sonst) {
    if (v.empty()) return sonst;
    const auto mitte = v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2);
    std::nth_element(v.begin(), mitte, v.end());
    double m = *mitte;
    if (v.size() % 2 == 0) m = 0.5 * (m + *std::max_element(v.begin(), mitte));
    return 1.482602218505602 * m;
}

// F aus beiden Störungen zugleich: das F, unter dem sie am wahrscheinlichsten sind.
double Rauschfaktor(double richtungGrad, double staerke) {
    const double fr = richtungGrad / kStreuungRichtungGrad, fs = staerke / kStreuungStaerke;
    return std::sqrt(0.5 * (fr * fr + fs * fs));
}

// Die Beträge der geschätzten Störungen der Beobachtungen, die nimm(i) will
// und deren Weiße auf dem Tisch blieb: nur ihre Lage legt beide Störungen fest.
template <typename Nimm>
void Stoerungsbetraege(const Fitzustand& f, Nimm nimm, std::vector<double>& richtung, std::vector<double>& staerke) {
    for (std::size_t i = 0; i < f.beobachtungen.size(); ++i) {
        if (!nimm(i) || f.beobachtungen[i]->nachher.kugeln[0].inloch) continue;
        const Stoerung s = StoerungAus(f, f.z[i]);
        richtung.push_back(std::abs(s.richtungGrad));
        staerke.push_back(std::abs(s.staerke));
    }
}

// Das Maß der Störungen aus den geschätzten, nur der erklärten Beobachtungen.
void SchaetzeRauschen(const Fitzustand& f, double& richtung, double& staerke, long& anzahl) {
    std::vector<double> r, st;
    Stoerungsbetraege(f, [&](std::size_t i) { return Erklaert(f, i); }, r, st);
    anzahl = static_cast<long>(r.size());
    richtung = Mass(r, f.sigmaRichtungGrad);
    staerke = Mass(st, f.sigmaStaerke);
}

// Das F je Stoßklasse (siehe Kalibrierergebnis::klassen). false nach einem Abbruch.
bool SchaetzeKlassenrauschen(const Fitzustand& f, Kalibrierergebnis& ergebnis) {
    std::vector<int> klasse(f.beobachtungen.size(), -1);
    if (!FuerAlleAktiven(f, [&](int i, Simergebnis& e) {
            Kosten(f, i, f.k, f.z[static_cast<std::size_t>(i)], e);
            klasse[static_cast<std::size_t>(i)] = static_cast<int>(KlasseAus(e));
        }))
        return false;
    for (int c = 0; c < kAnzahlStossklassen; ++c) {
        std::vector<double> r, st;
        Stoerungsbetraege(f, [&](std::size_t i) { return klasse[i] == c; }, r, st);
        auto& k = ergebnis.klassen[static_cast<std::size_t>(c)];
        k.anzahl = static_cast<long>(r.size());
        k.rauschfaktor = k.anzahl >= kMindestensJeKlasse
                             ? Rauschfaktor(Mass(r, f.sigmaRichtungGrad), Mass(st, f.sigmaStaerke))
                             : ergebnis.rauschfaktor;
    }
    return true;
}

// Nimmt das neue Maß als Vorwissen; die Störungen bleiben dieselben.
void SetzeRauschen(Fitzustand& f, double richtung, double staerke) {
    richtung = std::clamp(richtung, kStreuungRichtungGrad * 0.02, kStreuungRichtungGrad * 20.0);
    staerke = std::clamp(staerke, kStreuungStaerke * 0.02, kStreuungStaerke * 20.0);
    for (Latente& z : f.z) {
        z[0] *= f.sigmaRichtungGrad / richtung;
        z[1] *= f.sigmaStaerke / staerke;
    }
    f.sigmaRichtungGrad = richtung;
    f.sigmaStaerke = staerke;
}

// Richtungsversatz und Stärkefaktor legen nur die Mitte der Störungen fest:
// Versatz + Störung und Faktor × (Stärke + Störung) sind, was die Kugeln
// sehen. Diese Verschiebung ändert keine Lage, nur das Vorwissen, darum wird
// sie genau gerechnet statt Ceres überlassen (dessen Schritte entlang einer
// so flachen Richtung an der Rundung der Ableitungen scheitern): der Versatz
// nimmt die mittlere Richtungsstörung, der Faktor c die Stärke so, dass
// Σ (v/c − Stärke)² am kleinsten ist, mit v = Stärke + Störung.
void Zentriere(Fitzustand& f) {
    const std::size_t versatz = static_cast<std::size_t>(Kenngroesse::richtung_versatz);
    const std::size_t faktor = static_cast<std::size_t>(Kenngroesse::staerke_faktor);
    double summe = 0.0, vv = 0.0, vs = 0.0;
    long n = 0;
    for (std::size_t i = 0; i < f.z.size(); ++i) {
        if (!Erklaert(f, i)) continue;
        summe += f.z[i][0];
        const double v = f.staerke[i] + f.z[i][1] * f.sigmaStaerke;
        vv += v * v;
        vs += v * f.staerke[i];
        ++n;
    }
    if (n == 0) return;
    const double mitte = summe / static_cast<double>(n);
    const double neuerVersatz = f.k[versatz] + mitte * f.sigmaRichtungGrad;
    if (f.frei[versatz] && neuerVersatz >= Art(versatz).untergrenze && neuerVersatz <= Art(versatz).obergrenze) {
        f.k[versatz] = neuerVersatz;
        for (Latente& z : f.z) z[0] -= mitte;
    }
    const double c = vs > 0.0 ? vv / vs : 1.0;
    const double neuerFaktor = f.k[faktor] * c;
    if (f.frei[faktor] && neuerFaktor >= Art(faktor).untergrenze && neuerFaktor <= Art(faktor).obergrenze) {
        f.k[faktor] = neuerFaktor;
        for (std::size_t i = 0; i < f.z.size(); ++i) {
            const double v = f.staerke[i] + f.z[i][1] * f.sigmaStaerke;
            f.z[i][1] = (v / c - f.staerke[i]) / f.sigmaStaerke;
        }
    }
}

struct Lauf {
    Fitzustand& f;
    const Kalibrieroptionen& o;
    Uhr::time_point frist;
    Kalibrierergebnis& ergebnis;

    bool Abgebrochen() const { return o.abbrechen && o.abbrechen->load(); }
    bool FristVorbei() const { return Uhr::now() >= frist; }

    void Melde(const Schritt& s, double anteil) const {
        if (o.fortschritt) o.fortschritt(s.von + (s.bis - s.von) * std::clamp(anteil, 0.0, 1.0), s.name);
    }

    // Ceres über einen Schritt; false nach Abbruch oder Frist. nurDeutliche:
    // nur die Kenngrößen, die fast jeder Stoß zeigt (siehe Durchlauf).
    bool Anpassen(const Schritt& s, bool kenngroessen, bool stoerungen, int iterationen, bool nurDeutliche = false) {
        Melde(s, 0.0);
        Anpassungsbericht b;
        const auto frei = f.frei;
        if (nurDeutliche)
            for (Kenngroesse k : {Kenngroesse::kugelreibung, Kenngroesse::bande_drall, Kenngroesse::bande_abfall,
                                  Kenngroesse::bande_reibung, Kenngroesse::bande_normal_flach,
                                  Kenngroesse::bande_tangential_flach, Kenngroesse::bande_drall_flach,
                                  Kenngroesse::bande_gleiten_normal, Kenngroesse::bande_gleiten_drall,
                                  Kenngroesse::bande_gleiten_laengs, Kenngroesse::richtung_versatz})
                f.frei[static_cast<std::size_t>(k)] = false;
        if (stoerungen && !SetzeGewichte(f)) return false;
        PasseAn(f, {kenngroessen, stoerungen, iterationen, frist},
                [&](int i) { Melde(s, static_cast<double>(i) / iterationen); }, b);
        f.frei = frei;
        ergebnis.iterationen += b.iterationen;
        ergebnis.zeitgrenze |= b.frist;
        if (stoerungen) Zentriere(f);
        return !Abgebrochen() && !b.frist;
    }

    bool Gitter(const Schritt& s, double spanne, bool alle) {
        Melde(s, 0.0);
        f.fortschritt = [&](double a) { Melde(s, a); };
        const bool gut = SucheStoerungen(f, spanne, alle);  // unvollständig: die Störungen bleiben
        f.fortschritt = nullptr;
        if (FristVorbei()) ergebnis.zeitgrenze = true;
        return gut && !ergebnis.zeitgrenze;
    }

    // Die Kosten je Beobachtung ohne Störungen (0 für inaktive).
    bool EinzelkostenOhneStoerungen(const Kenngroessen& k, std::vector<double>& kosten) const {
        kosten.assign(f.beobachtungen.size(), 0.0);
        return FuerAlleAktiven(f, [&](int i, Simergebnis& e) {
            kosten[static_cast<std::size_t>(i)] = Kosten(f, i, k, {0.0, 0.0}, e);
        });
    }

    // Σ Kosten ohne Störungen über alle aktiven Beobachtungen, in fester
    // Reihenfolge summiert (gleich bei jeder Zahl von Threads).
    bool KostenOhneStoerungen(const Kenngroessen& k, double& summe) const {
        std::vector<double> kosten;
        if (!EinzelkostenOhneStoerungen(k, kosten)) return false;
        summe = 0.0;
        for (double x : kosten) summe += x;
        return true;
    }

    // Der Stärkefaktor auf einem Gitter von der Hälfte bis zum Doppelten des
    // Startwerts: er verschiebt alle Lagen zugleich, und von 1 aus liegt ein
    // Tisch mit 0.8 oft jenseits mehrerer Sprünge.
    bool Queue() {
        const std::size_t j = static_cast<std::size_t>(Kenngroesse::staerke_faktor);
        if (!f.frei[j]) return true;
        const double start = f.k[j];
        double besterFaktor = start, besteKosten = INFINITY;
        constexpr int kStufen = 12;
        for (int n = -kStufen; n <= kStufen; ++n) {
            Melde(kQueue, static_cast<double>(n + kStufen) / (2 * kStufen + 1));
            Kenngroessen k = f.k;
            k[j] = std::clamp(start * std::exp2(static_cast<double>(n) / kStufen), Art(j).untergrenze, Art(j).obergrenze);
            double summe;
            if (!KostenOhneStoerungen(k, summe)) return false;
            if (summe < besteKosten) besteKosten = summe, besterFaktor = k[j];
        }
        f.k[j] = besterFaktor;
        return true;
    }

    // Die Banden und der Kugelstoß haben Nebenminima: von den Vorgaben aus
    // bleibt Ceres auf einem fremden Tisch in einem hängen (Bande 64/78,
    // Drall 4 statt 50/75/70). Darum zuerst ein grobes Gitter über die vier
    // Bandenwerte, dann über Stoßzahl und Wurf mit der besten Bande, dann die
    // Bande noch einmal; gemessen ohne Störungen, Cauchy-gestaucht. Der Start
    // bleibt, wenn kein Gitterpunkt besser ist.
    bool Startsuche() {
        if (!o.startsuche) return true;
        using K = Kenngroesse;
        struct Achse {
            K k;
            int anzahl;
            double werte[4];
        };
        // Drall auch umgekehrt, Reibung bis unbegrenzt (die Obergrenze).
        static constexpr Achse kBande[] = {{K::bande_normal, 3, {0.4, 0.6, 0.8}},
                                           {K::bande_tangential, 3, {0.6, 0.8, 0.95}},
                                           {K::bande_drall, 4, {-0.3, 0.05, 0.35, 0.7}},
                                           {K::bande_reibung, 3, {0.15, 0.4, 5.0}}};
        static constexpr Achse kKugel[] = {{K::stosszahl_kugel, 3, {0.75, 0.9, 1.0}},
                                           {K::kugelreibung, 3, {0.01, 0.05, 0.1}}};
        auto punkteVon = [](std::span<const Achse> achsen) {
            int punkte = 1;
            for (const Achse& a : achsen) punkte *= a.anzahl;
            return punkte;
        };
        double beste;
        if (!KostenOhneStoerungen(f.k, beste)) return false;
        bool verbessert = false;
        int schritt = 0;
        const int schritte = 2 * punkteVon(kBande) + punkteVon(kKugel);
        auto gitter = [&](std::span<const Achse> achsen) {
            const Kenngroessen basis = f.k;
            for (int p = 0, punkte = punkteVon(achsen); p < punkte; ++p) {
                Melde(kStartsuche, static_cast<double>(schritt++) / schritte);
                Kenngroessen k = basis;
                int rest = p;
                for (const Achse& a : achsen) {
                    const auto u = static_cast<std::size_t>(a.k);
                    if (f.frei[u]) k[u] = std::clamp(a.werte[rest % a.anzahl], Art(a.k).untergrenze, Art(a.k).obergrenze);
                    rest /= a.anzahl;
                }
                if (k == basis) continue;
                double summe;
                if (!KostenOhneStoerungen(k, summe)) return false;
                if (summe < beste) beste = summe, f.k = k, verbessert = true;
            }
            return !FristVorbei();
        };
        if (!gitter(kBande) || !gitter(kKugel) || !gitter(kBande)) return false;
        return !verbessert || Queue();  // eine andere Bande braucht einen anderen Stärkefaktor
    }

    // false nach Abbruch oder Frist.
    bool Durchlauf() {
        // Hat die Startwelt schon ein Winkelgesetz (ein gelernter Tisch), passt
        // er es an wie jede Kenngröße; sonst zuerst ohne es (siehe Winkelgesetz).
        bool gesetzt = false;
        for (Kenngroesse k : kWinkelwerte) gesetzt = gesetzt || f.k[static_cast<std::size_t>(k)] != 0.0;
        if (f.basis.bandenart == Bandenart::tuch) {
            // Ein fremdes Gesetz als Start (die wahre Welt eines Messlaufs): es bleibt.
            for (Kenngroesse k : kOhneNase) f.frei[static_cast<std::size_t>(k)] = false;
            return Alles() && !Abgebrochen();
        }
        // Ein gelernter Tisch mit Nase muss sich mit mehr Beobachtungen wieder
        // gegen das einfache Gesetz behaupten: seine Nase ist nur ein Kandidat.
        const Welt vorige = f.basis;
        f.basis.bandenart = Bandenart::einfach;
        const Welt* nase = vorige.bandenart == Bandenart::nase ? &vorige : nullptr;
        if (gesetzt) return Alles() && Nasengesetz(nase) && !Abgebrochen();
        const auto frei = f.frei;
        for (Kenngroesse k : kWinkelwerte) f.frei[static_cast<std::size_t>(k)] = false;
        return Alles() && Winkelgesetz(frei) && Nasengesetz(nase) && !Abgebrochen();
    }

    // Die Kosten je aktiver Beobachtung mit den geschätzten Störungen, jede
    // voll gezählt (so vergleichbar, wie viele gerade als unerklärt gelten).
    bool KostenJeBeobachtung(const Kenngroessen& k, std::vector<double>& kosten) {
        kosten.assign(f.beobachtungen.size(), 0.0);
        std::vector<char> unerklaert;
        std::swap(unerklaert, f.unerklaert);
        const bool gut = FuerAlleAktiven(f, [&](int i, Simergebnis& e) {
            kosten[static_cast<std::size_t>(i)] = Kosten(f, i, k, f.z[static_cast<std::size_t>(i)], e);
        });
        std::swap(unerklaert, f.unerklaert);
        return gut;
    }

    // Die Kosten je Beobachtung jetzt, ihr Median über die aktiven (das Maß,
    // mit dem Gestaucht staucht; 0, wenn keine aktiv ist) und ihre gestauchte
    // Summe: damit vergleicht ein Versuch mit einem anderen Bandengesetz.
    // false nach Abbruch.
    bool Ausgangskosten(std::vector<double>& kosten, double& mass, double& summe) {
        if (!KostenJeBeobachtung(f.k, kosten)) return false;
        std::vector<double> aktive;
        for (std::size_t i = 0; i < kosten.size(); ++i)
            if (f.aktiv[i]) aktive.push_back(kosten[i]);
        if (aktive.empty()) return mass = 0.0, true;
        const auto mitte = aktive.begin() + static_cast<std::ptrdiff_t>(aktive.size() / 2);
        std::nth_element(aktive.begin(), mitte, aktive.end());
        mass = std::max(*mitte, 1e-9);
        summe = Gestaucht(kosten, mass);
        return true;
    }

    // Wohin ein Versuch mit einem anderen Bandengesetz zurückkehrt, wenn er nicht hilft.
    struct Stand {
        Kenngroessen k;
        std::vector<Latente> z;
        std::vector<char> unerklaert;
        std::array<bool, kAnzahlKenngroessen> frei;
        Welt basis;
    };
    Stand Merke() const { return {f.k, f.z, f.unerklaert, f.frei, f.basis}; }
    void Zurueck(const Stand& s) {
        f.k = s.k;
        f.z = s.z;
        f.unerklaert = s.unerklaert;
        f.frei = s.frei;
        f.basis = s.basis;
    }

    // Σ log(1 + Kosten / mass) in fester Reihenfolge: die Kosten einer
    // Beobachtung reichen über fünf Größenordnungen, und die wenigen größten
    // (eine Kugel, die in der Welt liegen bleibt und beobachtet fiel) sagten
    // sonst allein, welche Welt besser passt.
    double Gestaucht(const std::vector<double>& kosten, double mass) const {
        double summe = 0.0;
        for (std::size_t i = 0; i < kosten.size(); ++i)
            if (f.aktiv[i]) summe += std::log1p(kosten[i] / mass);
        return summe;
    }

    // Nach dem Fit mit dem festen Bandengesetz das Winkelgesetz, und nur,
    // wenn es die Kosten deutlich senkt: auf einem Tisch, den die festen
    // Anteile ausdrücken, tauschen seine Werte gegen Drall, Stoßzahl quer und
    // Abfall, und der Fit bleibt in einem Nebenminimum (auf einer fremden Welt
    // R: Drall 350 % daneben). Eine Nase dagegen kehrt streifend weit mehr
    // Drall um als gerade hinein und bremst dort weniger: dahin führt von 0
    // kein Gefälle, und die Störungen der Bandenstöße haben den Fehler der
    // festen Bande schon aufgenommen. Darum ein Gitter ohne Störungen, dann die
    // Störungen der schlecht passenden neu, dann gemeinsam.
    bool Winkelgesetz(const std::array<bool, kAnzahlKenngroessen>& frei) {
        bool eines = false;
        for (Kenngroesse k : kWinkelwerte) eines = eines || frei[static_cast<std::size_t>(k)];
        if (!eines) return true;
        Melde(kWinkelgesetz, 0.0);
        std::vector<double> kosten;
        double mass = 0.0, vorher = 0.0;
        if (!Ausgangskosten(kosten, mass, vorher)) return false;
        if (mass == 0.0) return true;  // keine aktive Beobachtung
        const Stand stand = Merke();
        auto zurueck = [&] { Zurueck(stand); };
        for (Kenngroesse k : kWinkelwerte) f.frei[static_cast<std::size_t>(k)] = frei[static_cast<std::size_t>(k)];
        using K = Kenngroesse;
        const std::size_t drall = static_cast<std::size_t>(K::bande_drall_flach);
        const std::size_t laengs = static_cast<std::size_t>(K::bande_tangential_flach);
        double beste;
        if (!KostenOhneStoerungen(f.k, beste)) return zurueck(), false;
        const Kenngroessen basis = f.k;
        for (double d : {-1.5, -0.75, 0.75})
            for (double t : {0.0, 0.3}) {
                Kenngroessen k = basis;
                if (f.frei[drall]) k[drall] = d;
                if (f.frei[laengs]) k[laengs] = t;
                if (k == basis) continue;
                double summe;
                if (!KostenOhneStoerungen(k, summe)) return zurueck(), false;
                if (summe < beste) beste = summe, f.k = k;
            }
        // Nach Frist oder Abbruch gilt der Fit mit dem festen Gesetz: er ist fertig.
        bool gut = Gitter(kWinkelgesetz, 3.0, false) && Anpassen(kWinkelgesetz, true, true, 30);
        if (gut) MarkiereUnerklaerte(f);
        gut = gut && !Abgebrochen() && Anpassen(kWinkelgesetz, true, true, 15);
        if (gut) MarkiereUnerklaerte(f);
        gut = gut && KostenJeBeobachtung(f.k, kosten);
        if (!gut || !(Gestaucht(kosten, mass) < (1.0 - kWinkelgewinn) * vorher)) zurueck();
        return gut;
    }

    // Zuletzt das Gesetz mit Nase (Bandenart::nase) an Stelle des einfachen,
    // und nur, wenn es die Kosten deutlich senkt. Eine Bande, deren Nase die
    // Kugel über der Mitte trifft, kehrt den Drall je nach Gleiten in ganz
    // anderen Regimen um (gleitend oder haftend an der Nase), und das trifft
    // ein Gesetz, das linear im Gleiten ist, nur im Mittel. Höhe und Reibung
    // der Nase sind für Ceres zu sprunghaft (an der Grenze zum Haften knickt
    // jede Lage): ein Gitter ohne Störungen sucht sie grob, Ceres passt den
    // Rest mit Störungen an, dann ein feines Gitter mit diesen Störungen.
    // vorige: die Nase eines schon gelernten Tisches, als weiterer Kandidat.
    bool Nasengesetz(const Welt* vorige) {
        if (!o.nasengesetz) return true;
        Melde(kNasengesetz, 0.0);
        std::vector<double> kosten;
        double mass = 0.0, vorher = 0.0;
        if (!Ausgangskosten(kosten, mass, vorher)) return false;
        if (mass == 0.0) return true;  // keine aktive Beobachtung
        const Stand stand = Merke();
        const Kenngroessen& k0 = stand.k;
        auto zurueck = [&] { Zurueck(stand); };
        const std::size_t normal = static_cast<std::size_t>(Kenngroesse::bande_normal);
        // Grob: Höhe, Reibung und Stoßzahl quer, ohne Störungen (die des
        // einfachen Gesetzes haben seinen Fehler an den Banden aufgenommen),
        // gestaucht wie oben (sonst entschieden die wenigen Kugeln am Ende
        // langer Ketten).
        auto ohneStoerungen = [&](const Kenngroessen& k, double& summe) {
            if (!EinzelkostenOhneStoerungen(k, kosten)) return false;
            summe = Gestaucht(kosten, mass);
            return true;
        };
        double einfach;
        if (!ohneStoerungen(k0, einfach)) return zurueck(), false;
        f.basis.bandenart = Bandenart::nase;
        for (Kenngroesse k : kWinkelwerte) f.k[static_cast<std::size_t>(k)] = 0.0;
        for (Kenngroesse k : kOhneNase) f.frei[static_cast<std::size_t>(k)] = false;
        double beste = INFINITY;
        Welt besteBasis = f.basis;
        Kenngroessen bestesK = f.k;
        auto versuche = [&](double sinus, double reibung, double e) {
            f.basis.naseSinus = std::clamp(sinus, 0.0, 0.5);
            f.basis.naseReibung = std::clamp(reibung, 0.01, 1.0);
            Kenngroessen k = f.k;
            if (f.frei[normal]) k[normal] = std::clamp(e, Art(normal).untergrenze, Art(normal).obergrenze);
            double summe;
            if (!ohneStoerungen(k, summe)) return false;
            if (summe < beste) beste = summe, besteBasis = f.basis, bestesK = k;
            return true;
        };
        // Die Reibung fein: schon 0.05 daneben kehrt an jeder Bande den Drall
        // anders um. Dann vom Besten aus in halben Schritten, solange einer hilft.
        if (vorige && !versuche(vorige->naseSinus, vorige->naseReibung, vorige->eNormal)) return zurueck(), false;
        for (double sinus : {0.2, 0.3, 0.4, 0.5})
            for (int r = 1; r <= 8; ++r)
                for (int e = 0; e < 4; ++e)
                    if (!versuche(sinus, 0.05 * r, 0.7 + 0.08 * e)) return zurueck(), false;
        for (const double h : {1.0, 0.5})
            for (int runde = 0; runde < 4; ++runde) {
                const Welt b = besteBasis;
                const double e = bestesK[normal], vorBeste = beste;
                for (const auto& [dSinus, dReibung, dE] :
                     {std::tuple{0.05, 0.0, 0.0}, std::tuple{-0.05, 0.0, 0.0}, std::tuple{0.0, 0.025, 0.0},
                      std::tuple{0.0, -0.025, 0.0}, std::tuple{0.0, 0.0, 0.04}, std::tuple{0.0, 0.0, -0.04}})
                    if (!versuche(b.naseSinus + h * dSinus, b.naseReibung + h * dReibung, e + h * dE))
                        return zurueck(), false;
                if (!(beste < vorBeste)) break;
            }
        // Schon ohne Störungen nicht besser als das einfache Gesetz: dann
        // ist es keine Nase (so auf jedem Tisch von R), und der teure Rest entfällt.
        if (!(beste < einfach)) return zurueck(), true;
        f.basis = besteBasis;
        f.k = bestesK;
        bool gut = Gitter(kNasengesetz, 3.0, false) && Anpassen(kNasengesetz, true, true, 30);
        if (gut) MarkiereUnerklaerte(f);
        // Fein: je Richtung ein Schritt, solange er die Kosten mit den Störungen senkt.
        double jetzt = 0.0;
        gut = gut && KostenJeBeobachtung(f.k, kosten);
        if (gut) jetzt = Gestaucht(kosten, mass);
        for (int runde = 0; gut && runde < 3; ++runde) {
            const Welt mitte = f.basis;
            Welt besser = mitte;
            const double vorJetzt = jetzt;
            for (const auto& [dSinus, fReibung] : {std::pair{0.04, 1.0}, std::pair{-0.04, 1.0}, std::pair{0.0, 1.3},
                                                  std::pair{0.0, 1.0 / 1.3}}) {
                f.basis = mitte;
                f.basis.naseSinus = std::clamp(mitte.naseSinus + dSinus, 0.0, 0.5);
                f.basis.naseReibung = std::clamp(mitte.naseReibung * fReibung, 0.01, 1.0);
                gut = KostenJeBeobachtung(f.k, kosten);
                if (!gut) break;
                if (const double neu = Gestaucht(kosten, mass); neu < jetzt) jetzt = neu, besser = f.basis;
            }
            f.basis = besser;
            if (!(jetzt < vorJetzt)) break;
        }
        gut = gut && !Abgebrochen() && Anpassen(kNasengesetz, true, true, 15);
        if (gut) MarkiereUnerklaerte(f);
        gut = gut && KostenJeBeobachtung(f.k, kosten);
        if (!gut || !(Gestaucht(kosten, mass) < (1.0 - kWinkelgewinn) * vorher)) zurueck();
        return gut;
    }

    // Der ganze Fit über alle freien Kenngrößen. Jeder Schritt baut auf dem
    // vorigen auf; false nach Abbruch oder Frist. Ohne die Störungen ziehen sie
    // die schwachen Kenngrößen (Wurf, Drall an der Bande, ihr Abfall) weit weg,
    // und von dort findet der gemeinsame Fit nicht mehr zurück: darum zuerst
    // nur die deutlichen.
    bool Alles() {
        if (!Queue() || !Startsuche() || !Anpassen(kOhneStoerungen, true, false, 25, true)) return false;
        if (!Gitter(kGitter, 4.0, true) || !Anpassen(kGemeinsam, true, true, 40)) return false;
        double richtung, staerke;
        long n;
        SchaetzeRauschen(f, richtung, staerke, n);
        SetzeRauschen(f, richtung, staerke);
        if (!Gitter(kNachsuchen, 3.0, false) || !Anpassen(kNochmals, true, true, 40)) return false;
        Melde(kZuletzt, 0.0);
        MarkiereUnerklaerte(f);
        if (Abgebrochen() || !Anpassen(kZuletzt, true, true, 30)) return false;
        MarkiereUnerklaerte(f);  // für den Bericht und das Rauschen: nach dem letzten Schritt
        return !Abgebrochen();
    }
};

// Der Zustand zu Beginn: nur brauchbare Beobachtungen, die Kenngrößen der
// Startwelt in ihren Grenzen. herkunft: Index der Eingabe je Beobachtung im Fit.
void Bereite(std::span<const Beobachtung> beobachtungen, const Welt& startwelt, const Tischgeometrie& geometrie,
             const Kalibrieroptionen& o, Fitzustand& f, std::vector<std::size_t>& herkunft,
             Kalibrierergebnis& ergebnis) {
    f.geometrie = &geometrie;
    f.basis = startwelt;
    f.k = InDieGrenzen(AusWelt(startwelt));
    for (int j = 0; j < kAnzahlKenngroessen; ++j)
        f.frei[static_cast<std::size_t>(j)] = !o.festhalten[static_cast<std::size_t>(j)];
    const double rauschen = std::max(o.rauschen, 0.05);  // ganz ohne Maß gäbe es keine Störung zu suchen
    f.sigmaRichtungGrad = kStreuungRichtungGrad * rauschen;
    f.sigmaStaerke = kStreuungStaerke * rauschen;
    f.mass = {o.lagefehler, o.ausreisser};
    f.threads = o.threads > 0 ? o.threads : Kerne();
    f.abbrechen = o.abbrechen;

    ergebnis.beobachtungen = static_cast<long>(beobachtungen.size());
    ergebnis.reste.assign(beobachtungen.size(), {Verwendung::unbrauchbar, 0.0, 0.0});
    const Tischkasten kasten = TischkastenAus(geometrie);
    for (std::size_t i = 0; i < beobachtungen.size(); ++i) {
        const Beobachtung& b = beobachtungen[i];
        if (!Brauchbar(b, kasten)) {
            ++ergebnis.unbrauchbar;
            continue;
        }
        herkunft.push_back(i);
        f.beobachtungen.push_back(&b);
        f.staerke.push_back(std::hypot(static_cast<double>(b.stoss.x), static_cast<double>(b.stoss.y)));
    }
    f.z.assign(f.beobachtungen.size(), {0.0, 0.0});
    f.aktiv.assign(f.beobachtungen.size(), 1);
}

// Kenngrößen in Hundertsteln mit Unsicherheit, das Rauschen, die Fehler vorher
// und nachher, was aus jeder Beobachtung wurde. false nach einem Abbruch.
bool FasseZusammen(const Fitzustand& f, const Kenngroessen& start, const Welt& startwelt, double g,
                   const std::vector<std::size_t>& herkunft, Kalibrierergebnis& ergebnis) {
    Kenngroessen sigma;
    if (!Unsicherheiten(f, sigma)) return false;
    ergebnis.welt = InWelt(f.k, f.basis);
    for (int j = 0; j < kAnzahlKenngroessen; ++j) {
        const auto k = static_cast<Kenngroesse>(j);
        const std::size_t u = static_cast<std::size_t>(j);
        ergebnis.kenngroessen[u] = {Dateiwert(k, f.k[u], f.basis, g), InHundertstel(k, sigma[u], f.basis, g),
                                    Dateiwert(k, start[u], f.basis, g), !f.frei[u]};
    }
    ergebnis.rollreibung = RollreibungInHundertstel(f.basis, g);

    long n = 0;
    SchaetzeRauschen(f, ergebnis.sigmaRichtungGrad, ergebnis.sigmaStaerke, n);
    const double wurzel = std::sqrt(2.0 * static_cast<double>(std::max(1L, n)));
    ergebnis.sigmaRichtungUnsicherheit = ergebnis.sigmaRichtungGrad / wurzel;
    ergebnis.sigmaStaerkeUnsicherheit = ergebnis.sigmaStaerke / wurzel;
    ergebnis.rauschfaktor = Rauschfaktor(ergebnis.sigmaRichtungGrad, ergebnis.sigmaStaerke);
    if (!SchaetzeKlassenrauschen(f, ergebnis)) return false;

    ergebnis.vorher = Messe(f, &startwelt, false);
    ergebnis.nachher = Messe(f, nullptr, false);
    ergebnis.angepasst = Messe(f, nullptr, true);
    for (std::size_t i = 0; i < herkunft.size(); ++i) {
        const Stoerung s = StoerungAus(f, f.z[i]);
        const bool erklaert = Erklaert(f, i);
        ergebnis.reste[herkunft[i]] = {erklaert ? Verwendung::benutzt : Verwendung::unerklaert, s.richtungGrad,
                                       s.staerke};
        ergebnis.benutzt += erklaert;
        ergebnis.unerklaert += !erklaert;
    }
    return !(f.abbrechen && f.abbrechen->load());
}

bool KalibriereGanz(std::span<const Beobachtung> beobachtungen, const Welt& startwelt,
                    const Tischgeometrie& geometrie, const Kalibrieroptionen& o, Kalibrierergebnis& ergebnis,
                    std::string& fehler) {
    const Uhr::time_point beginn = Uhr::now();
    ergebnis = Kalibrierergebnis{};
    if (startwelt.modell != Modell::R) return fehler = "Nur Welt R lässt sich an Beobachtungen anpassen.", false;
    if (!(o.lagefehler > 0.0) || !(o.ausreisser > 0.0) || !(o.g > 0.0) || !(o.rauschen >= 0.0) ||
        !(o.hoechstdauer > 0.0))
        return fehler = "Ungültige Optionen: lagefehler, ausreisser, g und hoechstdauer müssen positiv sein.", false;

    Fitzustand f;
    std::vector<std::size_t> herkunft;
    Bereite(beobachtungen, startwelt, geometrie, o, f, herkunft, ergebnis);
    const long mindestens = std::max(1, o.mindestens);
    if (static_cast<long>(f.beobachtungen.size()) < mindestens) {
        fehler = "Zu wenige brauchbare Beobachtungen: " + std::to_string(f.beobachtungen.size()) + " von " +
                 std::to_string(beobachtungen.size()) + ", nötig sind " + std::to_string(mindestens) + ".";
        return false;
    }
    const Kenngroessen start = f.k;
    Lauf l{f, o, beginn + std::chrono::duration_cast<Uhr::duration>(std::chrono::duration<double>(o.hoechstdauer)),
           ergebnis};
    f.frist = l.frist;
    l.Durchlauf();  // nach der Frist gilt das Beste bis dahin
    ergebnis.zeitgrenze = ergebnis.zeitgrenze || l.FristVorbei();
    f.frist = Uhr::time_point::max();
    if (l.Abgebrochen() || !FasseZusammen(f, start, startwelt, o.g, herkunft, ergebnis))
        return fehler = "abgebrochen", false;
    ergebnis.sekunden = std::chrono::duration<double>(Uhr::now() - beginn).count();
    return true;
}

}  // namespace

bool Kalibriere(std::span<const Beobachtung> beobachtungen, const Welt& startwelt, const Tischgeometrie& geometrie,
                const Kalibrieroptionen& o, Kalibrierergebnis& ergebnis, std::string& fehler) {
    // Der Spieler ruft das auf einem eigenen Thread: keine Ausnahme darf hinaus.
    try {
        return KalibriereGanz(beobachtungen, startwelt, geometrie, o, ergebnis, fehler);
    } catch (const std::bad_alloc&) {
        fehler = "Zu wenig Speicher für den Fit.";
    } catch (const std::exception& e) {
        fehler = std::string("Fehler im Fit: ") + e.what();
    }
    return false;
}

std::array<double, kAnzahlStossklassen> Klassenrauschen(const Kalibrierergebnis& e) {
    std::array<double, kAnzahlStossklassen> f{};
    for (std::size_t c = 0; c < f.size(); ++c) f[c] = e.klassen[c].rauschfaktor;
    return f;
}
