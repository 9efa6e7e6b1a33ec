#include "sim/simulation.h"

#include <algorithm>
#include <cmath>

#include "sim/bandeneinfach.h"
#include "sim/bandennase.h"
#include "sim/bandentuch.h"
#include "sim/nullstellen.h"

namespace {

enum class Zustand : std::uint8_t { ruht, gleitet, rollt, weg };

// Eine Kugel und ihre laufende Phase. Alle Zeiten zählen ab "jetzt": nach
// jedem Ereignis rücken alle Kugeln auf den Ereigniszeitpunkt vor.
struct Bahn {
    V2 p, v, s;       // Lage, Geschwindigkeit, Rollgeschwindigkeit (nur R)
    V2 a;             // Beschleunigung bis zum Ende der Phase
    double ende;      // Zeit bis Gleiten → Rollen oder Rollen → Halt
    Zustand zustand;

    // Für die Suche vorbereitet (Vorbereite): eine gerade Bahn wird über ihre
    // Weglänge σ gerechnet, das spart die Gleichung vierten Grades.
    bool gerade;
    V2 u;             // Richtung der geraden Bahn
    double v0;        // Anfangsgeschwindigkeit längs u
    double alpha;     // Beschleunigung längs u
    double sMax;      // Weglänge bis zum Ende der Phase
    double xMin, xMax, yMin, yMax;  // überstrichener Kasten der Mittelpunkte

