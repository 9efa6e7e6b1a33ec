// Der Spieler lernt im Spiel: angenommene Beobachtungen landen im
// Datenverzeichnis, nach lernen_alle passt ein eigener Thread an, und
// währenddessen wird weiter geplant; die gelernte Welt übersteht einen Neustart.
#include <gtest/gtest.h>

#include <future>

#include "hilfen.h"
#include "kuenstliche_beobachtungen.h"
#include "lernen/spieler_lernt.h"
#include "planner/gelernter_tisch.h"
#include "planner/robuste_suche.h"

TEST(SpielerLernt, AnpassenBlockiertKeineAntwort) {
    LadeVorgabetisch();
    InstalliereAnzeige(StilleAnzeige());
    TempVerzeichnis tmp;
    const std::string config =
        tmp.Schreibe("config.ini", "[planer]\nmodus=1\nzeitgrenze=0\nproben=8\nlernen=1\nlernen_alle=12\n");
    SetzeKonfigurationsdatei(config);
    SetzeDatenverzeichnis(tmp.pfad.string());
    SetzeGelernterTisch(nullptr);

    // Eigene Stöße, deren Ergebnis die nächste Anfrage zeigt (eine eigene Kugel fiel).
    IniDatei leer;
    const Welt welt = WeltAus(leer, Modell::R);
    const Tischgeometrie g = BaueTischgeometrie(tisch);
    std::vector<Beobachtung> gut;
    for (const Beobachtung& b : KuenstlicheBeobachtungen(welt, 1500, 17, 1.0))
        if (PruefeBeobachtung(g, welt, b).angenommen) gut.push_back(b);
    ASSERT_GE(gut.size(), 14u);

    // Das Anpassen wartet am Tor, bis der Test es öffnet.
    std::promise<void> offen;
    std::shared_future<void> tor = offen.get_future().share();
    std::promise<void> angekommen;
    SetzeLerntorFuerTests([&] {
        angekommen.set_value();
        tor.wait();
    });
    const long vorher = AngenommeneBeobachtungen();
    for (std::size_t i = 0; i < 12; ++i) {
        MerkeAntwort("10.0.0.1:7", gut[i].vorher, gut[i].stoss);
        PruefeAnfrageAufBeobachtung("10.0.0.1:7", gut[i].nachher);
    }
    EXPECT_EQ(AngenommeneBeobachtungen() - vorher, 12);
    angekommen.get_future().wait();  // das Anpassen läuft und hängt am Tor

    // Eine weitere Anfrage: beobachtet, geplant, gemerkt, während das Anpassen läuft.
    MerkeAntwort("10.0.0.1:7", gut[12].vorher, gut[12].stoss);
    PruefeAnfrageAufBeobachtung("10.0.0.1:7", gut[12].nachher);
    Vektor stoss{};
    PlaneStoss(gut[13].vorher, stoss);
    EXPECT_TRUE(std::isfinite(stoss.x) && std::isfinite(stoss.y));
    EXPECT_EQ(GelernterTischJetzt(), nullptr);  // noch gilt die alte Welt
    EXPECT_EQ(AngenommeneBeobachtungen() - vorher, 13);

    offen.set_value();
    ASSERT_TRUE(WarteAufLernen(std::chrono::seconds(120)));
    SetzeLerntorFuerTests(nullptr);
    const auto gelernt = GelernterTischJetzt();
    ASSERT_NE(gelernt, nullptr);
    EXPECT_GT(gelernt->rauschen, 0.0);

    // Nach einem Neustart gilt die gelernte Welt aus gelernt.ini.
    SetzeGelernterTisch(nullptr);
    LadeGelerntenTisch();
    const auto geladen = GelernterTischJetzt();
    ASSERT_NE(geladen, nullptr);
    EXPECT_NEAR(geladen->welt.eKugel, gelernt->welt.eKugel, 0.006);
    EXPECT_NEAR(geladen->welt.eNormal, gelernt->welt.eNormal, 0.006);

    std::vector<Beobachtung> gespeichert;
    Beobachtungsbericht bericht;
    std::string fehler;
    ASSERT_TRUE(LeseBeobachtungen((tmp.pfad / "beobachtungen.jsonl").string(), tisch.radius, gespeichert, bericht, fehler));
    EXPECT_EQ(gespeichert.size(), 13u);
    SetzeGelernterTisch(nullptr);
    SetzeKonfigurationsdatei(Programmverzeichnis() + "config.ini");
}
