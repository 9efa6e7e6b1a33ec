#include "kalibrierbild.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>

#include "fenster/tischbild.h"
#include "lernen/restfehler.h"
#include "sim/simulation.h"

namespace {

const QColor kVorher(215, 60, 40);
const QColor kNachher(40, 90, 200);
const QColor kAngepasst(40, 150, 60);

constexpr int kRand = 30;
constexpr int kKopf = 34;
constexpr int kFeldBreite = 460;
constexpr int kGesetzHoehe = 200;
constexpr double kFehlerMin = 1e-3, kFehlerMax = 100.0;  // Tischeinheiten, logarithmisch

QPointF Tischpunkt(const Ansicht& a, V2 p) {
    return {kRand + a.w * p.x / a.breite, kKopf + a.h - a.h * p.y / a.hoehe};
}

void Tischhaelfte(QPainter& p, const Tischkontext& tk, const Ansicht& a, const std::vector<Kugelvergleich>& kugeln) {
    p.save();
    p.translate(kRand, kKopf);
    ZeichneTisch(p, a, tk);
    p.restore();
    p.setRenderHint(QPainter::Antialiasing);
    for (const Kugelvergleich& k : kugeln) {
        const QPointF b = Tischpunkt(a, k.beobachtet);
        p.setPen(QPen(QColor(215, 60, 40, 60), 1));
        p.drawLine(b, Tischpunkt(a, k.vorher));
        p.setPen(QPen(QColor(40, 90, 200, 160), 1));
        p.drawLine(b, Tischpunkt(a, k.nachher));
    }
    p.setPen(Qt::NoPen);
    for (const Kugelvergleich& k : kugeln) {
        p.setBrush(kVorher);
        p.drawEllipse(Tischpunkt(a, k.vorher), 1.5, 1.5);
        p.setBrush(kNachher);
        p.drawEllipse(Tischpunkt(a, k.nachher), 1.5, 1.5);
        p.setBrush(Qt::black);
        p.drawEllipse(Tischpunkt(a, k.beobachtet), 2.0, 2.0);
    }
}

// Anteil der Kugeln mit höchstens diesem Fehler, über den Fehler (logarithmisch).
void Verteilung(QPainter& p, const QRect& feld, std::vector<double> fehler, const QColor& farbe) {
    if (fehler.empty()) return;
    std::sort(fehler.begin(), fehler.end());
    const auto x = [&](double f) {
        const double l = (std::log10(std::clamp(f, kFehlerMin, kFehlerMax)) - std::log10(kFehlerMin)) /
                         (std::log10(kFehlerMax) - std::log10(kFehlerMin));
        return feld.left() + l * feld.width();
    };
    QPolygonF linie;
    linie << QPointF(feld.left(), feld.bottom());
    for (std::size_t i = 0; i < fehler.size(); ++i) {
        const double y = feld.bottom() - feld.height() * static_cast<double>(i + 1) / static_cast<double>(fehler.size());
        linie << QPointF(x(fehler[i]), linie.back().y()) << QPointF(x(fehler[i]), y);
    }
    linie << QPointF(feld.right(), linie.back().y());
    p.setPen(QPen(farbe, 2));
    p.drawPolyline(linie);
}

// Gitter, Rahmen und Beschriftung eines Felds mit teile Abschnitten je Achse.
void Achsenfeld(QPainter& p, const QRect& feld, int teile, const std::function<QString(int)>& xMarke,
                const std::function<QString(int)>& yMarke) {
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QColor(210, 210, 210));
    for (int d = 0; d <= teile; ++d) {
        const int x = feld.left() + feld.width() * d / teile;
        p.drawLine(x, feld.top(), x, feld.bottom());
        const int y = feld.bottom() - feld.height() * d / teile;
        p.drawLine(feld.left(), y, feld.right(), y);
    }
    p.setPen(Qt::black);
    p.setBrush(Qt::NoBrush);
    p.drawRect(feld);
    for (int d = 0; d <= teile; ++d) {
        const int x = feld.left() + feld.width() * d / teile;
        p.drawText(QRect(x - 30, feld.bottom() + 4, 60, 16), Qt::AlignCenter, xMarke(d));
        const int y = feld.bottom() - feld.height() * d / teile;
        p.drawText(QRect(feld.left() - 46, y - 8, 40, 16), Qt::AlignRight | Qt::AlignVCenter, yMarke(d));
    }
}

