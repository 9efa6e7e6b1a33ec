#include "fenster/hauptfenster.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <map>
#include <string>

#include "anzeige/bildgeometrie.h"
#include "fenster/befehle.h"
#include "fenster/bildfenster.h"
#include "fenster/dialoglayout.h"
#include "fenster/fensteranzeige.h"
#include "fenster/tischbild.h"
#include "spieler/spielerkontext.h"

HauptDialog* Hauptfenster = nullptr;

namespace {

QRect InPixeln(const Steuerelement& e) {
    return QRect(DialogX(e.x), DialogY(e.y), DialogX(e.w), DialogY(e.h));
}

// Ein statischer Text: oben links, an Wortgrenzen umbrochen, Tabulatoren alle
// acht mittleren Zeichenbreiten (QLabel selbst setzt sie weit auseinander).
class Textfeld : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        QTextOption satz(Qt::AlignLeft | Qt::AlignTop);
        satz.setWrapMode(QTextOption::WordWrap);
        satz.setTabStopDistance(8 * fontMetrics().averageCharWidth());
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(QRectF(rect()), text(), satz);
    }
};

QWidget* Erzeuge(const Steuerelement& e, QWidget* flaeche) {
    const QString text = QString::fromUtf8(e.text);
    switch (e.art) {
        case Steuerart::Tischansicht:
            return new BildFenster(flaeche);
        case Steuerart::Text: {
            auto* l = new Textfeld(text, flaeche);
            l->setTextFormat(Qt::PlainText);
            l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            return l;
        }
        case Steuerart::Log: {
            auto* log = new QPlainTextEdit(flaeche);
            log->setReadOnly(true);
            log->setLineWrapMode(QPlainTextEdit::NoWrap);
            log->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            log->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            log->setUndoRedoEnabled(false);
            return log;
        }
        case Steuerart::Schalter:
        case Steuerart::Knopf: {
            auto* k = new QPushButton(text, flaeche);
            k->setCheckable(e.art == Steuerart::Schalter);
            k->setAutoDefault(false);  // Eingabe löst keinen Befehl aus
            k->setDefault(false);
            const int id = e.id;
            QObject::connect(k, &QPushButton::clicked, [id] { FuehreBefehlAus(id); });
            return k;
        }
        case Steuerart::Rahmen:
            return new QGroupBox(text, flaeche);
    }
    return nullptr;
}

}  // namespace

HauptDialog::HauptDialog(Spielerkontext& spieler) : QDialog(nullptr), spieler_(spieler), flaeche_(new QWidget(this)) {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    // Eine schmale Schrift in 10 Pixeln: so passen die Texte in ihre Felder,
    // deren Maße aus Dialogeinheiten kommen.
    setFont(Dialogschrift());

    auto* menue = new QMenuBar(this);
    std::map<std::string, QMenu*> menues;
    auto* gruppe = new QActionGroup(this);
    gruppe->setExclusive(true);
    for (const Menueeintrag& m : Menueeintraege()) {
        QMenu*& untermenue = menues[m.menue];
        if (!untermenue) untermenue = menue->addMenu(QString::fromUtf8(m.menue));
        if (!m.text) {
            untermenue->addSeparator();
            continue;
        }
        QAction* a = untermenue->addAction(QString::fromUtf8(m.text));
        a->setObjectName(QString::number(m.befehl));
        a->setCheckable(m.art != Menueart::Einfach);
        if (m.art == Menueart::Auswahl) gruppe->addAction(a);
        const int befehl = m.befehl;
        connect(a, &QAction::triggered, [befehl] { FuehreBefehlAus(befehl); });
    }

    flaeche_->setFixedSize(DialogX(kDialogBreite), DialogY(kDialogHoehe));
    for (const Steuerelement& e : Dialogelemente()) {
        QWidget* w = Erzeuge(e, flaeche_);
        w->setGeometry(InPixeln(e));
        if (e.id) w->setObjectName(QString::number(e.id));
    }

    auto* aufbau = new QVBoxLayout(this);
    aufbau->setContentsMargins(0, 0, 0, 0);
    aufbau->setSpacing(0);
    aufbau->setMenuBar(menue);
    aufbau->addWidget(flaeche_);
    aufbau->setSizeConstraint(QLayout::SetFixedSize);  // feste Größe, kein Maximieren
}

Spielstand HauptDialog::Stand() const {
    std::lock_guard sperre(standMutex_);
    return stand_;
}

void HauptDialog::SetzeStand(const Spielstand& stand) {
    std::lock_guard sperre(standMutex_);
    stand_ = stand;
}

void HauptDialog::UebernimmKugeln(const Spielstand& empfangen) {
    std::lock_guard sperre(standMutex_);
    for (int i = 0; i < kAnzahlKugeln; ++i) {
        Kugel& k = stand_.kugeln[i];
        const Kugel& e = empfangen.kugeln[i];
        k.x = e.x;
        k.y = e.y;
        k.z = e.z;
        k.inloch = e.inloch;
    }
}

void HauptDialog::SetzeGruppe(std::int32_t gruppe) {
    std::lock_guard sperre(standMutex_);
    stand_.gruppe = gruppe;
}

void HauptDialog::SetzeKugel(int i, Vektor lage) {
    std::lock_guard sperre(standMutex_);
    Kugel& k = stand_.kugeln[i];
    k.x = lage.x;
    k.y = lage.y;
    k.z = 0.0f;
}

QWidget* HauptDialog::Element(int id) const {
    return flaeche_->findChild<QWidget*>(QString::number(id), Qt::FindDirectChildrenOnly);
}

QAction* HauptDialog::Menuepunkt(int befehl) const { return findChild<QAction*>(QString::number(befehl)); }

BildFenster* HauptDialog::Tischansicht() const { return static_cast<BildFenster*>(Element(kAnsichtId)); }

void HauptDialog::reject() { FuehreBefehlAus(BefehlBeenden); }

void HauptDialog::closeEvent(QCloseEvent* ereignis) {
    ereignis->ignore();
    FuehreBefehlAus(BefehlBeenden);
}

HauptDialog* ErzeugeHauptfenster(Spielerkontext& spieler, const Pfade& pfade) {
    auto* d = new HauptDialog(spieler);
    Hauptfenster = d;
    // Erst das Fenster, dann der Spieler: eine unlesbare config.ini steht dann schon im Log.
    BaueSpieler(spieler, pfade, FensterAnzeige());
    InitialisiereHauptfenster();
    d->show();  // ohne Eltern: mitten auf dem Bildschirm
    d->raise();
    d->activateWindow();
    return d;
}
