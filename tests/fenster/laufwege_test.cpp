// Laufwege im Bild: "Laufwege anzeigen" im Fenster (wie der gespielte Stoß in
// der Simulation läuft, in der Welt der robusten Wahl, bis zum nächsten
// Löschen) und das Bild von stosswerk-sim --bild.
#include <QImage>
#include <QTemporaryDir>
#include <memory>
#include <nlohmann/json.hpp>

#include "fenster_hilfen.h"
#include "fenster/tischbild.h"
#include "model/konfiguration.h"
#include "planner/planereinstellung.h"

using Vorschau = Fenster;

TEST_F(Vorschau, LaufwegeNurMitDerMarkeUndBisZumDruck) {
    auto aufnahme = [this] { return Ansicht()->grab().toImage(); };
    Klicke(BefehlStart);
    EXPECT_EQ(Ansicht()->Vorschau(), nullptr);  // aus: wie immer nur die Stoßlinien
    const QImage nurLinien = aufnahme();

    Menue(BefehlLaufwege);
    Klicke(BefehlStart);
    const Stossvorschau* v = Ansicht()->Vorschau();
    ASSERT_NE(v, nullptr);
    // Genau der Weg, den die Simulation für den geplanten Stoß rechnet.
    Vektor stoss{};
    SucheStill(Stand(), &stoss);
    IniDatei ini;
    LeseIniDatei(Spieler().pfade.konfiguration, ini);
    const Modell welt = PlanerAus(ini).welt;
    EXPECT_EQ(v->modell, welt);
    auto erwartet = std::make_unique<Stossvorschau>();
    ASSERT_TRUE(Simuliere(BaueTischgeometrie(Spieler().tisch), WeltAus(ini, welt), Stand(), stoss, erwartet->ergebnis,
                          &erwartet->wege));
    const Laufweg &weiss = v->wege.kugel[0], &soll = erwartet->wege.kugel[0];
    ASSERT_GE(weiss.anzahl, 2);
    ASSERT_EQ(weiss.anzahl, soll.anzahl);
    for (int n = 0; n < soll.anzahl; ++n) EXPECT_TRUE(weiss.x[n] == soll.x[n] && weiss.y[n] == soll.y[n]) << n;
    EXPECT_NE(aufnahme(), nurLinien);

    Druecke(QPoint(300, 120));
    Loslassen(QPoint(300, 120));
    EXPECT_EQ(Ansicht()->Vorschau(), nullptr);
}

TEST_F(Vorschau, StosswerkSimMaltOhneBildschirmDieWegeInIhrenFarben) {
    QTemporaryDir dir;
    const std::string pfad = dir.filePath("bild.png").toStdString();
    const Ergebnis e = OhneBildschirm({Bin("stosswerk-sim"), "--plan", "--modell", "P", "--bild", pfad, "--json"});
    ASSERT_EQ(e.rueckgabe, 0) << e.ausgabe;
    EXPECT_EQ(nlohmann::json::parse(e.ausgabe)["versenkt"][0]["nr"], 15);  // nichts als das Objekt
    QImage bild(Q(pfad));
    ASSERT_EQ(bild.size(), QSize(828, 439));
    bild = bild.convertToFormat(QImage::Format_RGB32);
    // Wo der Tisch mit den Kugeln am Anfang weiß ist, liegen die Wege der Weißen und der 15.
    const QImage ohneWege = Tischbild(Spieler().tisch, Groesse(), Stand(), {}, nullptr, nullptr);
    int weisse = 0, fuenfzehn = 0;
    for (int y = 0; y < bild.height(); ++y)
        for (int x = 0; x < bild.width(); ++x) {
            if (ohneWege.pixelColor(x, y) != Qt::white) continue;
            weisse += bild.pixelColor(x, y) == Wegfarbe(0);
            fuenfzehn += bild.pixelColor(x, y) == Wegfarbe(15);
        }
    EXPECT_GT(weisse, 50);
    EXPECT_GT(fuenfzehn, 20);
}