void Fehlerhaelfte(QPainter& p, const QRect& feld, const std::vector<Kugelvergleich>& kugeln,
                   const Kalibrierergebnis& e) {
    const char* marken[] = {"0.001", "0.01", "0.1", "1", "10", "100"};
    Achsenfeld(p, feld, 5, [&](int d) { return QString(marken[d]); },
               [](int d) { return QString::number(20 * d) + " %"; });
    p.drawText(QRect(feld.left(), feld.bottom() + 20, feld.width(), 16), Qt::AlignCenter,
               QString::fromUtf8("Abstand zur beobachteten Lage (Tischeinheiten)"));
    std::vector<double> vorher, nachher, angepasst;
    for (const Kugelvergleich& k : kugeln) {
        vorher.push_back(k.fehlerVorher);
        nachher.push_back(k.fehlerNachher);
        angepasst.push_back(k.fehlerAngepasst);
    }
    p.setRenderHint(QPainter::Antialiasing);
    Verteilung(p, feld, vorher, kVorher);
    Verteilung(p, feld, nachher, kNachher);
    Verteilung(p, feld, angepasst, kAngepasst);
    const struct {
        QColor farbe;
        QString text;
    } legende[] = {
        {kVorher, QString::fromUtf8("vorher: Median %1").arg(e.vorher.median, 0, 'g', 3)},
        {kNachher, QString::fromUtf8("nachher: Median %1").arg(e.nachher.median, 0, 'g', 3)},
        {kAngepasst, QString::fromUtf8("mit den geschätzten Störungen: Median %1").arg(e.angepasst.median, 0, 'g', 3)},
    };
    int y = feld.top() + 8;
    for (const auto& l : legende) {
        p.setPen(QPen(l.farbe, 2));
        p.drawLine(feld.left() + 8, y + 7, feld.left() + 28, y + 7);
        p.setPen(Qt::black);
        p.drawText(QRect(feld.left() + 34, y, feld.width() - 40, 16), Qt::AlignLeft | Qt::AlignVCenter, l.text);
        y += 18;
    }
}

// Eine Welt für die Gesetze allein: die Kugel rollt sofort (Gleiten sehr
// stark) und verliert unterwegs nichts (kein Rollen), der Queue stößt genau.
// So zeigt die Kurve nur, was Bande und Kugelstoß tun.
Welt Gesetzeswelt(Welt w) {
    w.aGleiten = 1e4;
    w.aRollen = 0.0;
    w.staerkeFaktor = 1.0;
    w.richtungVersatz = 0.0;
    return w;
}

Spielstand NurDieWeisse(V2 weisse) {
    Spielstand s{};
    for (int i = 1; i < kAnzahlKugeln; ++i) s.kugeln[i].inloch = 1;
    s.kugeln[0].x = static_cast<float>(weisse.x);
    s.kugeln[0].y = static_cast<float>(weisse.y);
    return s;
}

struct Aufzeichnung {
    bool bande = false, fertig = false;
    V2 davor{0.0, 0.0}, danach{0.0, 0.0};
    V2 objekt{0.0, 0.0};
};

// Eine rollende Kugel (Stärke 3, rollend 3·5/7) unter einfallGrad zur Normalen
// an die linke Bande; gemessen, sobald sie danach wieder rollt.
bool Bandenabgang(const Tischgeometrie& g, const Welt& w, double einfallGrad, double& abgangGrad, double& anteil) {
    const Strecke& bande = g.banden[0];
    const V2 mitte = (bande.a + bande.b) * 0.5;
    const double h = einfallGrad * M_PI / 180.0;
    const V2 richtung = bande.normale * -std::cos(h) + bande.richtung * std::sin(h);
    const Spielstand stand = NurDieWeisse(mitte + bande.normale * (4.0 * g.radius));
    Aufzeichnung a;
    const Simbeobachter b{[](void* d, const Ereignis& e, const Kugelzustand* k) {
                              auto& z = *static_cast<Aufzeichnung*>(d);
                              if (z.fertig || e.kugel != 0) return;
                              if (e.art == Ereignisart::rollen && !z.bande) z.davor = k[0].v;
                              if (e.art == Ereignisart::bande) z.bande = true;
                              if (e.art == Ereignisart::rollen && z.bande) z.danach = k[0].v, z.fertig = true;
                          },
                          &a};
    const auto e = std::make_unique<Simergebnis>();
    const Vektor stoss{static_cast<float>(3.0 * richtung.x), static_cast<float>(3.0 * richtung.y), 0.0f};
    Simuliere(g, Gesetzeswelt(w), stand, stoss, *e, nullptr, &b);
    if (!a.fertig || Betrag(a.davor) <= 0.0) return false;
    abgangGrad = std::atan2(std::abs(Skalar(a.danach, bande.richtung)), Skalar(a.danach, bande.normale)) * 180.0 / M_PI;
    anteil = Betrag(a.danach) / Betrag(a.davor);
    return true;
}

