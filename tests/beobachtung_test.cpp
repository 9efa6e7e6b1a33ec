#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "hilfen.h"
#include "sim/beobachtung.h"
#include "sim/beobachtungsdatei.h"

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
    for (int n = 0; n < 3; ++n) ASSERT_EQ(HaengeBeobachtungAn(datei, Muster(n), fehler), Anhaengen::gut) << fehler;
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
    ASSERT_EQ(HaengeBeobachtungAn(datei, Muster(4), fehler), Anhaengen::gut) << fehler;
    bericht = {};
    ASSERT_TRUE(LeseBeobachtungen(datei.pfad, 1.75f, gelesen, bericht, fehler));
    EXPECT_FALSE(bericht.abgerissen);
    EXPECT_EQ(bericht.fehlerhaft, 0);
    ASSERT_EQ(gelesen.size(), 4u);
    EXPECT_EQ(gelesen[3].stoss.y, Muster(4).stoss.y);

    // Über das Höchstmaß hinaus: gekürzt auf die neuesten.
    for (long n = 0; n < kBeobachtungenHoechstens + kBeobachtungenHoechstens / 10; ++n)
        ASSERT_EQ(HaengeBeobachtungAn(datei, Muster(5), fehler), Anhaengen::gut) << fehler;
    EXPECT_LE(datei.zeilen, kBeobachtungenHoechstens + kBeobachtungenHoechstens / 10);
    ASSERT_TRUE(LeseBeobachtungen(datei.pfad, 1.75f, gelesen, bericht, fehler));
    EXPECT_EQ(static_cast<long>(gelesen.size()), kBeobachtungenHoechstens);
    EXPECT_EQ(gelesen.back().stoss.y, Muster(5).stoss.y);

    EXPECT_FALSE(LeseBeobachtungen((tmp.pfad / "fehlt.jsonl").string(), 1.75f, gelesen, bericht, fehler));
}

// Zwei Spieler, die sich ein Datenverzeichnis teilen (hier zwei Dateien auf
// derselben, auf zwei Threads), verlieren beim Kürzen keine Zeile des anderen:
// was von jedem bleibt, ist eine lückenlose Folge. Und lässt sich
// keine neue Datei daneben anlegen, kürzt die Datei an Ort und Stelle.
TEST(Beobachtungsdatei, ZweiSchreiberUndKuerzenOhneNeueDatei) {
    TempVerzeichnis tmp;
    const std::string pfad = (tmp.pfad / "beobachtungen.jsonl").string();
    constexpr long kHoechstens = 40, kJe = 300;
    auto schreibe = [&](int wer, std::string& fehler) {
        Beobachtungsdatei d;
        d.pfad = pfad;
        d.hoechstens = kHoechstens;
        for (long n = 0; n < kJe; ++n) {
            Beobachtung b = Muster(0);
            b.stoss = {static_cast<float>(n), static_cast<float>(wer), 0.0f};
            if (HaengeBeobachtungAn(d, b, fehler) != Anhaengen::gut) return;
        }
    };
    std::string fehlerA, fehlerB;
    std::thread a([&] { schreibe(0, fehlerA); });
    schreibe(1, fehlerB);
    a.join();
    EXPECT_EQ(fehlerA + fehlerB, "");
    std::vector<Beobachtung> gelesen;
    Beobachtungsbericht bericht;
    std::string fehler;
    ASSERT_TRUE(LeseBeobachtungen(pfad, 1.75f, gelesen, bericht, fehler));
    EXPECT_EQ(bericht.fehlerhaft, 0);
    EXPECT_FALSE(bericht.abgerissen);
    EXPECT_GE(static_cast<long>(gelesen.size()), kHoechstens);
    EXPECT_LE(static_cast<long>(gelesen.size()), kHoechstens + kHoechstens / 10);
    float naechste[2] = {-1.0f, -1.0f};
    for (const Beobachtung& b : gelesen) {
        float& n = naechste[static_cast<int>(b.stoss.y)];
        EXPECT_TRUE(n < 0.0f || b.stoss.x == n) << "Lücke bei " << b.stoss.y << ": " << n << " fehlt";
        n = b.stoss.x + 1.0f;
    }
    // Wer zuletzt schrieb, hat seine letzte Zeile in der Datei.
    EXPECT_TRUE(naechste[0] == static_cast<float>(kJe) || naechste[1] == static_cast<float>(kJe));

    // Ein Verzeichnis, wo die neue Datei hin soll: es bleibt nur das Kürzen an Ort und Stelle.
    std::filesystem::create_directory(pfad + ".neu." + std::to_string(::getpid()));
    Beobachtungsdatei d;
    d.pfad = pfad;
    d.hoechstens = kHoechstens;
    for (long n = 0; n < 3 * kHoechstens; ++n) ASSERT_EQ(HaengeBeobachtungAn(d, Muster(1), fehler), Anhaengen::gut) << fehler;
    ASSERT_TRUE(LeseBeobachtungen(pfad, 1.75f, gelesen, bericht, fehler));
    EXPECT_LE(static_cast<long>(gelesen.size()), kHoechstens + kHoechstens / 10);
}

