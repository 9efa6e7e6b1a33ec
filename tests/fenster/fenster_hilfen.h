// Gemeinsames der Fenstertests: ein frisches Hauptfenster je Test, Felder, Log
// und Ansicht, Mausereignisse, Kindprozesse und die Ausgabe von stosswerk-plan.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <chrono>
#include <memory>
#include <mutex>
#include <vector>

#include "../prozess.h"
#include "anzeige/anzeige.h"
#include "anzeige/bildgeometrie.h"
#include "fenster/befehle.h"
#include "fenster/bildfenster.h"
#include "fenster/dialoglayout.h"
#include "fenster/fensteranzeige.h"
#include "fenster/hauptfenster.h"
#include "model/tisch.h"
#include "net/server.h"
#include "planner/stoss_linien.h"
#include "planner/suche.h"
#include "spieler/spielerkontext.h"

// Programme und Daten liegen neben dem Testprogramm.
inline std::string Bin(const std::string& name) {
    return QCoreApplication::applicationDirPath().toStdString() + "/" + name;
}
inline QString Q(const std::string& s) { return QString::fromStdString(s); }

// Ein Kindprozess mit Standardfehler in der Ausgabe. (Mit posix_spawn: die
// Abspaltung von QProcess bringt den Thread-Sanitizer im Elternprozess durcheinander.)
inline Ergebnis MitFehlern(std::vector<std::string> argumente) {
    argumente.insert(argumente.begin(), {"/bin/sh", "-c", "exec \"$0\" \"$@\" 2>&1"});
    return Fuehreaus(argumente);
}
// Dasselbe ohne Bildschirm in der Umgebung.
inline Ergebnis OhneBildschirm(std::vector<std::string> argumente) {
    argumente.insert(argumente.begin(), {"/usr/bin/env", "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", "-u", "QT_QPA_PLATFORM"});
    return MitFehlern(argumente);
}

// Was stosswerk-plan ausgibt: die Logzeilen so, wie das Log sie zeigt, und
// die Felder x, y, z, Betrag.
struct Plan {
    QString log;
    QString felder[4];
};
inline Plan StosswerkPlan(std::vector<std::string> argumente) {
    argumente.insert(argumente.begin(), Bin("stosswerk-plan"));
    const Ergebnis e = Fuehreaus(argumente);
    EXPECT_EQ(e.rueckgabe, 0);
    const QString aus = Q(e.ausgabe);
    const qsizetype vektor = aus.lastIndexOf("\nx:\t");
    Plan p;
    p.log = aus.left(vektor).replace("\r\n", "\n");
    const QStringList zeilen = aus.mid(vektor + 1).split('\n', Qt::SkipEmptyParts);
    for (int i = 0; i < 4 && i < zeilen.size(); ++i) p.felder[i] = zeilen[i].section('\t', 1);
    return p;
}

// Der Spieler des Hauptfensters, seine Anzeige und seine Kugeln.
inline Spielerkontext& Spieler() { return Hauptfenster->Spieler(); }
inline const Anzeige& FensterAnzeigeDesSpielers() { return Spieler().anzeige; }
inline Spielstand Stand() { return Hauptfenster->Stand(); }

// Kugeln und Gruppe des Fensters, wie nach dem Ziehen und der Menüwahl.
inline void SetzeFensterstand(const Spielstand& stand) { Hauptfenster->SetzeStand(stand); }
inline void LoescheFensterlog() { LoescheLog(FensterAnzeigeDesSpielers()); }
// Eine Anfrage, wie der Server-Thread sie bearbeitet (von einem anderen Thread rufen).
inline void BearbeiteFensteranfrage(const std::string& dokument) { BearbeiteAnfrage(Spieler(), dokument, "10.0.0.1"); }
// Ports des Spielers für Anfragen und Status.
inline void SetzePorts(int port, int bport) {
    Spieler().netz.port = Spieler().sender.netz.port = port;
    Spieler().netz.bport = Spieler().sender.netz.bport = bport;
}

// Die vorgegebene Suche auf stand (Physik der Vorgaben), ohne ins Fenster zu schreiben.
inline Suchbericht SucheStill(const Spielstand& stand, Vektor* stoss = nullptr) {
    const IniDatei leer;
    const Planergebnis p = SucheStoss(Spieler().tisch, stand, PhysikAus(leer), KugelradiusAus(leer));
    if (stoss) *stoss = p.stoss;
    return p.bericht;
}

// Die sichtbaren Meldungen, als "Titel|Text|Symbol|ohne Eltern|anwendungsmodal".
inline QStringList OffeneMeldungen() {
    QStringList offen;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible())
            offen << QString("%1|%2|%3|%4|%5")
                         .arg(box->windowTitle(), box->text())
                         .arg(box->icon())
                         .arg(box->parentWidget() == nullptr)
                         .arg(box->windowModality() == Qt::ApplicationModal);
    return offen;
}

inline void SchliesseEine() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
            box->button(QMessageBox::Ok)->click();
            return;
        }
}

inline void SchliesseAlleMeldungen() {
    while (!OffeneMeldungen().isEmpty()) {
        SchliesseEine();
        QCoreApplication::processEvents();
    }
}

