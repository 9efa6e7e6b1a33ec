#include "vergleichsbild.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>

#include <algorithm>
#include <cmath>

#include "spiel/intervall.h"

namespace {

const QColor kVorgegeben(70, 110, 170);
const QColor kRobust(210, 80, 40);

struct Feld {
    QRect rahmen;
    double yMax;
    QString titel, yText;
};

QPointF Bildpunkt(const Feld& f, double x, double y) {
    const double px = f.rahmen.left() + x / 2.0 * f.rahmen.width();
    const double py = f.rahmen.bottom() - y / f.yMax * f.rahmen.height();
    return {px, py};
}

void Achsen(QPainter& p, const Feld& f, int yTeile, bool prozent) {
    p.setPen(QPen(QColor(200, 200, 200), 1));
    for (int i = 0; i <= yTeile; ++i) {
        const double y = f.yMax * i / yTeile;
        const QPointF a = Bildpunkt(f, 0, y), b = Bildpunkt(f, 2, y);
        p.drawLine(a, b);
        p.setPen(Qt::black);
        p.drawText(QRectF(a.x() - 50, a.y() - 8, 44, 16), Qt::AlignRight | Qt::AlignVCenter,
                   prozent ? QString::number(std::lround(100 * y)) + " %" : QString::number(y, 'f', 1));
        p.setPen(QPen(QColor(200, 200, 200), 1));
    }
    p.setPen(Qt::black);
    for (double x : {0.0, 0.5, 1.0, 1.5, 2.0}) {
        const QPointF a = Bildpunkt(f, x, 0);
        p.drawLine(a, a + QPointF(0, 4));
        p.drawText(QRectF(a.x() - 20, a.y() + 6, 40, 16), Qt::AlignCenter, QString::number(x, 'f', 1));
    }
    p.drawRect(f.rahmen);
    p.drawText(QRectF(f.rahmen.left(), f.rahmen.bottom() + 24, f.rahmen.width(), 18), Qt::AlignCenter,
               QString::fromUtf8("Rauschfaktor F"));
    QFont fett = p.font();
    fett.setBold(true);
    p.setFont(fett);
    p.drawText(QRectF(f.rahmen.left(), f.rahmen.top() - 26, f.rahmen.width(), 20), Qt::AlignCenter, f.titel);
    fett.setBold(false);
    p.setFont(fett);
}

void Kurve(QPainter& p, const Feld& f, const std::vector<Vergleichspunkt>& punkte, bool robust, bool quote) {
    const QColor farbe = robust ? kRobust : kVorgegeben;
    QPolygonF linie;
    for (const Vergleichspunkt& v : punkte) {
        const Spielbericht& b = robust ? v.robust : v.vorgegeben;
        const double wert = quote ? (b.stoesse ? static_cast<double>(b.erfolge) / b.stoesse : 0.0)
                                  : (b.tische ? static_cast<double>(b.kugeln) / b.tische : 0.0);
        const QPointF mitte = Bildpunkt(f, v.rauschen, wert);
        linie << mitte;
        if (quote) {  // das 95-%-Intervall als senkrechter Strich mit Enden
            double unten, oben;
            Intervall95(b.erfolge, b.stoesse, unten, oben);
            const QPointF a = Bildpunkt(f, v.rauschen, unten), c = Bildpunkt(f, v.rauschen, oben);
            p.setPen(QPen(farbe, 1.5));
            p.drawLine(a, c);
            p.drawLine(a - QPointF(5, 0), a + QPointF(5, 0));
            p.drawLine(c - QPointF(5, 0), c + QPointF(5, 0));
        }
    }
    p.setPen(QPen(farbe, 2.5));
    p.drawPolyline(linie);
    p.setBrush(farbe);
    for (const QPointF& q : linie) p.drawEllipse(q, 4, 4);
    p.setBrush(Qt::NoBrush);
}

}  // namespace

bool MaleVergleich(const std::vector<Vergleichspunkt>& punkte, const Optionen& o, std::string& fehler) {
    QImage bild(1000, 470, QImage::Format_RGB32);
    bild.fill(Qt::white);
    QPainter p(&bild);
    p.setRenderHint(QPainter::Antialiasing);
    p.setFont(QFont("Liberation Sans", 10));

    double kugelnMax = 1.0;
    for (const Vergleichspunkt& v : punkte)
        for (const Spielbericht* b : {&v.vorgegeben, &v.robust})
            if (b->tische) kugelnMax = std::max(kugelnMax, static_cast<double>(b->kugeln) / b->tische);
    kugelnMax = std::ceil(kugelnMax);

    const Feld quote{QRect(80, 60, 370, 320), 1.0, QString::fromUtf8("Erfolg je Stoß (95-%-Intervall)"), ""};
    const Feld kugeln{QRect(580, 60, 370, 320), kugelnMax, QString::fromUtf8("Kugeln je Aufnahme"), ""};
    Achsen(p, quote, 10, true);
    Achsen(p, kugeln, static_cast<int>(std::min(10.0, kugelnMax)), false);
    for (bool robust : {false, true}) {
        Kurve(p, quote, punkte, robust, true);
        Kurve(p, kugeln, punkte, robust, false);
    }

    // Legende und Überschrift.
    p.setPen(Qt::black);
    const QString kopf = QString::fromUtf8("Modell %1, %2 Tische, Gruppe %3: vorgegebener und robuster Planer")
                             .arg(Modellname(o.modell))
                             .arg(o.anzahl)
                             .arg(o.gruppe);
    p.drawText(QRectF(0, 6, 1000, 20), Qt::AlignCenter, kopf);
    int x = 330;
    for (bool robust : {false, true}) {
        p.setPen(QPen(robust ? kRobust : kVorgegeben, 3));
        p.drawLine(x, 448, x + 30, 448);
        p.setPen(Qt::black);
        p.drawText(QRectF(x + 36, 440, 160, 16), Qt::AlignLeft | Qt::AlignVCenter,
                   robust ? QString::fromUtf8("robust") : QString::fromUtf8("vorgegeben"));
        x += 200;
    }
    p.end();
    if (!bild.save(QString::fromStdString(o.bild), "PNG")) {
        fehler = "Das Bild " + o.bild + " kann nicht geschrieben werden.";
        return false;
    }
    return true;
}
