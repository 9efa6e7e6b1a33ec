// Der Dialog nach dem Start: Größe, jedes Steuerelement an seinem Platz, Menü
// und der Zustand nach der Initialisierung.
#include <QActionGroup>
#include <QDir>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <cerrno>

#include "fenster_hilfen.h"
#include "model/konfiguration.h"

namespace {

// Art und Text, wie das Widget sie zeigt.
bool IstArt(QObject* w, Steuerart art) {
    auto* knopf = qobject_cast<QPushButton*>(w);
    switch (art) {
        case Steuerart::Tischansicht: return dynamic_cast<BildFenster*>(w) != nullptr;
        case Steuerart::Text: return qobject_cast<QLabel*>(w) != nullptr;
        case Steuerart::Log: return qobject_cast<QPlainTextEdit*>(w) != nullptr;
        case Steuerart::Schalter: return knopf && knopf->isCheckable();
        case Steuerart::Knopf: return knopf && !knopf->isCheckable();
        case Steuerart::Rahmen: return qobject_cast<QGroupBox*>(w) != nullptr;
    }
    return false;
}

QString TextVon(QObject* w) {
    if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
    if (auto* k = qobject_cast<QPushButton*>(w)) return k->text();
    if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title();
    return {};
}

}  // namespace

using Aufbau = Fenster;

