#include "fenster/bildfenster.h"

#include <QMouseEvent>
#include <QPainter>
#include <mutex>

#include "anzeige/bildgeometrie.h"

int GezogeneKugel = -1;

namespace {

QColor Farbe(std::uint32_t rgb) { return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

const QColor kBandenfarbe(50, 255, 50);
const QColor kTaschennummern(5, 5, 5);
const QColor kHelleNummer(220, 220, 220);
const QColor kRingMitte(232, 232, 232);

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
QRect Umriss(const Kasten& k) { return QRect(k.links, k.oben, k.rechts - k.links - 1, k.unten - k.oben - 1); }
QRect Textfeld(const Kasten& k) { return QRect(k.links, k.oben, k.rechts - k.links, k.unten - k.oben); }

Spielstand Kopie() {
    std::lock_guard sperre(spielstandMutex);
    return spielstand;
}

void ZeichneTisch(QPainter& p, const Ansicht& a) {
    p.setPen(Qt::black);
    p.setBrush(kBandenfarbe);
    for (const Viereck& v : Bandenvierecke(a)) {
        QPoint ecken[4];
        for (int i = 0; i < 4; ++i) ecken[i] = QPoint(v[i].x, v[i].y);
        p.drawPolygon(ecken, 4);
    }
    p.setPen(kTaschennummern);
    const auto kaesten = Taschenbeschriftungen(a);
    for (int i = 0; i < 6; ++i)
        p.drawText(Textfeld(kaesten[i]), Qt::AlignCenter | Qt::TextSingleLine, QString::number(i + 1));
}

void ZeichneKugel(QPainter& p, const Ansicht& a, const Spielstand& s, int i) {
    const Kugel& k = s.kugeln[i];
    if (k.inloch) return;
    const Kasten kasten = Kugelkasten(a, k.x, k.y, k.radius);
    p.setPen(Qt::black);
    p.setBrush(Kugelfarbe(i));
    p.drawEllipse(Umriss(kasten));
    QColor schrift = kHelleNummer;
    if (i > 8) {  // die halben Kugeln: farbiger Ring um eine helle Mitte
        schrift = Qt::black;
        p.setBrush(kRingMitte);
        p.drawEllipse(Umriss(Eingezogen(kasten, Ringeinzug(a))));
    }
    if (i >= 1) {
        p.setPen(schrift);
        p.drawText(Textfeld(kasten), Qt::AlignCenter | Qt::TextSingleLine, QString::number(i));
    }
}

}  // namespace

BildFenster::BildFenster(QWidget* eltern) : QWidget(eltern) {
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::ArrowCursor);
    setAttribute(Qt::WA_OpaquePaintEvent);  // paintEvent füllt selbst weiß
}

void BildFenster::NeueLinie(const Linie& linie) {
    linien_.push_back(linie);
    update();
}

void BildFenster::NeuZeichnenMitLoeschen() {
    linien_.clear();
    update();
}

void BildFenster::paintEvent(QPaintEvent*) {
    const Ansicht a{width(), height()};
    const Spielstand s = Kopie();
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    ZeichneTisch(p, a);
    for (int i = 0; i < kAnzahlKugeln; ++i) ZeichneKugel(p, a, s, i);  // höhere Nummern obenauf
    for (const Linie& l : linien_) {
        p.setPen(Farbe(l.farbe));
        const Punkt von = TischZuPixel(a, l.x1, l.y1), bis = TischZuPixel(a, l.x2, l.y2);
        p.drawLine(von.x, von.y, bis.x, bis.y);
    }
}

void BildFenster::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    NeuZeichnenMitLoeschen();
    const QPoint m = e->position().toPoint();
    GezogeneKugel = FindeKugel(Kopie(), Ansicht{width(), height()}, m.x(), m.y());
}

void BildFenster::mouseMoveEvent(QMouseEvent* e) {
    // Nur mit genau der linken Taste, ohne Umschalt und Strg; der Zug bleibt
    // trotzdem bis zum Loslassen scharf.
    const bool nurLinks = e->buttons() == Qt::LeftButton &&
                          !(e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier));
    const QPoint m = e->position().toPoint();
    // Außerhalb der Ansicht bleibt die Kugel am letzten Punkt darin stehen.
    if (nurLinks && GezogeneKugel >= 0 && rect().contains(m)) VerschiebeKugel(GezogeneKugel, m.x(), m.y(), *this);
}

void BildFenster::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    ZeigeKugeln(Kopie());
    GezogeneKugel = -1;
}

void VerschiebeKugel(int i, int px, int py, BildFenster& ansicht) {
    const Vektor p = PixelZuTisch(Ansicht{ansicht.width(), ansicht.height()}, px, py);
    {
        std::lock_guard sperre(spielstandMutex);
        Kugel& k = spielstand.kugeln[i];
        k.x = p.x;
        k.y = p.y;
        k.z = 0.0f;
    }
    ansicht.update();
}
