#include "fenster/bildfenster.h"

#include <QMouseEvent>
#include <QPainter>
#include <mutex>

#include "anzeige/bildgeometrie.h"
#include "fenster/tischbild.h"

int GezogeneKugel = -1;

namespace {

Spielstand Kopie() {
    std::lock_guard sperre(spielstandMutex);
    return spielstand;
}

}  // namespace

BildFenster::BildFenster(QWidget* eltern) : QWidget(eltern) {
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::ArrowCursor);
    setAttribute(Qt::WA_OpaquePaintEvent);  // paintEvent füllt selbst weiß
}

BildFenster::~BildFenster() = default;

void BildFenster::NeueLinie(const Linie& linie) {
    linien_.push_back(linie);
    update();
}

void BildFenster::NeueVorschau(std::unique_ptr<const Stossvorschau> vorschau) {
    vorschau_ = std::move(vorschau);
    update();
}

void BildFenster::LoescheVorschau() {
    vorschau_.reset();
    update();
}

void BildFenster::NeuZeichnenMitLoeschen() {
    linien_.clear();
    vorschau_.reset();
    update();
}

void BildFenster::paintEvent(QPaintEvent*) {
    const Ansicht a{width(), height()};
    const Spielstand s = Kopie();
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    ZeichneTisch(p, a);
    ZeichneKugeln(p, a, s);
    ZeichneLinien(p, a, linien_);
    if (vorschau_) {
        ZeichneLaufwege(p, a, vorschau_->wege, vorschau_->ergebnis);
        ZeichneWeltname(p, a, vorschau_->modell);
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