    // Für den Laufweg: wo und wie die Phase begann.
    V2 wegP, wegV, wegA;
    double wegT;
};

struct Kandidat {
    double tau = kNie;
    Ereignisart art = Ereignisart::halt;
    int kugel = 99;
    int andere = -1;
    int nummer = -1;  // Bande, Backe, Ecke oder Tasche
};

// Früher, bei gleicher Zeit nach Art, dann nach Kugelnummern.
bool Frueher(const Kandidat& a, const Kandidat& b) {
    if (a.tau != b.tau) return a.tau < b.tau;
    if (a.art != b.art) return a.art < b.art;
    if (a.kugel != b.kugel) return a.kugel < b.kugel;
    return a.andere < b.andere;
}

struct Lauf {
    const Tischgeometrie& g;
    const Welt& w;
    Simergebnis& e;
    Laufwege* wege;
    const Simbeobachter* beobachter;
    Bahn k[kAnzahlKugeln];
    double jetzt = 0.0;
    double r;
    double letzterKontakt[kAnzahlKugeln][kAnzahlKugeln];  // je Paar i < j, −1: noch keiner
    double gerolltSeit[kAnzahlKugeln];                      // zuletzt rollend oder ruhend geworden
};

// Darunter (Stärkeeinheiten) ist ein Kugel- oder Bandenstoß in R ein
// Schieben, kein Stoß mehr (siehe Kugelstoss und Abprall).
constexpr double kSchiebegrenze = 1e-3;
// Berühren sich zwei Körper schon, zählt ein Näherkommen erst ab dieser
// Geschwindigkeit: sonst fände die Suche dieselbe Berührung wegen Rundung
// sofort wieder. Drückt eine Kugel ohne Geschwindigkeit (nur durch ihre
// Beschleunigung), zählt es, sobald sie kTiefe tiefer eindringt.
constexpr double kMinAnnaeherung = 1e-9;
constexpr double kTiefe = 1e-7;

bool Bewegt(const Bahn& b) { return b.zustand == Zustand::gleitet || b.zustand == Zustand::rollt; }

// Legt aus v und s fest, wie die Kugel weiterläuft.
void SetzePhase(Bahn& b, const Welt& w) {
    if (w.modell == Modell::R) {
        const V2 schlupf = b.v - b.s;
        const double betrag = Betrag(schlupf);
        if (betrag > 1e-12 * std::max(1.0, Betrag(b.v))) {
            b.zustand = Zustand::gleitet;
            b.a = Einheit(schlupf) * -w.aGleiten;
            // Der Schlupf nimmt mit 7/2 · a_S ab (Reibung bremst und dreht zugleich).
            b.ende = w.aGleiten > 0.0 ? betrag / (3.5 * w.aGleiten) : kNie;
            return;
        }
        b.s = b.v;
    }
    if (b.v.x == 0.0 && b.v.y == 0.0) {
        b.zustand = Zustand::ruht;
        b.v = b.s = b.a = {0.0, 0.0};
        b.ende = kNie;
        return;
    }
    b.zustand = Zustand::rollt;
    const double v = Betrag(b.v);
    b.a = b.v * (-w.aRollen / v);
    b.ende = w.aRollen > 0.0 ? v / w.aRollen : kNie;
}

void Vorbereite(Bahn& b) {
    const double bv = Betrag(b.v), ba = Betrag(b.a);
    b.gerade = bv == 0.0 || ba == 0.0 || std::fabs(Kreuz(b.v, b.a)) <= 1e-12 * bv * ba;
    if (b.gerade) {
        b.u = bv > 0.0 ? b.v * (1.0 / bv) : Einheit(b.a);
        b.v0 = bv;
        b.alpha = Skalar(b.a, b.u);
        // Kehrt die Kugel innerhalb der Phase um, ist die Bahn nicht mehr monoton.
        if (b.alpha < 0.0 && b.v0 + b.alpha * b.ende < -1e-12 * b.v0) b.gerade = false;
    }
    if (b.gerade) {
        b.sMax = std::isinf(b.ende) ? kNie : std::max(0.0, b.v0 * b.ende + 0.5 * b.alpha * b.ende * b.ende);
        const V2 z = b.p + b.u * (std::isinf(b.sMax) ? 0.0 : b.sMax);
        b.xMin = std::min(b.p.x, z.x), b.xMax = std::max(b.p.x, z.x);
        b.yMin = std::min(b.p.y, z.y), b.yMax = std::max(b.p.y, z.y);
        if (std::isinf(b.sMax)) {  // ohne Reibung: kein Ende in Sicht
            b.xMin = b.yMin = -kNie;
            b.xMax = b.yMax = kNie;
        }
        return;
    }
    // Parabel: Extremwerte an den Enden und wo eine Komponente der Geschwindigkeit null wird.
    auto spanne = [&](double p, double v, double a, double& lo, double& hi) {
        if (std::isinf(b.ende)) {
            lo = -kNie, hi = kNie;
            return;
        }
        const double ende = p + v * b.ende + 0.5 * a * b.ende * b.ende;
        lo = std::min(p, ende), hi = std::max(p, ende);
        if (a != 0.0) {
            const double t = -v / a;
            if (t > 0.0 && t < b.ende) {
                const double x = p + v * t + 0.5 * a * t * t;
                lo = std::min(lo, x), hi = std::max(hi, x);
            }
        }
    };
    spanne(b.p.x, b.v.x, b.a.x, b.xMin, b.xMax);
    spanne(b.p.y, b.v.y, b.a.y, b.yMin, b.yMax);
}

// Zeit, zu der eine gerade Bahn die Weglänge sigma erreicht (0 ≤ sigma ≤ sMax).
double ZeitBis(const Bahn& b, double sigma) {
    if (sigma <= 0.0) return 0.0;
    if (b.alpha == 0.0) return sigma / b.v0;
    const double radikand = std::max(0.0, b.v0 * b.v0 + 2.0 * b.alpha * sigma);
    return 2.0 * sigma / (b.v0 + std::sqrt(radikand));
}

bool KastenNah(const Bahn& b, double xMin, double xMax, double yMin, double yMax, double abstand) {
    return b.xMin - abstand <= xMax && xMin <= b.xMax + abstand && b.yMin - abstand <= yMax &&
           yMin <= b.yMax + abstand;
}

// Für f = |Δp|² − d² bei Berührung: f ändert sich um 2·d je Längeneinheit.
double PaarErste(const double* koeff, double d, double tmax) {
    return ErsteAnnaeherung(koeff, 4, tmax, 2.0 * d * kMinAnnaeherung, 2.0 * d * kTiefe);
}

// Erste Berührung der Bahn mit einem ruhenden Punkt im Abstand d; kNie sonst.
double ZeitZumPunkt(const Bahn& b, V2 q, double d, double tmax) {
    if (!KastenNah(b, q.x, q.x, q.y, q.y, d)) return kNie;
    const V2 c = b.p - q;
    if (b.gerade) {
        const double halb = Skalar(c, b.u);
        const double cc = Quadrat(c) - d * d;
        if (cc <= 0.0) return halb < -kMinAnnaeherung ? 0.0 : kNie;  // berührt schon
        if (halb >= 0.0) return kNie;  // entfernt sich oder läuft vorbei
        const double disk = halb * halb - cc;
        if (disk < 0.0) return kNie;
        const double sigma = cc / (-halb + std::sqrt(disk));
        if (sigma > b.sMax) return kNie;
        const double t = ZeitBis(b, sigma);
        return t <= tmax ? t : kNie;
    }
    const V2 A = b.a * 0.5;
    const double koeff[5] = {Quadrat(c) - d * d, 2.0 * Skalar(b.v, c), Quadrat(b.v) + 2.0 * Skalar(A, c),
                             2.0 * Skalar(A, b.v), Quadrat(A)};
    return PaarErste(koeff, d, std::min(tmax, b.ende));
}

// Erste Berührung zweier bewegter Kugeln (Gleichung vierten Grades).
double ZeitZweierKugeln(const Bahn& i, const Bahn& j, double d, double tmax) {
    if (!KastenNah(i, j.xMin, j.xMax, j.yMin, j.yMax, d)) return kNie;
    const V2 C = i.p - j.p, B = i.v - j.v, A = (i.a - j.a) * 0.5;
    const double koeff[5] = {Quadrat(C) - d * d, 2.0 * Skalar(B, C), Quadrat(B) + 2.0 * Skalar(A, C),
                             2.0 * Skalar(A, B), Quadrat(A)};
    return PaarErste(koeff, d, std::min({tmax, i.ende, j.ende}));
}

// Erste Annäherung an eine Gerade auf den Abstand d (Normale n durch q).
// Gilt nur auf der Spielseite der Geraden.
double ZeitZurGeraden(const Bahn& b, V2 q, V2 n, double d, double tmax) {
    const double abstand = Skalar(b.p - q, n);
    if (abstand <= 0.0) return kNie;
    const double dn = abstand - d;
    if (b.gerade) {
        const double un = Skalar(b.u, n);
        if (dn <= 0.0) return un < -kMinAnnaeherung ? 0.0 : kNie;
        if (un >= 0.0) return kNie;
        const double sigma = dn / -un;
        if (sigma > b.sMax) return kNie;
        const double t = ZeitBis(b, sigma);
        return t <= tmax ? t : kNie;
    }
    const double koeff[3] = {dn, Skalar(b.v, n), 0.5 * Skalar(b.a, n)};
    return ErsteAnnaeherung(koeff, 2, std::min(tmax, b.ende), kMinAnnaeherung, kTiefe);
}

V2 LageNach(const Bahn& b, double t) { return b.p + b.v * t + b.a * (0.5 * t * t); }

// Trifft die Bahn die Strecke (nicht ihre Enden: das sind die Bandenecken)?
double ZeitZurStrecke(const Bahn& b, const Strecke& s, double d, double tmax) {
    const double lo = std::min(s.a.x, s.b.x), hi = std::max(s.a.x, s.b.x);
    const double unten = std::min(s.a.y, s.b.y), oben = std::max(s.a.y, s.b.y);
    if (!KastenNah(b, lo, hi, unten, oben, d)) return kNie;
    const double t = ZeitZurGeraden(b, s.a, s.normale, d, tmax);
    if (t == kNie) return kNie;
    const double laengs = Skalar(LageNach(b, t) - s.a, s.richtung);
    return laengs >= 0.0 && laengs <= s.laenge ? t : kNie;
}

void Wegpunkt(Lauf& l, int i, V2 p) {
    Laufweg& w = l.wege->kugel[i];
    if (w.anzahl == kMaxWegpunkte) --w.anzahl;
    w.x[w.anzahl] = static_cast<float>(p.x);
    w.y[w.anzahl] = static_cast<float>(p.y);
    ++w.anzahl;
}

// Schließt den Laufweg der Phase ab, die eben endet; Gleitbahnen unterteilt.
void PhaseZuEnde(Lauf& l, int i) {
    if (!l.wege) return;
    const Bahn& b = l.k[i];
    const double dauer = l.jetzt - b.wegT;
    if (dauer > 0.0 && std::fabs(Kreuz(b.wegV, b.wegA)) > 1e-12 * Betrag(b.wegV) * Betrag(b.wegA)) {
        constexpr int kTeile = 12;
        for (int n = 1; n < kTeile; ++n) {
            const double t = dauer * n / kTeile;
            Wegpunkt(l, i, b.wegP + b.wegV * t + b.wegA * (0.5 * t * t));
        }
    }
    Wegpunkt(l, i, b.p);
}

void PhaseBeginnt(Lauf& l, int i) {
    Bahn& b = l.k[i];
    b.wegP = b.p, b.wegV = b.v, b.wegA = b.a, b.wegT = l.jetzt;
}

void Melde(Lauf& l, Ereignisart art, int kugel, int andere, int tasche) {
    Simergebnis& e = l.e;
    if (e.anzahl >= kMaxEreignisse) return;
    e.ereignisse[e.anzahl++] = {l.jetzt, art, static_cast<std::int8_t>(kugel), static_cast<std::int8_t>(andere),
                                static_cast<std::int8_t>(tasche)};
    e.dauer = l.jetzt;
}

void Versenke(Lauf& l, int i, int tasche) {
    Bahn& b = l.k[i];
    PhaseZuEnde(l, i);
    b.zustand = Zustand::weg;
    b.v = b.s = b.a = {0.0, 0.0};
    l.e.inloch[i] = true;
    l.e.tasche[i] = static_cast<std::int8_t>(tasche);
    l.e.zeitVersenkt[i] = l.jetzt;
    Melde(l, Ereignisart::tasche, i, -1, tasche);
}

// Nach jeder Änderung der Bewegung: eine Kugel, die schon jenseits eines
// Mauls liegt und sich zur Tasche hin bewegt, fällt sofort.
bool FaelltSofort(Lauf& l, int i) {
    const Bahn& b = l.k[i];
    if (!Bewegt(b)) return false;
    const int t = TascheJenseits(l.g, b.p);
    if (t < 0) return false;
    const V2 richtung = b.v == V2{0.0, 0.0} ? b.a : b.v;
    if (Skalar(richtung, l.g.maeuler[t].normale) >= 0.0) return false;
    Versenke(l, i, t);
    return true;
}

void NeueBewegung(Lauf& l, int i) {
    SetzePhase(l.k[i], l.w);
    PhaseBeginnt(l, i);
    FaelltSofort(l, i);
}

// Bande, Backe oder Ecke mit der Normalen n (zeigt von der Bande zur Kugel).
void Abprall(Lauf& l, int i, V2 n) {
    Bahn& b = l.k[i];
    const double vn = Skalar(b.v, n);
    const V2 vt = b.v - n * vn;
    if (l.w.modell == Modell::P) {
        if (l.w.bandengesetz == Bandengesetz::spiegel) {
            // Gespiegelt, Betrag × sqrt(sin² h + k² cos² h).
            const double v = Betrag(b.v);
            const double neu = std::sqrt(Quadrat(vt) + l.w.k * l.w.k * vn * vn);
            b.v = v > 0.0 ? (vt - n * vn) * (neu / v) : V2{0.0, 0.0};
        } else {
            b.v = vt - n * (l.w.k * vn);
        }
        return;
    }
    const double sn = Skalar(b.s, n);
    if (vn > -kSchiebegrenze) {
        // Kaum noch Annäherung: die Kugel legt sich an die Bande, statt in
        // immer kürzeren Abständen erneut anzuschlagen.
        b.v = vt;
        b.s = b.s - n * sn;
        return;
    }
    if (l.w.bandenart != Bandenart::einfach) {
        // Ein harter Anschlag federt weniger zurück als ein sanfter (auf Wunsch).
        const double eN = l.w.bandeAbfall > 0.0 ? l.w.eNormal / (1.0 + l.w.bandeAbfall * -vn) : l.w.eNormal;
        if (l.w.bandenart == Bandenart::nase)
            AbprallNase(b.v, b.s, n, l.w, eN);
        else
            AbprallTuch(b.v, b.s, n, l.w, eN);
        return;
    }
    AbprallEinfach(b.v, b.s, n, l.w);
}

// Reibung zwischen den Kugeln (Wurf): die Oberflächen gleiten an der
// Berührung aneinander, seitlich mit dem Unterschied der Geschwindigkeiten
// quer zur Mittellinie, senkrecht mit dem Drall beider Kugeln (eine rollende
// Weiße dreht ihre Vorderseite nach unten). Der Reibungsstoß ist höchstens
// μ · Normalstoß und nie mehr, als das Gleiten aufhebt (1/7 des Gleitens,
// wie im Lehrbuch); seine waagrechte Hälfte wirft die Objektkugel von der
// Mittellinie weg, seine senkrechte ändert den Drall beider Kugeln.
void Wurf(Bahn& a, Bahn& b, V2 n, double normalstoss, const Welt& w) {
    const V2 t = Senkrecht(n);
    const double seitlich = Skalar(a.v - b.v, t);
    const double senkrecht = -Skalar(a.s, n) - Skalar(b.s, n);
    const double gleiten = std::hypot(seitlich, senkrecht);
    if (gleiten <= 0.0) return;
    const double mu =
        w.wurfart == Wurfart::schnell ? 0.00995 + 0.108 * std::exp(-w.wurfAbfall * gleiten) : w.kugelReibung;
    const double reibung = std::min(mu * normalstoss, gleiten / 7.0) / gleiten;
    a.v = a.v - t * (reibung * seitlich);
    b.v = b.v + t * (reibung * seitlich);
    // Ein senkrechter Stoß an der Kugelseite dreht um die waagrechte Achse
    // quer zur Mittellinie: Δs = 5/2 · Stoß (Vollkugel, I = 2/5 m r²).
    a.s = a.s + n * (2.5 * reibung * senkrecht);
    b.s = b.s + n * (2.5 * reibung * senkrecht);
}

void Kugelstoss(Lauf& l, int i, int j) {
    Bahn& a = l.k[i];
    Bahn& b = l.k[j];
    V2 d = b.p - a.p;
    const double abstand = Betrag(d);
    if (abstand == 0.0) return;  // deckungsgleich: keine Stoßrichtung
    const V2 n = d * (1.0 / abstand);
    const double naehern = Skalar(a.v - b.v, n);
    // Ein Nachstoß: dasselbe Paar berührt sich wieder, bevor eine der beiden
    // Kugeln seit dem letzten Stoß ins Rollen kam.
    const double vorher = l.letzterKontakt[i][j];
    const bool nachstoss = vorher >= 0.0 && (l.gerolltSeit[i] < vorher || l.gerolltSeit[j] < vorher);
    l.letzterKontakt[i][j] = l.jetzt;
    if (l.w.modell == Modell::R && (naehern < kSchiebegrenze || nachstoss)) {
        // Mit e < 1 und Drall holt die hintere Kugel die vordere immer
        // wieder ein, in immer kürzeren Abständen (unelastischer Kollaps),
        // oder sie schiebt sie dauernd. In Wirklichkeit schieben beide eine
        // Weile gemeinsam; hier tauschen sie ihre Anteile längs der
        // Mittellinie ganz, Lauf und Drall: Impuls und Energie bleiben, und
        // auch die Beschleunigung längs der Linie kehrt sich um, sodass sie
        // auseinanderlaufen.
        const double vA = Skalar(a.v, n), vB = Skalar(b.v, n);
        const double sA = Skalar(a.s, n), sB = Skalar(b.s, n);
        if (naehern > 0.0) {
            a.v = a.v + n * (vB - vA);
            b.v = b.v + n * (vA - vB);
        }
        a.s = a.s + n * (sB - sA);
        b.s = b.s + n * (sA - sB);
    } else if (naehern > 0.0) {
        // Gleiche Massen: die Anteile längs der Mittellinie tauschen sich aus,
        // der Drall bleibt (bis auf den Wurf).
        const double j_ = 0.5 * (1.0 + l.w.eKugel) * naehern;
        a.v = a.v - n * j_;
        b.v = b.v + n * j_;
        if (l.w.kugelReibung > 0.0 || l.w.wurfart == Wurfart::schnell) Wurf(a, b, n, j_, l.w);
    }
    // Rundung darf die Kugeln nicht ineinanderschieben; mehr als Rundung wird
    // nicht korrigiert (Kugeln, die schon überlappend ankamen, bleiben so).
    const double fehlt = 2.0 * l.r - abstand;
    if (fehlt > 0.0 && fehlt < 1e-9) {
        a.p = a.p - n * (0.5 * fehlt);
        b.p = b.p + n * (0.5 * fehlt);
    }
}

void Beobachte(Lauf& l) {
    if (!l.beobachter || l.e.anzahl == 0) return;
    Kugelzustand z[kAnzahlKugeln];
    for (int i = 0; i < kAnzahlKugeln; ++i) {
        const Bahn& b = l.k[i];
        // Der wahre Drall: eine rollende Kugel dreht genau mit ihrer Geschwindigkeit.
        const V2 drall = b.zustand == Zustand::rollt ? b.v : b.s;
        z[i] = {b.p, b.v, l.w.modell == Modell::R ? drall : V2{0.0, 0.0}, b.zustand != Zustand::weg};
    }
    l.beobachter->nachEreignis(l.beobachter->daten, l.e.ereignisse[l.e.anzahl - 1], z);
}

// Das früheste Ereignis der bewegten Kugel i (Kugelpaare mit bewegten j < i
// hat schon j gefunden).
void SucheEreignis(const Lauf& l, int i, Kandidat& bester) {
    const Bahn& b = l.k[i];
    const double r = l.r;
    auto nimm = [&](double tau, Ereignisart art, int kugel, int andere, int nummer) {
        if (tau == kNie) return;
        const Kandidat k{tau, art, kugel, andere, nummer};
        if (Frueher(k, bester)) bester = k;
    };

    nimm(b.ende, b.zustand == Zustand::gleitet ? Ereignisart::rollen : Ereignisart::halt, i, -1, -1);

    for (int j = 0; j < kAnzahlKugeln; ++j) {
        if (j == i) continue;
        const Bahn& o = l.k[j];
        if (o.zustand == Zustand::weg) continue;
        double tau;
        if (o.zustand == Zustand::ruht) {
            tau = ZeitZumPunkt(b, o.p, 2.0 * r, bester.tau);
        } else {
            if (j < i) continue;
            tau = ZeitZweierKugeln(b, o, 2.0 * r, bester.tau);
        }
        nimm(tau, Ereignisart::kugel, std::min(i, j), std::max(i, j), -1);
    }
    for (int n = 0; n < 6; ++n) nimm(ZeitZurStrecke(b, l.g.banden[n], r, bester.tau), Ereignisart::bande, i, -1, n);
    for (int n = 0; n < 12; ++n) nimm(ZeitZurStrecke(b, l.g.backen[n], r, bester.tau), Ereignisart::backe, i, -1, n);
    for (int n = 0; n < 12; ++n) nimm(ZeitZumPunkt(b, l.g.ecken[n], r, bester.tau), Ereignisart::ecke, i, -1, n);
    for (int n = 0; n < 6; ++n) nimm(ZeitZurStrecke(b, l.g.maeuler[n], 0.0, bester.tau), Ereignisart::tasche, i, -1, n);
}

void Vorruecken(Lauf& l, double tau) {
    if (tau <= 0.0) return;
    for (Bahn& b : l.k) {
        if (!Bewegt(b)) continue;
        b.p = LageNach(b, tau);
        if (b.zustand == Zustand::gleitet) b.s = b.s - b.a * (2.5 * tau);  // ds/dt = −5/2 · a
        b.v = b.v + b.a * tau;
        // Eine rollende Kugel dreht in jedem Augenblick mit ihrer Geschwindigkeit;
        // ein Drall vom Beginn des Rollens wäre zu groß und gäbe Kugel- und
        // Bandenstößen zu viel Nachlauf.
        if (b.zustand == Zustand::rollt) b.s = b.v;
        b.ende -= tau;
    }
    l.jetzt += tau;
}

void Bearbeite(Lauf& l, const Kandidat& k) {
    const int i = k.kugel;
    Bahn& b = l.k[i];
    switch (k.art) {
        case Ereignisart::kugel: {
            const int j = k.andere;
            PhaseZuEnde(l, i);
            PhaseZuEnde(l, j);
            Kugelstoss(l, i, j);
            Melde(l, Ereignisart::kugel, i, j, -1);
            if (l.e.ersteBeruehrung < 0 && (i == 0 || j == 0)) l.e.ersteBeruehrung = i == 0 ? j : i;
            NeueBewegung(l, i);
            NeueBewegung(l, j);
            break;
        }
        case Ereignisart::bande:
        case Ereignisart::backe:
        case Ereignisart::ecke: {
            PhaseZuEnde(l, i);
            V2 n;
            if (k.art == Ereignisart::bande) n = l.g.banden[k.nummer].normale;
            else if (k.art == Ereignisart::backe) n = l.g.backen[k.nummer].normale;
            else n = Einheit(b.p - l.g.ecken[k.nummer]);
            Abprall(l, i, n);
            Melde(l, k.art, i, -1, -1);
            NeueBewegung(l, i);
            break;
        }
        case Ereignisart::tasche:
            Versenke(l, i, k.nummer);
            break;
        case Ereignisart::rollen:
            PhaseZuEnde(l, i);
            l.gerolltSeit[i] = l.jetzt;
            b.s = b.v;
            SetzePhase(b, l.w);
            Melde(l, b.zustand == Zustand::ruht ? Ereignisart::halt : Ereignisart::rollen, i, -1, -1);
            PhaseBeginnt(l, i);
            break;
        case Ereignisart::halt:
            // Genau am Ende der Phase: v ist bis auf Rundung null.
            PhaseZuEnde(l, i);
            l.gerolltSeit[i] = l.jetzt;
            b.v = b.s = b.a = {0.0, 0.0};
            b.zustand = Zustand::ruht;
            b.ende = kNie;
            Melde(l, Ereignisart::halt, i, -1, -1);
            break;
    }
}

}  // namespace

