#include <gtest/gtest.h>

#include <fstream>

#include "hilfen.h"
#include "sim/beobachtung.h"

namespace {

Beobachtung Muster(int n) {
    Beobachtung b{};
    for (int i = 0; i < kAnzahlKugeln; ++i) {
        b.vorher.kugeln[i] = {10.0f + i + 0.001f * n, 20.5f, 0.0f, 0, 1.75f, 0};
        b.nachher.kugeln[i] = {11.25f + i, 21.0f - 0.1f * n, 0.0f, static_cast<std::uint8_t>(i == 3), 1.75f, 0};
    }
    b.vorher.gruppe = b.nachher.gruppe = alle;
    b.stoss = {1.2345678f, -0.1f * n, 0.0f};
    return b;
}

}  // namespace

// Hin und zurück genau; ein abgerissenes Ende wird übergangen und gemeldet und
// beim nächsten Anhängen abgeschnitten; die Datei hält höchstens die neuesten.
TEST(Beobachtung, ZeileDateiUndAbgerissenesEnde) {
    TempVerzeichnis tmp;
    Beobachtungsdatei datei;
    datei.pfad = (tmp.pfad / "beobachtungen.jsonl").string();
    std::string fehler;
    for (int n = 0; n < 3; ++n) ASSERT_TRUE(HaengeBeobachtungAn(datei, Muster(n), fehler)) << fehler;
    // Ein Absturz mitten in der vierten Zeile.
    const std::string vierte = BeobachtungAlsJson(Muster(3));
    std::ofstream(datei.pfad, std::ios::app) << vierte.substr(0, vierte.size() / 2);

    std::vector<Beobachtung> gelesen;
    Beobachtungsbericht bericht;
    ASSERT_TRUE(LeseBeobachtungen(datei.pfad, 1.75f, gelesen, bericht, fehler));
    EXPECT_TRUE(bericht.abgerissen);
    EXPECT_EQ(bericht.fehlerhaft, 0);
    ASSERT_EQ(gelesen.size(), 3u);
    const Beobachtung m = Muster(2);
    EXPECT_EQ(gelesen[2].stoss.x, m.stoss.x);
    EXPECT_EQ(gelesen[2].stoss.y, m.stoss.y);
    EXPECT_EQ(gelesen[2].vorher.kugeln[15].x, m.vorher.kugeln[15].x);
    EXPECT_EQ(gelesen[2].nachher.kugeln[3].inloch, 1);
    EXPECT_EQ(gelesen[2].vorher.gruppe, alle);

    // Das nächste Anhängen schneidet das abgerissene Ende ab: die Datei bleibt lesbar.
    ASSERT_TRUE(HaengeBeobachtungAn(datei, Muster(4), fehler)) << fehler;
    bericht = {};
    ASSERT_TRUE(LeseBeobachtungen(datei.pfad, 1.75f, gelesen, bericht, fehler));
    EXPECT_FALSE(bericht.abgerissen);
    EXPECT_EQ(bericht.fehlerhaft, 0);
    ASSERT_EQ(gelesen.size(), 4u);
    EXPECT_EQ(gelesen[3].stoss.y, Muster(4).stoss.y);

    // Über das Höchstmaß hinaus: gekürzt auf die neuesten.
    for (long n = 0; n < kBeobachtungenHoechstens + kBeobachtungenHoechstens / 10; ++n)
        ASSERT_TRUE(HaengeBeobachtungAn(datei, Muster(5), fehler)) << fehler;
    EXPECT_LE(datei.zeilen, kBeobachtungenHoechstens + kBeobachtungenHoechstens / 10);
    ASSERT_TRUE(LeseBeobachtungen(datei.pfad, 1.75f, gelesen, bericht, fehler));
    EXPECT_EQ(static_cast<long>(gelesen.size()), kBeobachtungenHoechstens);
    EXPECT_EQ(gelesen.back().stoss.y, Muster(5).stoss.y);

    EXPECT_FALSE(LeseBeobachtungen((tmp.pfad / "fehlt.jsonl").string(), 1.75f, gelesen, bericht, fehler));
}
