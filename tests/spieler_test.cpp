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

// Ein Spieler, der Anfragen annimmt und nie antwortet, sähe gesund aus: fehlt
// eine Vorlage oder (mit Beobachten) das Datenverzeichnis, bleibt das Netz aus.
// Nur Fälle, in denen nichts startet: hier sendet kein Status.
TEST(Spieler, OhneVorlagenOderDatenverzeichnisBleibtDasNetzAus) {
    const struct {
        bool vorlagen;
        const char* planer;
        const char* daten;  // relativ zum Verzeichnis; "datei" ist eine Datei
        const char* grund;  // leer: nichts fehlt
    } faelle[] = {
        {false, "", "", "ki-result.xml nicht lesbar"},
        {true, "beobachten=1\n", "fehlt/", "nicht beschreibbar"},
        {true, "lernen=1\n", "datei/", "nicht beschreibbar"},
        {true, "", "fehlt/", ""},  // ohne Beobachten braucht er es nicht
        {true, "beobachten=1\n", "", ""},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(std::string(f.planer) + f.daten);
        TempVerzeichnis dir;
        if (f.vorlagen)
            for (const char* v : {"ki-result.xml", "ki-status.xml"})
                std::filesystem::copy_file(VerzeichnisDesProgramms() + v, dir.pfad / v);
        dir.Schreibe("datei", "");
        const std::string config = dir.Schreibe("config.ini", std::string("[planer]\n") + f.planer);
        Aufzeichnung a;
        Spielerkontext k;
        BaueSpieler(k, BestimmePfade(dir.pfad.string(), config, (dir.pfad / f.daten).string()), AufzeichnendeAnzeige(a));
        const std::string fehlt = FehltZumAntworten(k);
        EXPECT_TRUE(Enthaelt(fehlt, f.grund)) << fehlt;
        EXPECT_EQ(fehlt.empty(), *f.grund == '\0') << fehlt;
        if (fehlt.empty()) continue;
        EXPECT_FALSE(SchalteNetzEin(k));
        ASSERT_EQ(a.meldungen.size(), 1u);
        EXPECT_TRUE(Enthaelt(a.meldungen[0], fehlt)) << a.meldungen[0];
        EXPECT_TRUE(Enthaelt(a.log, "Netzwerk bleibt aus.")) << a.log;
    }
}
