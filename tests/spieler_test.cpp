// Der Spieler als Anwendungsfall: "Start" und eine Anfrage leeren einander
// nicht das Protokoll, und eine config.ini, die mitten im Betrieb unlesbar
// wird, steht im Protokoll, statt still die Vorgaben gelten zu lassen.
#include <gtest/gtest.h>

#include <filesystem>

#include "hilfen.h"
#include "netz/netz_hilfen.h"
#include "spieler/spielerkontext.h"

namespace {

bool Enthaelt(const std::string& text, std::string_view teil) { return text.find(teil) != std::string::npos; }

}  // namespace

TEST(Spieler, StartWaehrendEinerAnfrageLeertIhrProtokollNicht) {
    Aufzeichnung a;
    static Spielerkontext k;  // wie im Programm: der Sender darf den Test überdauern
    BaueSpieler(k, BestimmePfade(), AufzeichnendeAnzeige(a));
    Lauscher antwort;
    // Mitten in der Anfrage (nach ihrem Plan) drückt der Bediener "Start".
    bool gestartet = false;
    k.geplant = [&](const Tischkontext&, const Spielstand& stand, Vektor, const Planerkontext&) {
        if (gestartet) return;
        gestartet = true;
        Starte(k, stand);
    };
    SchreibeLog(k.anzeige, "Verbindung zu 127.0.0.1\r\n");
    BearbeiteAnfrage(k, Anfrage(antwort.port, 5), "10.0.0.1");
    ASSERT_TRUE(antwort.Empfange().has_value());
    // Alles geschah auf diesem Thread: die Aufzeichnung ist fertig.
    EXPECT_EQ(a.log.rfind("Verbindung zu 127.0.0.1\r\n", 0), 0u) << a.log;
    std::size_t suchen = 0;
    for (std::size_t p = a.log.find("Anzahl möglicher"); p != std::string::npos; p = a.log.find("Anzahl möglicher", p + 1))
        ++suchen;
    EXPECT_EQ(suchen, 2u) << a.log;

    // Ohne Anfrage in Arbeit leert "Start" wie immer.
    k.geplant = nullptr;
    a.log += "alt\r\n";
    Starte(k, LeererStand(30, 20, halbe));
    EXPECT_FALSE(Enthaelt(a.log, "alt")) << a.log;
}

TEST(Spieler, UnlesbareKonfigurationImBetriebStehtImProtokoll) {
    TempVerzeichnis dir;
    const std::string pfad = dir.Schreibe("config.ini", "[planer]\nmodus=1\n");
    Aufzeichnung a;
    Spielerkontext k;
    ASSERT_EQ(BaueSpieler(k, BestimmePfade("", pfad), AufzeichnendeAnzeige(a)), 0);
    std::filesystem::remove(pfad);
    std::filesystem::create_directory(pfad);  // öffnen geht, lesen nicht (auch für root)
    const auto ini = LeseEinstellungen(k);
    EXPECT_EQ(PlanerAus(*ini).modus, Planermodus::robust);  // die zuletzt gelesenen Werte
    EXPECT_EQ(a.log, "Konfiguration " + pfad + " nicht lesbar (Errorcode: " + std::to_string(EISDIR) +
                         "), es gelten die zuletzt gelesenen Werte.\r\n");
    // Fehlt sie ganz, gelten still die Vorgaben.
    std::filesystem::remove(pfad);
    a.log.clear();
    EXPECT_EQ(PlanerAus(*LeseEinstellungen(k)).modus, Planermodus::vorgegeben);
    EXPECT_EQ(a.log, "");
}