// Die rollende Weiße trifft eine ruhende Kugel unter schnittGrad (zwischen
// ihrem Weg und der Mittellinie); gemessen wird, wie weit die Objektkugel
// neben der Mittellinie abgeht (Wurf), in Grad.
bool Wurf(const Tischgeometrie& g, const Welt& w, double schnittGrad, double& wurfGrad) {
    const Strecke& bande = g.banden[0];
    const V2 objekt = (bande.a + bande.b) * 0.5 + bande.normale * (20.0 * g.radius);
    const double h = schnittGrad * M_PI / 180.0;
    const V2 u = bande.normale;  // die Weiße läuft von der Bande weg
    const V2 quer = Senkrecht(u);
    const V2 weisse = objekt - u * (6.0 * g.radius) + quer * (2.0 * g.radius * std::sin(h));
    Spielstand stand = NurDieWeisse(weisse);
    stand.kugeln[1].inloch = 0;
    stand.kugeln[1].x = static_cast<float>(objekt.x);
    stand.kugeln[1].y = static_cast<float>(objekt.y);
    Aufzeichnung a;
    const Simbeobachter b{[](void* d, const Ereignis& e, const Kugelzustand* k) {
                              auto& z = *static_cast<Aufzeichnung*>(d);
                              if (z.fertig || e.art != Ereignisart::kugel) return;
                              z.objekt = k[1].v;
                              z.danach = k[1].p - k[0].p;  // die Mittellinie beim Stoß
                              z.fertig = true;
                          },
                          &a};
    const auto e = std::make_unique<Simergebnis>();
    const Vektor stoss{static_cast<float>(3.0 * u.x), static_cast<float>(3.0 * u.y), 0.0f};
    Simuliere(g, Gesetzeswelt(w), stand, stoss, *e, nullptr, &b);
    if (!a.fertig || Betrag(a.objekt) <= 0.0) return false;
    wurfGrad = std::abs(std::atan2(Kreuz(a.danach, a.objekt), Skalar(a.danach, a.objekt))) * 180.0 / M_PI;
    return true;
}

struct Kurve {
    QColor farbe;
    QPolygonF punkte;  // in Einheiten der Achsen
};

void Kurvenfeld(QPainter& p, const QRect& feld, const QString& titel, const QString& xText, double xMax, double yMax,
                const std::vector<Kurve>& kurven, bool diagonale) {
    Achsenfeld(p, feld, 4, [&](int d) { return QString::number(xMax * d / 4, 'g', 3); },
               [&](int d) { return QString::number(yMax * d / 4, 'g', 3); });
    p.drawText(QRect(feld.left(), feld.top() - 22, feld.width(), 18), Qt::AlignLeft | Qt::AlignVCenter, titel);
    p.drawText(QRect(feld.left(), feld.bottom() + 20, feld.width(), 16), Qt::AlignCenter, xText);
    auto bild = [&](QPointF q) {
        return QPointF(feld.left() + feld.width() * q.x() / xMax,
                       feld.bottom() - feld.height() * std::clamp(q.y() / yMax, 0.0, 1.0));
    };
    p.setRenderHint(QPainter::Antialiasing);
    if (diagonale) {
        p.setPen(QPen(QColor(160, 160, 160), 1, Qt::DashLine));
        p.drawLine(bild({0.0, 0.0}), bild({xMax, std::min(xMax, yMax)}));
    }
    for (const Kurve& k : kurven) {
        QPolygonF linie;
        for (const QPointF& q : k.punkte) linie << bild(q);
        p.setPen(QPen(k.farbe, 2));
        p.drawPolyline(linie);
    }
}

}  // namespace

