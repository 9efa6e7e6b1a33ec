#include "fenster/tischbild.h"

#include <vector>

namespace {

QColor Farbe(std::uint32_t rgb) { return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

const QColor kBandenfarbe(50, 255, 50);
const QColor kTaschennummern(5, 5, 5);
const QColor kHelleNummer(220, 220, 220);
const QColor kRingMitte(232, 232, 232);
const QColor kWegDerWeissen(80, 80, 80);

QColor Kugelfarbe(int i) {
    static const QColor farben[8] = {
        QColor(0, 0, 0),        // 8 (und 0, unten)
        QColor(255, 255, 0),    // 1, 9
        QColor(0, 0, 205),      // 2, 10
        QColor(255, 0, 0),      // 3, 11
        QColor(85, 26, 139),    // 4, 12
        QColor(255, 140, 0),    // 5, 13
        QColor(0, 100, 0),      // 6, 14
        QColor(139, 69, 19),    // 7, 15
    };
    if (i == 0) return Qt::white;
    return farben[i % 8];
}

// Ein Kasten schließt rechts und unten aus; Qt zeichnet den Umriss eines
// Rechtecks ein Pixel breiter und höher.
QRect Kastenumriss(const Kasten& k) { return QRect(k.links, k.oben, k.rechts - k.links - 1, k.unten - k.oben - 1); }
QRect Textfeld(const Kasten& k) { return QRect(k.links, k.oben, k.rechts - k.links, k.unten - k.oben); }

void ZeichneKugel(QPainter& p, const Ansicht& a, const Spielstand& s, int i) {
    const Kugel& k = s.kugeln[i];
    if (k.inloch) return;
    const Kasten kasten = Kugelkasten(a, k.x, k.y, k.radius);
    p.setPen(Qt::black);
    p.setBrush(Kugelfarbe(i));
    p.drawEllipse(Kastenumriss(kasten));
    QColor schrift = kHelleNummer;
    if (i > 8) {  // die halben Kugeln: farbiger Ring um eine helle Mitte
        schrift = Qt::black;
        p.setBrush(kRingMitte);
        p.drawEllipse(Kastenumriss(Eingezogen(kasten, Ringeinzug(a))));
    }
    if (i >= 1) {
        p.setPen(schrift);
        p.drawText(Textfeld(kasten), Qt::AlignCenter | Qt::TextSingleLine, QString::number(i));
    }
}

}  // namespace

QColor Wegfarbe(int i) { return i == 0 ? kWegDerWeissen : Kugelfarbe(i); }

QFont Dialogschrift() {
    QFont schrift(QStringLiteral("Liberation Sans"));
    schrift.setStyleHint(QFont::SansSerif);
    schrift.setPixelSize(10);
    return schrift;
}

void ZeichneTisch(QPainter& p, const Ansicht& a, const Tischkontext& tk) {
    p.setPen(Qt::black);
    p.setBrush(kBandenfarbe);
    for (const Viereck& v : Bandenvierecke(a, tk.umriss)) {
        QPoint ecken[4];
        for (int i = 0; i < 4; ++i) ecken[i] = QPoint(v[i].x, v[i].y);
        p.drawPolygon(ecken, 4);
    }
    p.setPen(kTaschennummern);
    const auto kaesten = Taschenbeschriftungen(a, tk.tisch.xe);
    for (int i = 0; i < 6; ++i)
        p.drawText(Textfeld(kaesten[i]), Qt::AlignCenter | Qt::TextSingleLine, QString::number(i + 1));
}

void ZeichneKugeln(QPainter& p, const Ansicht& a, const Spielstand& s) {
    for (int i = 0; i < kAnzahlKugeln; ++i) ZeichneKugel(p, a, s, i);
}

void ZeichneLinien(QPainter& p, const Ansicht& a, std::span<const Linie> linien) {
    for (const Linie& l : linien) {
        p.setPen(Farbe(l.farbe));
        // auto: sim/v2.h hat eine Funktion Punkt, die den Typ verdeckt
        const auto von = TischZuPixel(a, l.x1, l.y1), bis = TischZuPixel(a, l.x2, l.y2);
        p.drawLine(von.x, von.y, bis.x, bis.y);
    }
}

void ZeichneLaufwege(QPainter& p, const Ansicht& a, const Laufwege& wege, const Simergebnis& e, float radius) {
    p.save();
    p.setBrush(Qt::NoBrush);
    std::vector<QPoint> punkte;
    for (int i = 0; i < kAnzahlKugeln; ++i) {
        const Laufweg& w = wege.kugel[i];
        if (w.anzahl < 2) continue;  // ruhende Kugeln haben nur ihren Startpunkt
        punkte.clear();
        for (int n = 0; n < w.anzahl; ++n) {
            const auto q = TischZuPixel(a, w.x[n], w.y[n]);
            punkte.emplace_back(q.x, q.y);
        }
        p.setPen(QPen(Wegfarbe(i), 1, Qt::DashLine));
        p.drawPolyline(punkte.data(), static_cast<int>(punkte.size()));
        const QRect ende = Kastenumriss(Kugelkasten(a, w.x[w.anzahl - 1], w.y[w.anzahl - 1], radius));
        if (e.tasche[i] >= 0) {
            p.setPen(QPen(Wegfarbe(i), 1));
            p.drawEllipse(ende);
            p.drawLine(ende.topLeft(), ende.bottomRight());
            p.drawLine(ende.topRight(), ende.bottomLeft());
        } else {
            p.setPen(QPen(Wegfarbe(i), 1, Qt::DotLine));
            p.drawEllipse(ende);
        }
    }
    p.restore();
}

void ZeichneWeltname(QPainter& p, const Ansicht& a, const Tisch& tisch, Modell modell) {
    p.save();
    p.setFont(Dialogschrift());
    p.setPen(QColor(96, 96, 96));
    const auto ecke = TischZuPixel(a, tisch.bande_x + 2.0f * tisch.radius, tisch.hoehe - tisch.bande_y - 0.5f * tisch.radius);
    p.drawText(QRect(ecke.x, ecke.y, a.w / 3, 16), Qt::AlignLeft | Qt::AlignTop,
               QStringLiteral("Laufwege in Welt %1").arg(QLatin1String(Modellname(modell))));
    p.restore();
}

QImage Tischbild(const Tischkontext& tk, const Ansicht& a, const Spielstand& start, std::span<const Linie> linien,
                 const Laufwege* wege, const Simergebnis* ergebnis) {
    QImage bild(a.w, a.h, QImage::Format_RGB32);
    bild.fill(Qt::white);
    QPainter p(&bild);
    p.setFont(Dialogschrift());
    ZeichneTisch(p, a, tk);
    ZeichneKugeln(p, a, start);
    ZeichneLinien(p, a, linien);
    if (wege && ergebnis) ZeichneLaufwege(p, a, *wege, *ergebnis, tk.tisch.radius);
    p.end();
    return bild;
}
