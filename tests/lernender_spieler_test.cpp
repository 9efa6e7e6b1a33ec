// Der Spieler lernt im Spiel: angenommene Beobachtungen landen im
// Datenverzeichnis, nach lernen_alle passt ein eigener Thread an, und
// währenddessen wird weiter geplant; die gelernte Welt übersteht einen Neustart.
#include <gtest/gtest.h>

#include <future>

#include "hilfen.h"
#include "kuenstliche_beobachtungen.h"
#include "spieler/lernender_spieler.h"
#include "planner/robuste_suche.h"

TEST(LernenderSpieler, AnpassenBlockiertKeineAntwort) {
    const Tischkontext& tk = Vorgabetisch();
    TempVerzeichnis tmp;
    IniDatei ini;
    ini.text = "[planer]\nmodus=1\nzeitgrenze=0\nproben=8\nlernen=1\nlernen_alle=12\n";
    ZerlegeIniText(ini);
    const std::string config = tmp.Schreibe("config.ini", ini.text);

    LernenderSpieler l;
    l.anzeige = StilleAnzeige();
    l.pfade = BestimmePfade("", config, tmp.pfad.string());
    l.tisch = tk;

    // Eigene Stöße, deren Ergebnis die nächste Anfrage zeigt (eine eigene Kugel fiel).
    const Welt welt = WeltAus(IniDatei{}, Modell::R);
    const Tischgeometrie g = BaueTischgeometrie(tk);
    std::vector<Beobachtung> gut;
    for (const Beobachtung& b : KuenstlicheBeobachtungen(welt, 1500, 17, 1.0))
        if (PruefeBeobachtung(g, welt, b).angenommen) gut.push_back(b);
    ASSERT_GE(gut.size(), 14u);

    // Das Anpassen wartet bei seinem ersten Schritt, bis der Test es weiterlässt.
    std::promise<void> offen;
    std::shared_future<void> tor = offen.get_future().share();
    std::promise<void> angekommen;
    bool erster = true;
    l.fortschritt = [&](double, const char*) {
        if (!erster) return;
        erster = false;
        angekommen.set_value();
        tor.wait();
    };
    for (std::size_t i = 0; i < 12; ++i) {
        MerkeAntwort(l, ini, "10.0.0.1:7", gut[i].vorher, gut[i].stoss);
        PruefeAnfrageAufBeobachtung(l, ini, "10.0.0.1:7", gut[i].nachher);
    }
    EXPECT_EQ(AngenommeneBeobachtungen(l), 12);
    // Das Anpassen läuft und hängt am Tor; mit Grenze, damit ein Fehler nicht hängt.
    ASSERT_EQ(angekommen.get_future().wait_for(std::chrono::seconds(60)), std::future_status::ready);

    // Eine weitere Anfrage: beobachtet, geplant, gemerkt, während das Anpassen läuft.
    MerkeAntwort(l, ini, "10.0.0.1:7", gut[12].vorher, gut[12].stoss);
    PruefeAnfrageAufBeobachtung(l, ini, "10.0.0.1:7", gut[12].nachher);
    const Vektor stoss = PlaneStoss(tk, PlanerkontextAus(ini, GelernterTischVon(l).get()), gut[13].vorher).stoss;
    EXPECT_TRUE(std::isfinite(stoss.x) && std::isfinite(stoss.y));
    EXPECT_EQ(GelernterTischVon(l), nullptr);  // noch gilt die alte Welt
    EXPECT_EQ(AngenommeneBeobachtungen(l), 13);

    offen.set_value();
    ASSERT_TRUE(WarteAufLernen(l, std::chrono::seconds(120)));
    const auto gelernt = GelernterTischVon(l);
    ASSERT_NE(gelernt, nullptr);
    EXPECT_GT(gelernt->rauschen, 0.0);

    // Nach einem Neustart gilt die gelernte Welt aus gelernt.ini.
    LernenderSpieler neu;
    neu.anzeige = StilleAnzeige();
    neu.pfade = l.pfade;
    neu.tisch = tk;
    LadeGelerntenTisch(neu, ini);
    const auto geladen = GelernterTischVon(neu);
    ASSERT_NE(geladen, nullptr);
    EXPECT_NEAR(geladen->welt.eKugel, gelernt->welt.eKugel, 0.006);
    EXPECT_NEAR(geladen->welt.eNormal, gelernt->welt.eNormal, 0.006);

    std::vector<Beobachtung> gespeichert;
    Beobachtungsbericht bericht;
    std::string fehler;
    ASSERT_TRUE(LeseBeobachtungen((tmp.pfad / "beobachtungen.jsonl").string(), tk.tisch.radius, gespeichert, bericht,
                                  fehler));
    EXPECT_EQ(gespeichert.size(), 13u);
}