const char* Ereignisname(Ereignisart art) {
    switch (art) {
        case Ereignisart::kugel: return "kugel";
        case Ereignisart::bande: return "bande";
        case Ereignisart::backe: return "backe";
        case Ereignisart::ecke: return "ecke";
        case Ereignisart::tasche: return "tasche";
        case Ereignisart::rollen: return "rollen";
        case Ereignisart::halt: return "halt";
    }
    return "?";
}

bool Simuliere(const Tischgeometrie& g, const Welt& w, const Spielstand& stand, Vektor stoss, Simergebnis& e,
               Laufwege* wege, const Simbeobachter* beobachter) {
    e.anzahl = 0;
    e.ereignisgrenze = false;
    e.ersteBeruehrung = -1;
    e.dauer = 0.0;
    Lauf l{g, w, e, wege, beobachter, {}, 0.0, g.radius, {}, {}};
    for (int i = 0; i < kAnzahlKugeln; ++i) {
        l.gerolltSeit[i] = -1.0;
        for (double& t : l.letzterKontakt[i]) t = -1.0;
        const Kugel& k = stand.kugeln[i];
        Bahn& b = l.k[i];
        b = Bahn{};
        b.p = {k.x, k.y};
        b.ende = kNie;
        // Die Weiße wird gestoßen, also liegt sie auf dem Tisch.
        b.zustand = i != 0 && k.inloch ? Zustand::weg : Zustand::ruht;
        e.lage[i] = b.p;
        e.inloch[i] = b.zustand == Zustand::weg;
        e.tasche[i] = -1;
        e.zeitVersenkt[i] = -1.0;
        if (wege) {
            wege->kugel[i].anzahl = 0;
            if (b.zustand != Zustand::weg) Wegpunkt(l, i, b.p);
        }
    }
    if (!std::isfinite(stoss.x) || !std::isfinite(stoss.y)) return false;

    l.k[0].v = {stoss.x, stoss.y};
    if (w.modell == Modell::R) {
        // Der Queue des Tisches: er dreht die Richtung und skaliert die Stärke.
        const double c = std::cos(w.richtungVersatz), s = std::sin(w.richtungVersatz);
        const V2 v = l.k[0].v;
        l.k[0].v = V2{c * v.x - s * v.y, s * v.x + c * v.y} * w.staerkeFaktor;
    }
    NeueBewegung(l, 0);
    Beobachte(l);

    for (;;) {
        Kandidat bester;
        bool bewegt = false;
        for (Bahn& b : l.k)
            if (Bewegt(b)) Vorbereite(b), bewegt = true;
        if (!bewegt) break;
        for (int i = 0; i < kAnzahlKugeln; ++i)
            if (Bewegt(l.k[i])) SucheEreignis(l, i, bester);
        if (bester.tau == kNie) break;  // nur ohne Reibung denkbar
        if (e.anzahl >= kMaxEreignisse) {
            e.ereignisgrenze = true;
            break;
        }
        Vorruecken(l, bester.tau);
        Bearbeite(l, bester);
        Beobachte(l);
    }

    for (int i = 0; i < kAnzahlKugeln; ++i) e.lage[i] = l.k[i].p;
    return true;
}

Spielstand Endstand(const Spielstand& vorher, const Simergebnis& e) {
    Spielstand s = vorher;
    for (int i = 0; i < kAnzahlKugeln; ++i) {
        if (e.tasche[i] >= 0) s.kugeln[i].inloch = 1;
        s.kugeln[i].x = static_cast<float>(e.lage[i].x);
        s.kugeln[i].y = static_cast<float>(e.lage[i].y);
    }
    return s;
}