std::vector<Kugelvergleich> VergleicheKugeln(std::span<const Beobachtung> beobachtungen, const Welt& startwelt,
                                             const Kalibrierergebnis& e, const Tischgeometrie& g) {
    std::vector<Kugelvergleich> aus;
    const auto sim = std::make_unique<Simergebnis>();
    for (std::size_t i = 0; i < beobachtungen.size() && i < e.reste.size(); ++i) {
        const Beobachtungsrest& r = e.reste[i];
        if (r.verwendung != Verwendung::benutzt) continue;
        const Beobachtung& b = beobachtungen[i];
        const double staerke = std::hypot(static_cast<double>(b.stoss.x), static_cast<double>(b.stoss.y));
        Kugelabweichung vor, nach, mit;
        SpieleBeobachtung(g, startwelt, b, *sim, vor);
        V2 lageVorher[kAnzahlKugeln];
        std::copy(std::begin(sim->lage), std::end(sim->lage), lageVorher);
        SpieleBeobachtung(g, GestoerteWelt(e.welt, staerke, {r.richtungGrad, r.staerke}), b, *sim, mit);
        SpieleBeobachtung(g, e.welt, b, *sim, nach);
        for (int k = 0; k < kAnzahlKugeln; ++k) {
            if (!vor.beobachtet[k]) continue;
            const Kugel& o = b.nachher.kugeln[k];
            if (o.inloch) continue;  // eine versenkte Kugel hat keine Lage zum Zeichnen
            aus.push_back({V2{o.x, o.y}, lageVorher[k], sim->lage[k], Betrag(vor.d[k]), Betrag(nach.d[k]),
                           Betrag(mit.d[k])});
        }
    }
    return aus;
}

QImage Kalibrierbild(const Tischkontext& tk, const std::vector<Kugelvergleich>& kugeln, const Kalibrierergebnis& e,
                     const Welt& startwelt) {
    const Ansicht a = AnsichtVon(tk.tisch, kFensterBreite, kFensterHoehe);
    const int breite = kRand + a.w + 2 * kRand + 40 + kFeldBreite + kRand;
    const int oben = kKopf + a.h + 50;
    const int hoehe = oben + kGesetzHoehe + 70;
    QImage bild(breite, hoehe, QImage::Format_RGB32);
    bild.fill(Qt::white);
    QPainter p(&bild);
    p.setFont(Dialogschrift());
    QFont fett = p.font();
    fett.setBold(true);
    p.setFont(fett);
    p.drawText(QRect(kRand, 8, a.w, 20), Qt::AlignLeft | Qt::AlignVCenter,
               QString::fromUtf8("Lagen am Ende: beobachtet (schwarz), vorhergesagt vorher (rot) und nachher (blau)"));
    const QRect feld(kRand + a.w + 2 * kRand + 40, kKopf, kFeldBreite, a.h);
    p.drawText(QRect(feld.left(), 8, feld.width(), 20), Qt::AlignLeft | Qt::AlignVCenter,
               QString::fromUtf8("Anteil der bewegten Kugeln mit höchstens diesem Fehler"));
    p.setFont(Dialogschrift());
    Tischhaelfte(p, tk, a, kugeln);
    Fehlerhaelfte(p, feld, kugeln, e);

    // Die Gesetze der Startwelt (rot) und der angepassten (blau), je Erscheinung.
    const Tischgeometrie g = BaueTischgeometrie(tk);
    std::vector<Kurve> abgang, anteil, wurf;
    for (const auto& [welt, farbe] : {std::pair{&startwelt, kVorher}, std::pair{&e.welt, kNachher}}) {
        Kurve k1{farbe, {}}, k2{farbe, {}}, k3{farbe, {}};
        for (int grad = 0; grad <= 80; grad += 2) {
            double aus, v, w;
            if (Bandenabgang(g, *welt, grad, aus, v)) k1.punkte << QPointF(grad, aus), k2.punkte << QPointF(grad, v);
            if (Wurf(g, *welt, grad, w)) k3.punkte << QPointF(grad, w);
        }
        abgang.push_back(k1), anteil.push_back(k2), wurf.push_back(k3);
    }
    double wurfMax = 1.0;
    for (const Kurve& k : wurf)
        for (const QPointF& q : k.punkte) wurfMax = std::max(wurfMax, std::ceil(q.y()));
    const int spalte = (breite - 2 * kRand) / 3;
    auto platz = [&](int i) { return QRect(kRand + 50 + i * spalte, oben + 30, spalte - 80, kGesetzHoehe); };
    Kurvenfeld(p, platz(0), QString::fromUtf8("Bande: Abgang über Einfall (°, zur Normalen), rollend"),
               QString::fromUtf8("Einfall (°)"), 80.0, 90.0, abgang, true);
    Kurvenfeld(p, platz(1), QString::fromUtf8("Bande: Geschwindigkeit danach / davor"),
               QString::fromUtf8("Einfall (°)"), 80.0, 1.0, anteil, false);
    Kurvenfeld(p, platz(2), QString::fromUtf8("Wurf: Objektkugel neben der Mittellinie (°)"),
               QString::fromUtf8("Schnitt (°)"), 80.0, wurfMax, wurf, false);
    p.end();
    return bild;
}
