// Die angepasste Welt als config.ini: genau die Zeile, die IniGanzzahl liest,
// wird ersetzt oder ergänzt; Kommentare, Reihenfolge und Zeilenenden bleiben.
#include <gtest/gtest.h>

#include "lernen/konfigurationstext.h"
#include "model/ini_datei.h"

namespace {

std::uint32_t Lies(const std::string& text, const char* sektion, const char* schluessel) {
    IniDatei ini;
    ini.text = text;
    ZerlegeIniText(ini);
    return IniGanzzahl(ini, sektion, schluessel, 4711);
}

}  // namespace

TEST(Konfigurationstext, ErsetztOderErgaenztNurDieGeltendeZeile) {
    const struct {
        const char* name;
        std::string vorher;
        std::vector<Iniwert> werte;
        std::string nachher;
    } faelle[] = {
        {"ersetzt, Kommentar und Rest bleiben",
         "; Kopf\n[simulation]\n; Stoßzahl\nstosszahl_kugel = 95 ; alt\n[planer]\nrauschen=100\n",
         {{"simulation", "stosszahl_kugel", 70}, {"planer", "rauschen", 106}},
         "; Kopf\n[simulation]\n; Stoßzahl\nstosszahl_kugel = 70 ; alt\n[planer]\nrauschen=106\n"},
        {"fehlender Schlüssel hinter den letzten seiner Sektion",
         "[simulation]\ngleitreibung=140\n; zum Schluss\n\n[planer]\nmodus=1\n",
         {{"simulation", "bande_abfall", 22}, {"simulation", "bande_drall", 13}},
         "[simulation]\ngleitreibung=140\nbande_abfall=22\nbande_drall=13\n; zum Schluss\n\n[planer]\nmodus=1\n"},
        {"fehlende Sektion ans Ende, auch ohne letzten Zeilenumbruch",
         "[tisch]\nbreite=10700",
         {{"planer", "rauschen", 85}},
         "[tisch]\nbreite=10700\n\n[planer]\nrauschen=85\n"},
        {"nur die erste Sektion und darin der erste Schlüssel zählen; Groß-/Kleinschreibung egal",
         "[Simulation]\nSTOSSZAHL_KUGEL=95\nstosszahl_kugel=90\n[simulation]\nstosszahl_kugel=80\n",
         {{"simulation", "stosszahl_kugel", 70}},
         "[Simulation]\nSTOSSZAHL_KUGEL=70\nstosszahl_kugel=90\n[simulation]\nstosszahl_kugel=80\n"},
        {"Zeilenenden CRLF bleiben, neue Zeilen ebenso; auskommentierte Schlüssel bleiben stehen",
         "[simulation]\r\n; rollreibung=30\r\nbande_normal=-5\r\n",
         {{"simulation", "bande_normal", 60}, {"simulation", "rollreibung", 30}},
         "[simulation]\r\n; rollreibung=30\r\nbande_normal=60\r\nrollreibung=30\r\n"},
        {"leere Datei", "", {{"simulation", "gleitreibung", 146}}, "[simulation]\ngleitreibung=146\n"},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.name);
        const std::string neu = SetzeIniwerte(f.vorher, f.werte);
        EXPECT_EQ(neu, f.nachher);
        for (const Iniwert& w : f.werte)
            EXPECT_EQ(Lies(neu, w.sektion.c_str(), w.schluessel.c_str()), static_cast<std::uint32_t>(w.wert));
    }
}

// Gerundet, festgehaltene bleiben weg, der Versatz mit seinem Vorzeichen.
TEST(Konfigurationstext, WerteEinesFits) {
    Kalibrierergebnis e;
    for (int j = 0; j < kAnzahlKenngroessen; ++j)
        e.kenngroessen[static_cast<std::size_t>(j)] = {10.0 * j + 0.5, 0.1, 0.0, false};
    e.kenngroessen[static_cast<std::size_t>(Kenngroesse::kugelreibung)].festgehalten = true;
    e.kenngroessen[static_cast<std::size_t>(Kenngroesse::richtung_versatz)].wert = -19.6;
    e.rauschfaktor = 1.064;
    const std::string text = KalibrierteKonfiguration("[simulation]\nkugelreibung=6\n", e);
    EXPECT_EQ(Lies(text, "simulation", "gleitreibung"), 1u);
    EXPECT_EQ(Lies(text, "simulation", "stosszahl_kugel"), 11u);
    EXPECT_EQ(Lies(text, "simulation", "kugelreibung"), 6u);
    EXPECT_EQ(static_cast<std::int32_t>(Lies(text, "simulation", "richtung_versatz")), -20);
    EXPECT_EQ(Lies(text, "planer", "rauschen"), 106u);
    // WeltAus liest daraus wieder −0.2°.
    IniDatei ini;
    ini.text = text;
    ZerlegeIniText(ini);
    const Welt w = WeltAus(ini, Modell::R);
    EXPECT_NEAR(std::remainder(w.richtungVersatz, 2.0 * M_PI) * 180.0 / M_PI, -0.2, 1e-4);
}
