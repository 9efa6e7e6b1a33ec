// Die Spieler im Prozess von spieltisch zählen simulierte Stöße statt der
// Zeit: dieselbe Entscheidung gibt denselben Stoß, auch wenn mehrere zugleich
// rechnen, und derselbe Lauf von Partien denselben Bericht.
#include <gtest/gtest.h>

#include <sstream>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/spieltisch/partienablauf.h"
#include "hilfen.h"
#include "spiel/spieler.h"

namespace {

// Sechzehn Kugeln in einer Reihe: ohne Grenze rechnet die Wahl Hunderte Millisekunden.
Spielstand Reihe() {
    const Tischkontext& tk = Vorgabetisch();
    const float d = 2.0f * tk.tisch.radius, y = tk.tisch.hoehe / 2.0f;
    Spielstand s = LeererStand(22.0f, y, halbe);
    for (int i = 1; i < kAnzahlKugeln; ++i) SetzeKugel(s, i, 22.0f + d * static_cast<float>(i), y);
    return s;
}

std::string Bericht(const std::vector<std::string>& argumente) {
    std::string fehler;
    const auto o = LeseOptionen(argumente, fehler);
    EXPECT_TRUE(o) << fehler;
    if (!o) return {};
    std::ostringstream aus, meldungen;
    EXPECT_EQ(SpielePartienAus(*o, aus, meldungen, {}), 0) << meldungen.str();
    nlohmann::json j = nlohmann::json::parse(aus.str());
    j.erase("zeit_ms");
    return j.dump();
}

}  // namespace

TEST(Stossbudget, SpielerImProzessZaehlenStoesseStattZeit) {
    // Mit 10 ms werden es 400 Stöße: genug, um die Reihe zu kappen, und schnell.
    TempVerzeichnis dir;
    LokalerPlaner p;
    ASSERT_TRUE(LadePlaner(dir.Schreibe("config.ini", "[planer]\nzeitgrenze=10\n"), Wahl::robust, true, p));
    Bemesse(p, -1);
    EXPECT_EQ(p.kontext.einstellung.zeitgrenze, 0);
    EXPECT_EQ(p.kontext.einstellung.stoesse, 10 * kStoesseJeMillisekunde);
    LokalerPlaner uhr = p;
    Bemesse(uhr, 30);
    EXPECT_EQ(uhr.kontext.einstellung.zeitgrenze, 30);
    EXPECT_EQ(uhr.kontext.einstellung.stoesse, -1);

    // Einmal allein, dreimal zugleich auf einem Rechner mit zwei Kernen: jede
    // bekommt weniger Zeit, aber dieselben Stöße.
    const Spielstand s = Reihe();
    const Planergebnis allein = PlaneLokal(p, s);
    EXPECT_TRUE(allein.bericht.gekappt);
    std::vector<Planergebnis> zugleich(3);
    std::vector<std::thread> threads;
    for (Planergebnis& r : zugleich) threads.emplace_back([&] { r = PlaneLokal(p, s); });
    for (std::thread& t : threads) t.join();
    for (const Planergebnis& r : zugleich) {
        EXPECT_EQ(r.stoss.x, allein.stoss.x);
        EXPECT_EQ(r.stoss.y, allein.stoss.y);
        EXPECT_EQ(r.protokoll, allein.protokoll);
    }
}

TEST(Stossbudget, GleichePartienGebenGleicheBerichte) {
    // Der robuste Spieler mit der ausgelieferten config.ini (zeitgrenze=200), auf zwei Threads.
    const std::vector<std::string> lauf = {"--partien",  "2",  "--zufall", "5",         "--spieler-a", "robust",
                                           "--spieler-b", "vorgegeben", "--rauschen", "1", "--threads", "2", "--json"};
    const std::string a = Bericht(lauf), b = Bericht(lauf);
    EXPECT_FALSE(a.empty());
    EXPECT_EQ(a, b);
}
