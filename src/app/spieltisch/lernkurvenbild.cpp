#include "lernkurvenbild.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>

#include <algorithm>
#include <cmath>

#include "spiel/intervall.h"

namespace {

const QColor kFarben[3] = {QColor(210, 80, 40), QColor(70, 110, 170), QColor(60, 150, 70)};
const char* const kNamen[3] = {"lernend", "ohne Lernen", "wahre Welt"};

struct Achse {
    QRect rahmen;
    double xMax;        // Beobachtungen am rechten Rand der Kurve
    double danach;      // x der Tische danach
    double yMin, yMax;  // Anteile
};

QPointF Punkt(const Achse& a, double x, double y) {
    return {a.rahmen.left() + x / a.danach * a.rahmen.width(),
            a.rahmen.bottom() - (y - a.yMin) / (a.yMax - a.yMin) * a.rahmen.height()};
}

const Spielbericht& Von(const Lernabschnitt& a, int s) { return s == 0 ? a.lernend : s == 1 ? a.ohne : a.wahr; }

void Marke(QPainter& p, const Achse& a, double x, const Spielbericht& b, const QColor& farbe) {
    if (b.stoesse == 0) return;
    double unten, oben;
    Intervall95(b.erfolge, b.stoesse, unten, oben);
    const QPointF u = Punkt(a, x, unten), o = Punkt(a, x, oben);
    p.setPen(QPen(farbe, 1.5));
    p.drawLine(u, o);
    p.drawLine(u - QPointF(4, 0), u + QPointF(4, 0));
    p.drawLine(o - QPointF(4, 0), o + QPointF(4, 0));
}

}  // namespace

bool MaleLernkurve(const Lernlauf& l, const Optionen& o, std::string& fehler) {
    QImage bild(1000, 520, QImage::Format_RGB32);
    bild.fill(Qt::white);
    QPainter p(&bild);
    p.setRenderHint(QPainter::Antialiasing);
    p.setFont(QFont("Liberation Sans", 10));

    double yMin = 1.0;
    auto quote = [](const Spielbericht& b) { return b.stoesse ? static_cast<double>(b.erfolge) / b.stoesse : 1.0; };
    for (const Lernabschnitt& a : l.kurve)
        for (int s = 0; s < 3; ++s) yMin = std::min(yMin, quote(Von(a, s)));
    for (const Spielbericht* b : {&l.danachLernend, &l.danachOhne, &l.danachWahr}) yMin = std::min(yMin, quote(*b));
    yMin = std::max(0.0, std::floor((yMin - 0.05) * 10.0) / 10.0);
    const double xMax = std::max<double>(static_cast<double>(o.bis), l.kurve.empty() ? 1.0 : static_cast<double>(l.kurve.back().bis));
    const Achse a{QRect(90, 60, 860, 360), xMax, xMax * 1.15, yMin, 1.0};

    // Gitter und Beschriftung.
    for (int i = 0; i <= 10; ++i) {
        const double y = a.yMin + (a.yMax - a.yMin) * i / 10;
        const QPointF links = Punkt(a, 0, y), rechts = Punkt(a, a.danach, y);
        p.setPen(QPen(QColor(215, 215, 215), 1));
        p.drawLine(links, rechts);
        p.setPen(Qt::black);
        p.drawText(QRectF(links.x() - 60, links.y() - 8, 54, 16), Qt::AlignRight | Qt::AlignVCenter,
                   QString::number(100 * y, 'f', 0) + " %");
    }
    for (const Lernabschnitt& ab : l.kurve) {
        const QPointF x = Punkt(a, static_cast<double>(ab.von), a.yMin);
        p.drawLine(x, x + QPointF(0, 4));
        p.drawText(QRectF(x.x() - 25, x.y() + 6, 50, 16), Qt::AlignCenter, QString::number(ab.von));
    }
    const QPointF trenner = Punkt(a, xMax, a.yMin);
    p.setPen(QPen(QColor(150, 150, 150), 1, Qt::DashLine));
    p.drawLine(trenner, Punkt(a, xMax, a.yMax));
    p.setPen(Qt::black);
    p.drawText(QRectF(Punkt(a, (xMax + a.danach) / 2, a.yMin).x() - 70, trenner.y() + 6, 140, 16), Qt::AlignCenter,
               QString::fromUtf8("%1 Tische danach").arg(l.danachLernend.tische));
    p.drawRect(a.rahmen);
    p.drawText(QRectF(a.rahmen.left(), a.rahmen.bottom() + 26, xMax / a.danach * a.rahmen.width(), 18),
               Qt::AlignCenter, QString::fromUtf8("Beobachtungen des Lernenden am Anfang des Tisches"));

    // Je Spieler: Abschnitte verbunden, Intervalle, dann der Punkt danach.
    for (int s = 0; s < 3; ++s) {
        QPolygonF linie;
        for (const Lernabschnitt& ab : l.kurve) {
            const Spielbericht& b = Von(ab, s);
            if (b.stoesse == 0) continue;
            const double x = 0.5 * static_cast<double>(ab.von + ab.bis) + (s - 1) * 0.01 * xMax;
            linie << Punkt(a, x, quote(b));
            Marke(p, a, x, b, kFarben[s]);
        }
        p.setPen(QPen(kFarben[s], 2.5));
        p.drawPolyline(linie);
        p.setBrush(kFarben[s]);
        for (const QPointF& q : linie) p.drawEllipse(q, 3.5, 3.5);
        const Spielbericht& d = s == 0 ? l.danachLernend : s == 1 ? l.danachOhne : l.danachWahr;
        const double x = (xMax + a.danach) / 2 + (s - 1) * 0.02 * xMax;
        Marke(p, a, x, d, kFarben[s]);
        p.setPen(QPen(kFarben[s], 2.5));
        if (d.stoesse) p.drawEllipse(Punkt(a, x, quote(d)), 4.5, 4.5);
        p.setBrush(Qt::NoBrush);
    }

    p.setPen(Qt::black);
    QFont fett = p.font();
    fett.setBold(true);
    p.setFont(fett);
    p.drawText(QRectF(0, 8, 1000, 20), Qt::AlignCenter,
               QString::fromUtf8("Erfolg je Stoß (95-%-Intervall) auf einem fremden Tisch, Rauschen %1")
                   .arg(o.rauschen, 0, 'f', 1));
    fett.setBold(false);
    p.setFont(fett);
    p.drawText(QRectF(0, 28, 1000, 18), Qt::AlignCenter,
               QString::fromUtf8("%1: %2 Beobachtungen auf %3 Tischen, %4 Anpassungen")
                   .arg(QString::fromStdString(o.welt))
                   .arg(l.beobachtungen)
                   .arg(l.tischeBeimLernen)
                   .arg(l.anpassungen));
    int x = 260;
    for (int s = 0; s < 3; ++s) {
        p.setPen(QPen(kFarben[s], 3));
        p.drawLine(x, 495, x + 30, 495);
        p.setPen(Qt::black);
        p.drawText(QRectF(x + 36, 487, 150, 16), Qt::AlignLeft | Qt::AlignVCenter, QString::fromUtf8(kNamen[s]));
        x += 180;
    }
    p.end();
    if (!bild.save(QString::fromStdString(o.bild), "PNG")) {
        fehler = "Das Bild " + o.bild + " kann nicht geschrieben werden.";
        return false;
    }
    return true;
}
