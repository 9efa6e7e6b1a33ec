// "Laufwege anzeigen": die Tischansicht zeigt, wie der gespielte Stoß in der
// Simulation (Welt P) läuft, bis zum nächsten Löschen.
#include <QImage>
#include <memory>

#include "fenster_hilfen.h"
#include "fenster/tischbild.h"
#include "model/konfiguration.h"

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
    auto erwartet = std::make_unique<Stossvorschau>();
    ASSERT_TRUE(Simuliere(BaueTischgeometrie(tisch), LadeWelt(Konfigurationsdatei(), Modell::P), Stand(), stoss,
                          erwartet->ergebnis, &erwartet->wege));
    const Laufweg &weiss = v->wege.kugel[0], &soll = erwartet->wege.kugel[0];
    ASSERT_GE(weiss.anzahl, 2);
    ASSERT_EQ(weiss.anzahl, soll.anzahl);
    for (int n = 0; n < soll.anzahl; ++n) EXPECT_TRUE(weiss.x[n] == soll.x[n] && weiss.y[n] == soll.y[n]) << n;
    EXPECT_NE(aufnahme(), nurLinien);

    Druecke(QPoint(300, 120));
    Loslassen(QPoint(300, 120));
    EXPECT_EQ(Ansicht()->Vorschau(), nullptr);
}
