#include "siegkurve.h"

#include <algorithm>
#include <cmath>

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>

namespace {

const QColor kA(210, 80, 40);
const QColor kRemis(150, 150, 150);

}  // namespace

bool MaleSiegkurve(const std::vector<Rauschpunkt>& punkte, const Optionen& o, std::string& fehler) {
    QImage bild(800, 470, QImage::Format_RGB32);
    bild.fill(Qt::white);
    QPainter p(&bild);
    p.setRenderHint(QPainter::Antialiasing);
    p.setFont(QFont("Liberation Sans", 10));
    const QRect r(90, 60, 660, 320);
    // Die Achse reicht bis F = 2 oder bis zum nächsten ganzen F über dem letzten Punkt.
    const double bis = punkte.empty() ? 2.0 : std::max(2.0, std::ceil(punkte.back().rauschen));
    auto punkt = [&](double x, double y) { return QPointF(r.left() + x / bis * r.width(), r.bottom() - y * r.height()); };

    for (int i = 0; i <= 10; ++i) {
        const QPointF a = punkt(0, i / 10.0), b = punkt(bis, i / 10.0);
        p.setPen(QPen(QColor(215, 215, 215), 1));
        p.drawLine(a, b);
        p.setPen(Qt::black);
        p.drawText(QRectF(a.x() - 56, a.y() - 8, 50, 16), Qt::AlignRight | Qt::AlignVCenter,
                   QString::number(10 * i) + " %");
    }
    for (const Rauschpunkt& q : punkte) {
        const QPointF a = punkt(q.rauschen, 0);
        p.drawLine(a, a + QPointF(0, 4));
        p.drawText(QRectF(a.x() - 20, a.y() + 6, 40, 16), Qt::AlignCenter, QString::number(q.rauschen, 'f', 1));
    }
    p.drawRect(r);
    p.drawText(QRectF(r.left(), r.bottom() + 24, r.width(), 18), Qt::AlignCenter, QString::fromUtf8("Rauschfaktor F"));

    QPolygonF siege, remis;
    for (const Rauschpunkt& q : punkte) {
        double unten, oben;
        const double quote = QuoteA(q.bericht, unten, oben);
        siege << punkt(q.rauschen, quote);
        remis << punkt(q.rauschen, q.bericht.partien ? static_cast<double>(q.bericht.remis) / q.bericht.partien : 0.0);
        p.setPen(QPen(kA, 1.5));
        const QPointF u = punkt(q.rauschen, unten), ob = punkt(q.rauschen, oben);
        p.drawLine(u, ob);
        p.drawLine(u - QPointF(5, 0), u + QPointF(5, 0));
        p.drawLine(ob - QPointF(5, 0), ob + QPointF(5, 0));
    }
    p.setPen(QPen(kRemis, 2, Qt::DashLine));
    p.drawPolyline(remis);
    p.setPen(QPen(kA, 2.5));
    p.drawPolyline(siege);
    p.setBrush(kA);
    for (const QPointF& q : siege) p.drawEllipse(q, 4, 4);
    p.setBrush(Qt::NoBrush);

    p.setPen(Qt::black);
    QFont fett = p.font();
    fett.setBold(true);
    p.setFont(fett);
    p.drawText(QRectF(0, 8, 800, 20), Qt::AlignCenter,
               QString::fromUtf8("Siege von A (95-%-Intervall): %1 gegen %2")
                   .arg(QString::fromStdString(o.spielerA), QString::fromStdString(o.spielerB)));
    fett.setBold(false);
    p.setFont(fett);
    p.drawText(QRectF(0, 28, 800, 18), Qt::AlignCenter,
               QString::fromUtf8("%1 Partien je Punkt, Modell %2, Saat %3%4")
                   .arg(o.partien)
                   .arg(QLatin1String(Modellname(o.modell)))
                   .arg(*o.zufallSaat)
                   .arg(o.mitteilen ? QString::fromUtf8(", beide Spieler kennen das Rauschen") : QString()));
    p.setPen(QPen(kA, 3));
    p.drawLine(260, 445, 290, 445);
    p.setPen(Qt::black);
    p.drawText(QRectF(296, 437, 150, 16), Qt::AlignLeft | Qt::AlignVCenter, QString::fromUtf8("Siege von A"));
    p.setPen(QPen(kRemis, 2, Qt::DashLine));
    p.drawLine(440, 445, 470, 445);
    p.setPen(Qt::black);
    p.drawText(QRectF(476, 437, 150, 16), Qt::AlignLeft | Qt::AlignVCenter, QString::fromUtf8("Remis"));
    p.end();
    if (!bild.save(QString::fromStdString(o.bild), "PNG")) {
        fehler = "Das Bild " + o.bild + " kann nicht geschrieben werden.";
        return false;
    }
    return true;
}