// Wie im Programm lebt der Spieler bis zum Prozessende: Threads, die ihn
// benutzen, dürfen den Test überdauern. Die Liste hält ihn erreichbar (für den
// Leak-Sanitizer kein Leck).
inline Spielerkontext& DauerhafterSpieler() {
    static auto* alle = new std::vector<std::unique_ptr<Spielerkontext>>;
    return *alle->emplace_back(std::make_unique<Spielerkontext>());
}

class Fenster : public ::testing::Test {
protected:
    HauptDialog* fenster = nullptr;
    // Die config.ini des Spielers; leer: die neben dem Testprogramm.
    std::string konfiguration;

    void SetUp() override {
        NetzwerkAn = false;
        GezogeneKugel = -1;
        fenster = ErzeugeHauptfenster(DauerhafterSpieler(), BestimmePfade("", konfiguration));
    }
    void TearDown() override {
        if (NetzwerkAn) FuehreBefehlAus(BefehlNetzwerk);
        const Anfrageserver& server = fenster->Spieler().server;
        EXPECT_TRUE(QTest::qWaitFor([&] { return WarteAufServerende(server, std::chrono::milliseconds(0)); }, 30000));
        delete fenster;
        Hauptfenster = nullptr;
    }

    QString Feld(int id) const { return qobject_cast<QLabel*>(fenster->Element(id))->text(); }
    QPlainTextEdit* LogFeld() const { return qobject_cast<QPlainTextEdit*>(fenster->Element(FeldLog)); }
    QString Log() const { return LogFeld()->toPlainText(); }
    QPushButton* Knopf(int id) const { return qobject_cast<QPushButton*>(fenster->Element(id)); }
    void Klicke(int id) const { QTest::mouseClick(Knopf(id), Qt::LeftButton); }
    void Menue(int befehl) const { fenster->Menuepunkt(befehl)->trigger(); }
    BildFenster* Ansicht() const { return fenster->Tischansicht(); }
    ::Ansicht Groesse() const { return AnsichtVon(Spieler().tisch.tisch, Ansicht()->width(), Ansicht()->height()); }

    // Ein Mausereignis an die Tischansicht, mit genau diesen Tasten und Umschaltern.
    void Maus(QEvent::Type art, QPoint p, Qt::MouseButton taste, Qt::MouseButtons tasten,
              Qt::KeyboardModifiers umschalter = Qt::NoModifier) const {
        QMouseEvent e(art, QPointF(p), QPointF(Ansicht()->mapToGlobal(p)), taste, tasten, umschalter);
        QApplication::sendEvent(Ansicht(), &e);
    }
    void Druecke(QPoint p) const { Maus(QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton); }
    void Bewege(QPoint p, Qt::MouseButtons tasten = Qt::LeftButton, Qt::KeyboardModifiers u = Qt::NoModifier) const {
        Maus(QEvent::MouseMove, p, Qt::NoButton, tasten, u);
    }
    void Loslassen(QPoint p) const { Maus(QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton); }
    QPoint Mitte(int kugel) const {
        const Kugel k = Stand().kugeln[kugel];
        const Punkt m = Kugelmitte(Groesse(), k.x, k.y);
        return {m.x, m.y};
    }

    void ErwarteWiePlan(const Plan& plan) const {
        EXPECT_EQ(Log().toStdString(), plan.log.toStdString());
        for (int i = 0; i < 4; ++i) EXPECT_EQ(Feld(FeldX + i), plan.felder[i]) << "Feld " << FeldX + i;
    }
    // Log, Ausgabefelder und Linien genau einer Suche auf stand.
    void ErwarteSuche(const Spielstand& stand) const {
        Vektor stoss{};
        const Suchbericht b = SucheStill(stand, &stoss);
        std::string texte[4];
        VektorTexte(stoss, texte);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(Feld(FeldX + i), Q(texte[i])) << "Feld " << FeldX + i;
        // Sieben Zeilen; die erste beginnt mit einem Zeilenwechsel.
        EXPECT_TRUE(Log().startsWith("\ncntWeisseKugelLoch=")) << Log().toStdString();
        EXPECT_EQ(Log().count('\n'), 8);
        EXPECT_TRUE(Log().endsWith(QString("\nAnzahl möglicher Stöße: %1\n").arg(b.anzahl[6])));
        ErwarteLinien(b.bester, 1);
    }
    // Die Ansicht hält die Linien des Stoßes so oft, wie er gezeichnet wurde.
    void ErwarteLinien(const Stoss& stoss, std::size_t mal) const {
        const std::vector<Linie> einmal = StossLinien(stoss);
        const std::vector<Linie>& da = Ansicht()->Linien();
        ASSERT_EQ(da.size(), einmal.size() * mal);
        for (std::size_t i = 0; i < da.size(); ++i) {
            const Linie& e = einmal[i % einmal.size()];
            EXPECT_TRUE(da[i].x1 == e.x1 && da[i].y1 == e.y1 && da[i].x2 == e.x2 && da[i].y2 == e.y2 &&
                        da[i].farbe == e.farbe) << "Linie " << i;
        }
    }
};
