// "Start", die Gruppen im Menü, das Ziehen der Kugeln und das Log.
#include "fenster_hilfen.h"

using Befehle = Fenster;

TEST_F(Befehle, StartPlantWieStosswerkPlanUndZeichnetOhneZuLoeschen) {
    const Plan plan = StosswerkPlan({});
    const QString kugeln = Feld(FeldKugeln);
    Klicke(BefehlStart);
    ErwarteWiePlan(plan);
    EXPECT_EQ(Feld(FeldKugeln), kugeln);
    const Stoss bester = SucheStill(Stand()).bester;
    ErwarteLinien(bester, 1);
    // Der zweite Lauf leert das Log, zeichnet aber über das stehende Bild.
    SchreibeLog(FensterAnzeigeDesSpielers(), "alt\r\n");
    Klicke(BefehlStart);
    ErwarteWiePlan(plan);
    ErwarteLinien(bester, 2);
}

TEST_F(Befehle, GruppenImMenue) {
    Klicke(BefehlStart);
    Menue(BefehlAlle);
    EXPECT_EQ(Feld(FeldGruppe), "beide");
    EXPECT_TRUE(fenster->Menuepunkt(BefehlAlle)->isChecked());
    EXPECT_FALSE(fenster->Menuepunkt(BefehlHalbe)->isChecked());
    EXPECT_EQ(Stand().gruppe, alle);
    EXPECT_TRUE(Ansicht()->Linien().empty());  // neu gezeichnet mit Löschen
    Klicke(BefehlStart);
    ErwarteWiePlan(StosswerkPlan({"--gruppe", "2"}));

    // Dieselbe Gruppe zweimal: dieselben Schritte, die Felder neu geschrieben.
    Menue(BefehlVolle);
    Klicke(BefehlStart);
    qobject_cast<QLabel*>(fenster->Element(FeldGruppe))->setText("x");
    Menue(BefehlVolle);
    EXPECT_EQ(Feld(FeldGruppe), "voll");
    EXPECT_EQ(Stand().gruppe, volle);
    EXPECT_TRUE(fenster->Menuepunkt(BefehlVolle)->isChecked() && !fenster->Menuepunkt(BefehlAlle)->isChecked());
    EXPECT_TRUE(Ansicht()->Linien().empty());
    Klicke(BefehlStart);
    ErwarteWiePlan(StosswerkPlan({"--gruppe", "1"}));
    FuehreBefehlAus(12345);  // unbekannt: nichts
    EXPECT_EQ(Feld(FeldGruppe), "voll");
}

TEST_F(Befehle, KugelNullZiehenAendertListeUndPlan) {
    Klicke(BefehlStart);
    const QString vorher = Feld(FeldX);
    const QPoint nach(600, 300);
    Druecke(Mitte(0));
    EXPECT_EQ(GezogeneKugel, 0);
    EXPECT_TRUE(Ansicht()->Linien().empty());  // der Druck löscht die Stoßlinien
    Bewege(QPoint(500, 250));
    Bewege(nach);
    Loslassen(nach);
    EXPECT_EQ(GezogeneKugel, -1);

    Spielstand erwartet{};
    SetzeStandardaufstellung(Spieler().tisch.tisch, erwartet);
    const Vektor ziel = PixelZuTisch(Groesse(), nach.x(), nach.y());
    erwartet.kugeln[0].x = ziel.x;
    erwartet.kugeln[0].y = ziel.y;
    EXPECT_EQ(Stand().kugeln[0].x, ziel.x);
    EXPECT_EQ(Stand().kugeln[0].y, ziel.y);
    EXPECT_EQ(Feld(FeldKugeln), Q(KugelnText(erwartet)));
    Klicke(BefehlStart);
    ErwarteSuche(erwartet);
    EXPECT_NE(Feld(FeldX), vorher);
}

TEST_F(Befehle, NurGenauDieLinkeTasteOhneUmschaltUndStrgZieht) {
    const QPoint von = Mitte(0), woanders(300, 300);
    const float x0 = Stand().kugeln[0].x;
    Klicke(BefehlStart);
    Maus(QEvent::MouseButtonPress, von, Qt::RightButton, Qt::RightButton);
    EXPECT_EQ(GezogeneKugel, -1);
    EXPECT_FALSE(Ansicht()->Linien().empty());  // nur die linke Taste löscht
    Maus(QEvent::MouseButtonRelease, von, Qt::RightButton, Qt::NoButton);

    Druecke(von);
    ASSERT_EQ(GezogeneKugel, 0);
    Bewege(woanders, Qt::LeftButton, Qt::ShiftModifier);
    Bewege(woanders, Qt::LeftButton, Qt::ControlModifier);
    Bewege(woanders, Qt::LeftButton | Qt::RightButton);
    Bewege(QPoint(-5, 300));  // außerhalb der Ansicht
    EXPECT_EQ(Stand().kugeln[0].x, x0);
    EXPECT_EQ(GezogeneKugel, 0);  // bleibt scharf bis zum Loslassen
    Bewege(woanders);
    EXPECT_NE(Stand().kugeln[0].x, x0);
    Loslassen(woanders);

    // Neben allen Kugeln zieht ein Druck nichts; das Loslassen schreibt die Liste trotzdem.
    qobject_cast<QLabel*>(fenster->Element(FeldKugeln))->setText("x");
    const float x = Stand().kugeln[0].x;
    Druecke(QPoint(300, 100));
    EXPECT_EQ(GezogeneKugel, -1);
    Bewege(woanders);
    Loslassen(woanders);
    EXPECT_EQ(Stand().kugeln[0].x, x);
    EXPECT_EQ(Feld(FeldKugeln), Q(KugelnText(Stand())));

    // Eine eingelochte Kugel wird nicht aufgenommen.
    Spielstand s = Stand();
    s.kugeln[0].inloch = 1;
    SetzeFensterstand(s);
    Druecke(Mitte(0));
    EXPECT_EQ(GezogeneKugel, -1);
}

TEST_F(Befehle, LogZeilenwechselSchreibmarkeUndAuswahl) {
    SchreibeLog(FensterAnzeigeDesSpielers(), "cntNurAnspielen=%d\r\n", 4);
    SchreibeLog(FensterAnzeigeDesSpielers(), "Server gestartet...   (IP: %s Port: %d) \r\n", "127.0.0.1", 2222);
    EXPECT_EQ(Log(), "cntNurAnspielen=4\nServer gestartet...   (IP: 127.0.0.1 Port: 2222) \n");
    EXPECT_EQ(LogFeld()->document()->blockCount(), 3);  // "\r\n" ist genau ein Zeilenwechsel

    // Eingefügt wird, wo der Bediener die Schreibmarke hingesetzt hat ...
    QTextCursor marke = LogFeld()->textCursor();
    marke.setPosition(0);
    LogFeld()->setTextCursor(marke);
    SchreibeLog(FensterAnzeigeDesSpielers(), "A");
    SchreibeLog(FensterAnzeigeDesSpielers(), "B");
    EXPECT_TRUE(Log().startsWith("ABcntNurAnspielen=4\n"));
    // ... und ein leeres Format ersetzt seine Auswahl durch nichts.
    marke.setPosition(2);
    marke.setPosition(17, QTextCursor::KeepAnchor);
    LogFeld()->setTextCursor(marke);
    SchreibeLog(FensterAnzeigeDesSpielers(), "");
    EXPECT_TRUE(Log().startsWith("AB=4\n"));
    LoescheLog(FensterAnzeigeDesSpielers());
    EXPECT_EQ(Log(), "");
    EXPECT_EQ(LogFeld()->textCursor().position(), 0);
}
