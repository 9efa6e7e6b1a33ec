#include "fenster/bildfenster.h"

#include <QMouseEvent>
#include <QPainter>

#include "anzeige/bildgeometrie.h"
#include "fenster/hauptfenster.h"
#include "fenster/tischbild.h"
#include "spieler/spielerkontext.h"

int GezogeneKugel = -1;

namespace {

// Die Ansicht zeigt die Kugeln des Hauptfensters auf dem Tisch seines Spielers.
HauptDialog& Fenster(const QWidget& ansicht) { return *static_cast<HauptDialog*>(ansicht.window()); }
const Tischkontext& TischVon(const QWidget& ansicht) { return Fenster(ansicht).Spieler().tisch; }

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
    const Tischkontext& tk = TischVon(*this);
    const Ansicht a = AnsichtVon(tk.tisch, width(), height());
    const Spielstand s = Fenster(*this).Stand();
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    ZeichneTisch(p, a, tk);
    ZeichneKugeln(p, a, s);
    ZeichneLinien(p, a, linien_);
    if (vorschau_) {
        ZeichneLaufwege(p, a, vorschau_->wege, vorschau_->ergebnis, tk.tisch.radius);
        ZeichneWeltname(p, a, tk.tisch, vorschau_->modell);
    }
}

void BildFenster::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    NeuZeichnenMitLoeschen();
    const QPoint m = e->position().toPoint();
    const Tischkontext& tk = TischVon(*this);
    GezogeneKugel = FindeKugel(Fenster(*this).Stand(), AnsichtVon(tk.tisch, width(), height()), m.x(), m.y(),
                               tk.tisch.radius);
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
    ZeigeKugeln(Fenster(*this).Spieler().anzeige, Fenster(*this).Stand());
    GezogeneKugel = -1;
}

void VerschiebeKugel(int i, int px, int py, BildFenster& ansicht) {
    const Vektor p = PixelZuTisch(AnsichtVon(TischVon(ansicht).tisch, ansicht.width(), ansicht.height()), px, py);
    Fenster(ansicht).SetzeKugel(i, p);
    ansicht.update();
}
