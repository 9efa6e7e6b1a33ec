#include "kalibrierbild.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <memory>

#include "fenster/tischbild.h"
#include "lernen/restfehler.h"

namespace {

const QColor kVorher(215, 60, 40);
const QColor kNachher(40, 90, 200);
const QColor kAngepasst(40, 150, 60);

constexpr int kRand = 30;
constexpr int kKopf = 34;
constexpr int kFeldBreite = 460;
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

void Fehlerhaelfte(QPainter& p, const QRect& feld, const std::vector<Kugelvergleich>& kugeln,
                   const Kalibrierergebnis& e) {
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QColor(210, 210, 210));
    for (int d = 0; d <= 5; ++d) {
        const int x = feld.left() + feld.width() * d / 5;
        p.drawLine(x, feld.top(), x, feld.bottom());
        const int y = feld.bottom() - feld.height() * d / 5;
        p.drawLine(feld.left(), y, feld.right(), y);
    }
    p.setPen(Qt::black);
    p.setBrush(Qt::NoBrush);
    p.drawRect(feld);
    const char* marken[] = {"0.001", "0.01", "0.1", "1", "10", "100"};
    for (int d = 0; d <= 5; ++d) {
        const int x = feld.left() + feld.width() * d / 5;
        p.drawText(QRect(x - 30, feld.bottom() + 4, 60, 16), Qt::AlignCenter, marken[d]);
        const int y = feld.bottom() - feld.height() * d / 5;
        p.drawText(QRect(feld.left() - 46, y - 8, 40, 16), Qt::AlignRight | Qt::AlignVCenter,
                   QString::number(20 * d) + " %");
    }
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

QImage Kalibrierbild(const Tischkontext& tk, const std::vector<Kugelvergleich>& kugeln, const Kalibrierergebnis& e) {
    const Ansicht a = AnsichtVon(tk.tisch, kFensterBreite, kFensterHoehe);
    const int breite = kRand + a.w + 2 * kRand + 40 + kFeldBreite + kRand;
    const int hoehe = kKopf + a.h + 50;
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
    p.end();
    return bild;
}