TEST_F(Aufbau, FesteGroesseUndJedesElementAnSeinemPlatz) {
    EXPECT_EQ(fenster->windowTitle(), "Stosswerk - Kelvara");
    const int menue = fenster->findChild<QMenuBar*>()->height();
    EXPECT_GT(menue, 0);
    EXPECT_EQ(fenster->Flaeche()->geometry(), QRect(0, menue, 1017, 710));
    EXPECT_EQ(fenster->size(), QSize(1017, 710 + menue));
    EXPECT_EQ(fenster->minimumSize(), fenster->maximumSize());
    EXPECT_FALSE(fenster->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(fenster->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(Ansicht()->geometry(), QRect(11, 11, 828, 439));

    // Die Widgets der Fläche stehen in der Reihenfolge der Tabelle.
    const QList<QWidget*> widgets = fenster->Flaeche()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    const auto elemente = Dialogelemente();
    ASSERT_EQ(widgets.size(), static_cast<qsizetype>(elemente.size()));
    for (std::size_t i = 0; i < elemente.size(); ++i) {
        const Steuerelement& e = elemente[i];
        QWidget* w = widgets[static_cast<qsizetype>(i)];
        SCOPED_TRACE(std::to_string(i) + " " + e.text);
        EXPECT_TRUE(IstArt(w, e.art));
        EXPECT_EQ(w->geometry(), QRect(DialogX(e.x), DialogY(e.y), DialogX(e.w), DialogY(e.h)));
        EXPECT_TRUE(e.id == 0 || fenster->Element(e.id) == w);
        // Die Eingabefelder hat die Initialisierung schon überschrieben.
        if (e.id < FeldGruppe || e.id > FeldKugeln) {
            EXPECT_EQ(TextVon(w), e.text);
        }
    }
    EXPECT_EQ(TextVon(widgets[5]), "Input:");
    EXPECT_EQ(TextVon(widgets[11]), "Output:");
    EXPECT_EQ(Feld(FeldBetrag), "5.0");
    for (QPushButton* k : {Knopf(BefehlNetzwerk), Knopf(BefehlStart)}) EXPECT_FALSE(k->autoDefault() || k->isDefault());
    EXPECT_FALSE(Knopf(BefehlNetzwerk)->isChecked());
    EXPECT_TRUE(LogFeld()->isReadOnly());
    EXPECT_EQ(LogFeld()->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(LogFeld()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

TEST_F(Aufbau, MenueMitBeendenUndDenDreiGruppen) {
    const QList<QAction*> menues = fenster->findChild<QMenuBar*>()->actions();
    ASSERT_EQ(menues.size(), 2);
    EXPECT_EQ(menues[0]->text(), "&Programm");
    EXPECT_EQ(menues[1]->text(), "&Optionen");
    const QList<QAction*> programm = menues[0]->menu()->actions();
    ASSERT_EQ(programm.size(), 1);
    EXPECT_EQ(programm[0]->text(), "Beenden...\tAlt+F4");
    EXPECT_EQ(programm[0], fenster->Menuepunkt(BefehlBeenden));
    EXPECT_TRUE(programm[0]->shortcut().isEmpty());  // Alt+F4 ist nur ein Hinweis

    const QList<QAction*> optionen = menues[1]->menu()->actions();
    ASSERT_EQ(optionen.size(), 5);
    const char* texte[] = {"Spiele \"halbe\" Kugeln", "Spiele \"volle\" Kugeln an", "Spiele \"alle\" Kugeln an"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(optionen[i]->text(), texte[i]);
        EXPECT_EQ(optionen[i], fenster->Menuepunkt(BefehlHalbe + i));
        ASSERT_NE(optionen[i]->actionGroup(), nullptr);
        EXPECT_EQ(optionen[i]->actionGroup()->exclusionPolicy(), QActionGroup::ExclusionPolicy::Exclusive);
        EXPECT_EQ(optionen[i]->isChecked(), i == 0);  // die Marke steht auf "halbe"
    }
    EXPECT_TRUE(optionen[3]->isSeparator());
    // Dahinter die Laufwege: eine Marke für sich, zu Beginn aus.
    EXPECT_EQ(optionen[4]->text(), "Laufwege anzeigen");
    EXPECT_EQ(optionen[4], fenster->Menuepunkt(BefehlLaufwege));
    EXPECT_TRUE(optionen[4]->isCheckable());
    EXPECT_FALSE(optionen[4]->isChecked());
    EXPECT_EQ(optionen[4]->actionGroup(), nullptr);
}

TEST_F(Aufbau, StartzustandNachDerInitialisierung) {
    Spielstand grund{};
    SetzeStandardaufstellung(Spieler().tisch.tisch, grund);
    const Spielstand s = Stand();
    for (int i = 0; i < kAnzahlKugeln; ++i) EXPECT_TRUE(s.kugeln[i].x == grund.kugeln[i].x && s.kugeln[i].y == grund.kugeln[i].y);
    EXPECT_EQ(s.gruppe, halbe);
    EXPECT_EQ(Feld(FeldGruppe), "halb");
    EXPECT_EQ(Feld(FeldZieltasche), Q(ZieltaschenText(grund)));
    EXPECT_EQ(Feld(FeldKugeln), Q(KugelnText(grund)));
    EXPECT_TRUE(Feld(FeldKugeln).startsWith("Kugeln:\n-------------------\nweiß:\t41.300 / 6.700\n 1:\t"));
    for (int id : {FeldX, FeldY, FeldZ}) EXPECT_EQ(Feld(id), "0");
    EXPECT_EQ(Log(), "");
    EXPECT_TRUE(Ansicht()->Linien().empty());
    EXPECT_FALSE(NetzwerkAn);
}

TEST_F(Aufbau, UnlesbareKonfigurationStehtImLog) {
    // Ein Verzeichnis statt der Datei: öffnen geht, lesen nicht (auch für root).
    QTemporaryDir dir;
    const std::string pfad = dir.filePath("config.ini").toStdString();
    ASSERT_TRUE(QDir(dir.path()).mkdir("config.ini"));
    delete fenster;
    fenster = ErzeugeHauptfenster(DauerhafterSpieler(), BestimmePfade("", pfad));
    EXPECT_EQ(Log(), QString("Konfiguration %1 nicht lesbar (Errorcode: %2), es gelten die Vorgaben.\n")
                         .arg(Q(pfad))
                         .arg(EISDIR));
    EXPECT_EQ(Spieler().netz.port, 2222);
}