#include <random>

#include "anzeige/anzeige.h"
#include "planner/suche.h"
#include "sim/rauschen.h"

namespace {
const Tischkontext& tk = Vorgabetisch();
}  // namespace

// Der eigene Stoß (mit Rauschen gespielt) wird angenommen, der Tisch nach einem
// weiteren Stoß des Gegners abgelehnt, eine zurückgekehrte Kugel auch.
TEST(Beobachtung, AnnahmeUndAblehnung) {
    const Tischgeometrie g = BaueTischgeometrie(tk);
    // Der Tisch spielt wie der Planer rechnet (so gelingt sein Stoß oft); die
    // eigene Welt ist einmal dieselbe, einmal eine ganz andere.
    IniDatei leer;
    const Welt welt = WeltAus(leer, Modell::P), ungenau = WeltAus(leer, Modell::R);
    std::mt19937_64 z(42);
    std::uniform_real_distribution<double> gleich(0.0, 1.0);
    auto e = std::make_unique<Simergebnis>();
    int eigene = 0, eigeneAngenommen = 0, eigeneUngenau = 0, gegner = 0, gegnerAngenommen = 0;
    for (int n = 0; n < 400; ++n) {
        Beobachtung b{};
        b.vorher = LeererStand(static_cast<float>(10 + 80 * gleich(z)), static_cast<float>(8 + 40 * gleich(z)), halbe);
        for (int i = 1; i < kAnzahlKugeln; ++i) {
            if (gleich(z) < 0.3) continue;  // eingelocht
            for (int versuch = 0; versuch < 50; ++versuch) {
                const float x = static_cast<float>(6 + 95 * gleich(z)), y = static_cast<float>(6 + 43.5 * gleich(z));
                bool frei = true;
                for (int j = 0; j < i; ++j)
                    frei &= b.vorher.kugeln[j].inloch || std::hypot(x - b.vorher.kugeln[j].x, y - b.vorher.kugeln[j].y) > 3.6;
                if (frei) {
                    SetzeKugel(b.vorher, i, x, y);
                    break;
                }
            }
        }
        b.stoss = PlaneVorgegeben(b.vorher).stoss;
        ASSERT_TRUE(Simuliere(g, welt, b.vorher, VerrauscheStoss(b.stoss, 1.0, z), *e));
        b.nachher = Endstand(b.vorher, *e);
        bool gefallen = false;
        for (int i = 9; i < kAnzahlKugeln; ++i) gefallen |= e->tasche[i] >= 0;
        const bool gelungen = gefallen && !b.nachher.kugeln[0].inloch;
        if (gelungen) {
            // Gelungen: der Server fragt denselben Spieler wieder.
            ++eigene;
            eigeneAngenommen += PruefeBeobachtung(g, welt, b).angenommen;
            eigeneUngenau += PruefeBeobachtung(g, ungenau, b).angenommen;
            for (int i = 1; i < kAnzahlKugeln; ++i)
                if (b.vorher.kugeln[i].inloch) {  // eine Kugel, die zurückkehrt
                    Beobachtung falsch = b;
                    falsch.nachher.kugeln[i].inloch = 0;
                    EXPECT_FALSE(PruefeBeobachtung(g, welt, falsch).angenommen);
                    break;
                }
            continue;
        }
        // Misslungen oder die Weiße gefallen: der Gegner (volle) ist am Tisch,
        // nach einem Foul mit der Weißen, wo der Server sie hinlegt.
        Spielstand gegen = b.nachher;
        gegen.gruppe = volle;
        if (gegen.kugeln[0].inloch) SetzeKugel(gegen, 0, 26.75f, 27.75f);
        Vektor gegenstoss;
        gegenstoss = PlaneVorgegeben(gegen).stoss;
        ASSERT_TRUE(Simuliere(g, welt, gegen, VerrauscheStoss(gegenstoss, 1.0, z), *e));
        Beobachtung danach = b;
        danach.nachher = Endstand(gegen, *e);
        danach.nachher.gruppe = halbe;
        if (danach.nachher.kugeln[0].inloch) continue;
        ++gegner;
        gegnerAngenommen += PruefeBeobachtung(g, welt, danach).angenommen;
    }
    ASSERT_GT(eigene, 100);
    ASSERT_GT(gegner, 100);
    EXPECT_GT(eigeneAngenommen, eigene * 8 / 10);
    EXPECT_GT(eigeneUngenau, eigene * 6 / 10);
    EXPECT_LT(gegnerAngenommen, gegner / 20);
}
