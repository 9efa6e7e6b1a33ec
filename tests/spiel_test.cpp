// Die Spiellogik des Ersatztisches: die Regeln je Stoß, das Gestell, was der
// Tisch zurücksetzt, das Remis, Teilläufe, die sich genau zum ganzen Lauf
// fügen, und die Dateien eines Laufs (--speichere, --beobachtungen, --welt).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <sstream>

#include <nlohmann/json.hpp>

#include "app/spieltisch/anfrage.h"
#include "anzeige/anzeige.h"
#include "hilfen.h"
#include "planner/pfad.h"
#include "spiel/spieler.h"
#include "net/xml_lesen.h"
#include "app/spieltisch/partienablauf.h"
#include "spiel/aufnahmebericht.h"
#include "spiel/ball_in_der_hand.h"
#include "spiel/gestell.h"
#include "spiel/partie.h"
#include "spiel/partiebericht.h"
#include "spiel/spielregeln.h"
#include "app/spieltisch/spielablauf.h"

namespace {
const Tischkontext& tk = Vorgabetisch();
}  // namespace

namespace {

// Ein Stoß, wie ihn die Simulation meldet: erste Berührung, was (in dieser
// Reihenfolge) fiel, welche Kugeln danach an eine Bande kamen.
Simergebnis Ergebnis(int erste, std::vector<int> fallen, std::vector<int> banden) {
    Simergebnis e{};
    for (int i = 0; i < kAnzahlKugeln; ++i) e.tasche[i] = -1;
    e.ersteBeruehrung = erste;
    if (erste >= 0) e.ereignisse[e.anzahl++] = {1.0, Ereignisart::kugel, 0, static_cast<std::int8_t>(erste), -1};
    for (int k : banden) e.ereignisse[e.anzahl++] = {2.0, Ereignisart::bande, static_cast<std::int8_t>(k), -1, -1};
    double t = 3.0;
    for (int k : fallen) {
        e.tasche[k] = 2;
        e.zeitVersenkt[k] = t++;
    }
    return e;
}

// Alle Kugeln auf dem Tisch außer weg.
Spielstand Vorher(std::int32_t gruppe, std::vector<int> weg) {
    Spielstand s = LeererStand(10, 10, gruppe);
    for (int i = 1; i < kAnzahlKugeln; ++i) SetzeKugel(s, i, 10.0f + 4 * i, 30);
    for (int i : weg) s.kugeln[i].inloch = 1;
    return s;
}

const std::vector<int> kVolleWeg = {1, 2, 3, 4, 5, 6, 7};

Spielumgebung Umgebung(Modell m, double rauschen) {
    Spielumgebung u{};
    u.tk = tk;
    u.geometrie = BaueTischgeometrie(u.tk);
    IniDatei leer;
    u.welt = WeltAus(leer, m);
    u.rauschen = rauschen;
    u.saat = 7;
    return u;
}

float Abstand(const Tischkugel& a, const Tischkugel& b) { return std::hypot(a.x - b.x, a.y - b.y); }

// Nur was src/spiel zählt: ohne die Zeiten und ohne die Angaben, die spieltisch
// selbst dazuschreibt (Einstellungen, Abbruch, die Gestelle des Laufs).
nlohmann::json OhneZeiten(nlohmann::json j) {
    j.erase("zeit_us");
    j.erase("zeit_ms");
    j.erase("einstellungen");
    j.erase("unvollstaendig");
    if (j["art"] == "partien") j.erase("bereiche");
    return j;
}

std::vector<std::string> Zeilen(const std::filesystem::path& p) {
    std::ifstream f(p);
    std::vector<std::string> z;
    for (std::string s; std::getline(f, s);) z.push_back(s);
    return z;
}

}  // namespace

TEST(Spielregeln, JederFallWieDieRegelnSagen) {
    struct Fall {
        const char* name;
        bool anstoss;
        std::int32_t gruppe;
        std::vector<int> weg;  // schon vor dem Stoß eingelocht
        int erste;
        std::vector<int> fallen, banden;
        Partiefoul foul;
        bool weiter;
        std::int32_t neueGruppe;
        Ausgang ausgang;
        Niederlage niederlage;
    };
    constexpr auto K = Partiefoul::keins;
    constexpr auto L = Ausgang::laeuft;
    constexpr auto N = Niederlage::keine;
    const Fall faelle[] = {
        {"Weiße versenkt", false, volle, {}, 3, {3, 0}, {}, Partiefoul::weisse_versenkt, false, -1, L, N},
        {"keine Berührung", false, volle, {}, -1, {}, {}, Partiefoul::keine_beruehrung, false, -1, L, N},
        {"fremde Kugel zuerst", false, volle, {}, 10, {3}, {}, Partiefoul::falsche_erste, false, -1, L, N},
        {"nach der Berührung nichts an der Bande", false, volle, {}, 3, {}, {}, Partiefoul::keine_bande, false, -1, L, N},
        {"Bande erreicht, nichts gefallen", false, volle, {}, 3, {}, {3}, K, false, -1, L, N},
        {"nur eine fremde gefallen", false, volle, {}, 3, {12}, {}, K, false, -1, L, N},
        {"eigene gefallen", false, halbe, {}, 12, {12}, {}, K, true, -1, L, N},
        {"offen: volle gefallen", false, alle, {}, 3, {3}, {}, K, true, volle, L, N},
        {"offen: beide, die halbe zuerst", false, alle, {}, 3, {12, 3}, {}, K, true, halbe, L, N},
        {"offen: Schwarze zuerst", false, alle, {}, 8, {}, {8}, Partiefoul::falsche_erste, false, -1, L, N},
        {"offen: gefallen mit Foul", false, alle, {}, 3, {3, 0}, {}, Partiefoul::weisse_versenkt, false, -1, L, N},
        {"Schwarze zu früh", false, volle, {}, 3, {3, 8}, {}, K, false, -1, Ausgang::niederlage,
         Niederlage::schwarze_zu_frueh},
        {"Schwarze am offenen Tisch", false, alle, {}, 3, {8}, {}, K, false, -1, Ausgang::niederlage,
         Niederlage::schwarze_zu_frueh},
        {"letzte eigene und Schwarze zugleich", false, volle, {1, 2, 3, 4, 5, 6}, 7, {7, 8}, {}, K, false, -1,
         Ausgang::niederlage, Niederlage::schwarze_zu_frueh},
        {"Schwarze zur rechten Zeit", false, volle, kVolleWeg, 8, {8}, {}, K, false, -1, Ausgang::sieg, N},
        {"Schwarze zur rechten Zeit, Weiße hinterher", false, volle, kVolleWeg, 8, {8, 0}, {},
         Partiefoul::weisse_versenkt, false, -1, Ausgang::niederlage, Niederlage::schwarze_mit_foul},
        {"Schwarze über eine fremde", false, volle, kVolleWeg, 12, {8}, {}, Partiefoul::falsche_erste, false, -1,
         Ausgang::niederlage, Niederlage::schwarze_mit_foul},
        {"Anstoß mit Kugel", true, alle, {}, 1, {5}, {}, K, true, -1, L, N},
        {"Anstoß, vier an der Bande", true, alle, {}, 1, {}, {2, 3, 4, 5}, K, false, -1, L, N},
        {"Anstoß, drei an der Bande", true, alle, {}, 1, {}, {2, 3, 4}, Partiefoul::anstoss_ungueltig, false, -1, L, N},
        {"Anstoß, Weiße fällt", true, alle, {}, 1, {5, 0}, {}, Partiefoul::weisse_versenkt, false, -1, L, N},
        {"Anstoß ungültig, Weiße fällt", true, alle, {}, 1, {0}, {2}, Partiefoul::weisse_versenkt, false, -1, L, N},
        {"Anstoß, Schwarze fällt", true, alle, {}, 1, {8}, {}, K, true, -1, L, N},
        {"Anstoß ohne Berührung", true, alle, {}, -1, {}, {}, Partiefoul::keine_beruehrung, false, -1, L, N},
    };
    for (const Fall& f : faelle) {
        const Spruch s = Beurteile(f.anstoss, Vorher(f.gruppe, f.weg), Ergebnis(f.erste, f.fallen, f.banden));
        EXPECT_EQ(s.foul, f.foul) << f.name;
        EXPECT_EQ(s.weiter, f.weiter) << f.name;
        EXPECT_EQ(s.neueGruppe, f.neueGruppe) << f.name;
        EXPECT_EQ(s.ausgang, f.ausgang) << f.name;
        EXPECT_EQ(s.niederlage, f.niederlage) << f.name;
        // Nur eine Schwarze vom Anstoß kommt zurück, und nie endet damit die Partie;
        // ein ungültiger Anstoß baut das Gestell neu auf.
        EXPECT_EQ(s.schwarzeZurueck, f.anstoss && std::count(f.fallen.begin(), f.fallen.end(), 8) == 1) << f.name;
        EXPECT_EQ(s.neuAufbauen, f.anstoss && (f.fallen.empty() || f.fallen == std::vector<int>{0}) && f.banden.size() < 4)
            << f.name;
    }
}

TEST(Gestell, EngesDreieckAmFusspunktWieDerSpielerEsLiest) {
    const Punkt fuss = Fusspunkt(tk.tisch);
    const double d = 2 * tk.tisch.radius + kGestellLuft;
    for (std::uint32_t nr = 1; nr <= 20; ++nr) {
        const Zufallstisch g = LegeGestell(tk.tisch, 3, nr);
        EXPECT_EQ(g.player, alle);
        // Durch das Dokument: so liegt es beim Spieler und beim Schiedsrichter.
        Spielstand s;
        ASSERT_TRUE(LeseSpielstandXML(tk, SchreibeAnfrage(tk.tisch, g, nr, "127.0.0.1", 2223), s));
        int nachbarn = 0;
        for (int i = 0; i < kAnzahlKugeln; ++i) {
            ASSERT_EQ(s.kugeln[i].inloch, 0);
            for (int j = i + 1; j < kAnzahlKugeln; ++j) {
                const double a = std::hypot(s.kugeln[i].x - s.kugeln[j].x, s.kugeln[i].y - s.kugeln[j].y);
                EXPECT_GT(a, 2 * tk.tisch.radius) << "Gestell " << nr << ": " << i << " und " << j << " überlappen";
                nachbarn += a < d + 1e-3;
            }
        }
        EXPECT_EQ(nachbarn, 30);  // die Kanten eines dichten Dreiecks aus fünf Reihen
        // Die Spitze auf dem Fußpunkt, die Schwarze in der Mitte der dritten Reihe.
        const Kugel& schwarze = s.kugeln[8];
        EXPECT_NEAR(schwarze.x, fuss.x + 2 * d * std::numbers::sqrt3 / 2, 1e-3);
        EXPECT_NEAR(schwarze.y, fuss.y, 1e-3);
        int spitze = 0, ecken[2] = {0, 0};
        for (int i = 1; i < kAnzahlKugeln; ++i) {
            const Kugel& k = s.kugeln[i];
            spitze += std::hypot(k.x - fuss.x, k.y - fuss.y) < 1e-3;
            if (std::abs(k.x - (fuss.x + 4 * d * std::numbers::sqrt3 / 2)) < 1e-3 && std::abs(std::abs(k.y - fuss.y) - 2 * d) < 1e-3)
                ++ecken[i < 8 ? 0 : 1];
        }
        EXPECT_EQ(spitze, 1);
        EXPECT_EQ(ecken[0], 1) << "eine volle in einer hinteren Ecke";
        EXPECT_EQ(ecken[1], 1) << "eine halbe in der anderen";
        // Die Weiße auf der Kopflinie, in der mittleren Hälfte der Breite.
        EXPECT_NEAR(s.kugeln[0].x, Kopflinie(tk.tisch), 1e-3);
        EXPECT_LE(std::abs(s.kugeln[0].y - tk.tisch.hoehe / 2), (tk.tisch.hoehe - 2 * tk.tisch.bande_y) / 4 + 1e-3);
    }
    const Zufallstisch a = LegeGestell(tk.tisch, 3, 5), b = LegeGestell(tk.tisch, 3, 5), c = LegeGestell(tk.tisch, 3, 6);
    EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0);
    EXPECT_NE(std::memcmp(&a, &c, sizeof a), 0);
}

TEST(Gestell, SchwarzeVomAnstossAufDenFusspunktOderDaneben) {
    const Punkt fuss = Fusspunkt(tk.tisch);
    for (const bool besetzt : {false, true}) {
        Zufallstisch lage{};
        for (Tischkugel& k : lage.kugeln) k = {0, 0, 3, 0};
        lage.kugeln[0] = {50, 20, -1, 0};
        lage.kugeln[8] = {60, 20, -1, 0};
        lage.kugeln[5] = {70, 40, -1, 0};
        Simergebnis e = Ergebnis(5, {8}, {});
        for (int i = 0; i < kAnzahlKugeln; ++i) e.lage[i] = {lage.kugeln[i].x, lage.kugeln[i].y};
        if (besetzt) e.lage[5] = {fuss.x, fuss.y};
        Spruch s;
        s.schwarzeZurueck = true;
        FuehreLageNach(tk, lage, e, s, alle);
        EXPECT_EQ(lage.kugeln[8].bagcount, -1);
        EXPECT_GT(Abstand(lage.kugeln[8], lage.kugeln[5]), 2 * tk.tisch.radius + kSicherheitsabstand);
        // Auf dem Punkt, oder so nah daneben, wie der Abstand zur Kugel darauf erlaubt.
        const float weg = std::hypot(lage.kugeln[8].x - fuss.x, lage.kugeln[8].y - fuss.y);
        EXPECT_LT(weg, besetzt ? 2 * tk.tisch.radius + kSicherheitsabstand + 0.06f : 1e-4f) << besetzt;
        EXPECT_EQ(lage.kugeln[0].x, 50.0f) << "ohne Foul bleibt die Weiße liegen";
    }
}

TEST(BallInDerHand, HinterDieKugelMitDemKuerzestenFreienLochstoss) {
    const Tischgeometrie g = BaueTischgeometrie(tk);
    const Tischkugel k3{20, 20, -1, 0};
    // Die Stelle hinter k3 für Tasche 0 (unten links): die Maulmitte ist die nächste.
    const V2 m0 = (g.maeuler[0].a + g.maeuler[0].b) * 0.5;
    const double l0 = std::hypot(m0.x - k3.x, m0.y - k3.y);
    const Tischkugel hinter{static_cast<float>(k3.x - kAnlauf * (m0.x - k3.x) / l0),
                            static_cast<float>(k3.y - kAnlauf * (m0.y - k3.y) / l0), -1, 0};
    const Tischkugel mitteAufDemWeg{static_cast<float>((k3.x + m0.x) / 2), static_cast<float>((k3.y + m0.y) / 2), -1, 0};
    struct Fall {
        const char* name;
        std::int32_t gruppe;
        std::vector<std::pair<int, Tischkugel>> kugeln;
        int hinter;          // hinter diese Kugel, −1: auf den Kopfpunkt
        bool tasche0;        // für Tasche 0 (die Stelle hinter)
    };
    std::vector<std::pair<int, Tischkugel>> umringt = {{3, {50, 30, -1, 0}}};
    for (int n = 0; n < 6; ++n) {
        const double w = n * std::numbers::pi / 3, a = 2 * tk.tisch.radius + 0.1;
        umringt.push_back({9 + n, {static_cast<float>(50 + a * std::cos(w)), static_cast<float>(30 + a * std::sin(w)), -1, 0}});
    }
    const Fall faelle[] = {
        {"eine eigene Kugel, nächste Tasche", volle, {{3, k3}}, 3, true},
        {"Weg der Kugel verstellt", volle, {{3, k3}, {12, mitteAufDemWeg}}, 3, false},
        {"Platz der Weißen belegt", volle, {{3, k3}, {12, hinter}}, 3, false},
        {"offener Tisch: auch die halben", alle, {{12, k3}, {3, {60, 30, -1, 0}}}, 12, true},
        {"fremde Kugel näher an der Tasche", halbe, {{3, k3}, {12, {60, 30, -1, 0}}}, 12, false},
        {"Gruppe geräumt: die Schwarze", volle, {{8, k3}, {12, {60, 30, -1, 0}}}, 8, true},
        {"kein Lochstoß frei: gerade auf die Kugel", volle, {{3, {101, 27.75f, -1, 0}}}, 3, false},
        {"keine Kugel frei: Kopfpunkt", volle, umringt, -1, false},
    };
    for (const Fall& f : faelle) {
        Zufallstisch lage{};
        for (Tischkugel& k : lage.kugeln) k = {0, 0, 3, 0};
        lage.kugeln[0] = {90, 40, 2, 0};  // versenkt
        if (std::none_of(f.kugeln.begin(), f.kugeln.end(), [](const auto& k) { return k.first == 8; }))
            lage.kugeln[8] = {95, 15, -1, 0};
        for (const auto& [i, k] : f.kugeln) lage.kugeln[i] = k;
        LegeWeisseHin(tk, lage, f.gruppe);
        const Tischkugel& w = lage.kugeln[0];
        EXPECT_EQ(w.bagcount, -1) << f.name;
        for (int i = 1; i < kAnzahlKugeln; ++i) {
            if (lage.kugeln[i].bagcount != -1) continue;
            EXPECT_GT(Abstand(w, lage.kugeln[i]), 2 * tk.tisch.radius) << f.name;
        }
        if (f.hinter < 0) {
            EXPECT_LT(std::hypot(w.x - Kopfpunkt(tk.tisch).x, w.y - Kopfpunkt(tk.tisch).y), 1e-4) << f.name;
            continue;
        }
        EXPECT_NEAR(Abstand(w, lage.kugeln[f.hinter]), kAnlauf, 1e-3) << f.name;
        EXPECT_EQ(Abstand(w, hinter) < 1e-3f, f.tasche0) << f.name;
    }
}

TEST(Partie, RemisNach200StoessenOhneEntscheidung) {
    // Beide Spieler stoßen ins Leere: ein ungültiger Anstoß nach dem anderen,
    // jedes Mal auf das neu aufgebaute Gestell, abwechselnd.
    const Spielumgebung u = Umgebung(Modell::P, 0.0);
    const Planer leer = [&](const Zufallstisch& lage, std::uint32_t cmdid) {
        Planerantwort a;
        a.gut = LeseSpielstandXML(tk, SchreibeAnfrage(u.tk.tisch, lage, cmdid, "127.0.0.1", 2223), a.gelesen);
        a.x = a.y = "0.0000";
        return a;
    };
    const Planer spieler[2] = {leer, leer};
    const Partie p = SpielePartie(u, 2, spieler);
    ASSERT_EQ(p.stoesse.size(), 200u);
    EXPECT_EQ(p.sieger, -1);
    EXPECT_EQ(p.anstoesser, 1);  // gerade Partie: B stößt an
    for (const Partiestoss& s : p.stoesse) {
        EXPECT_EQ(s.schuetze, s.stoss % 2) << s.stoss;
        EXPECT_EQ(s.spruch.foul, Partiefoul::keine_beruehrung);
        EXPECT_TRUE(s.anstoss);
        EXPECT_FALSE(s.ballInHand);
        EXPECT_EQ(s.vorher.gruppe, alle);
    }
    Partiebericht b;
    Zaehle(b, p);
    EXPECT_EQ(b.remis, 1);
    EXPECT_EQ(b.stoesseMax, 200);
    EXPECT_EQ(b.spieler[0].fouls[static_cast<int>(Partiefoul::keine_beruehrung)], 100);
    EXPECT_EQ(b.spieler[0].anstoesse, 100);
}

TEST(Zusammenfassen, TeillaeufeGebenGenauDenGanzenLauf) {
    TempVerzeichnis dir;
    Optionen o;
    o.zufallSaat = 5;
    o.rauschen = 1.0;
    o.json = true;
    o.threads = 2;
    // Je Lauf der JSON-Bericht; die Zeiten schwanken von Lauf zu Lauf.
    auto lauf = [&](auto spiele) {
        std::ostringstream aus, meldungen;
        EXPECT_EQ(spiele(o, aus, meldungen), 0) << meldungen.str();
        return nlohmann::json::parse(aus.str());
    };
    auto zusammen = [](const nlohmann::json& x, const nlohmann::json& y, auto& b) {
        std::remove_reference_t<decltype(b)> teil;
        std::string fehler;
        EXPECT_TRUE(AusJson(x, b, fehler)) << fehler;
        EXPECT_TRUE(AusJson(y, teil, fehler)) << fehler;
        EXPECT_TRUE(LegeZusammen(b, teil, fehler)) << fehler;
        EXPECT_FALSE(LegeZusammen(b, teil, fehler)) << "derselbe Teil zweimal";
        return nlohmann::json::parse(AlsJson(b).dump());
    };

    // Aufnahmen: Tische 1–100 und 101–200 gegen 1–200.
    const auto aufnahmen = [](const Optionen& x, std::ostream& a, std::ostream& m) { return SpieleAufnahmen(x, a, m, {}); };
    o.spielen = o.lokal = true;
    o.anzahl = 100;
    const nlohmann::json a1 = lauf(aufnahmen);
    o.ab = 101;
    const nlohmann::json a2 = lauf(aufnahmen);
    o.ab = 1;
    o.anzahl = 200;
    const nlohmann::json ganz = lauf(aufnahmen);
    Spielbericht sb;
    EXPECT_EQ(OhneZeiten(zusammen(a2, a1, sb)), OhneZeiten(ganz));
    EXPECT_GT(ganz["stoesse"].get<int>(), 200);

    // Partien: Gestelle 1–4 und 5–8 gegen 1–8, im Modell P. Der vorgegebene
    // Planer stößt mit vend = 10 so hart, dass er manchmal gültig anstößt und
    // Partien enden.
    const auto partien = [](const Optionen& x, std::ostream& a, std::ostream& m) { return SpielePartienAus(x, a, m, {}); };
    o.spielen = o.lokal = false;
    o.anzahl = 0;
    o.modell = Modell::P;
    o.spielerA = o.spielerB = dir.Schreibe("hart.ini", "[physik]\nvend=1000\n");
    o.partien = 8;
    const nlohmann::json p1 = lauf(partien);
    o.ab = 5;
    const nlohmann::json p2 = lauf(partien);
    o.ab = 1;
    o.partien = 16;
    const nlohmann::json pganz = lauf(partien);
    Partiebericht pb;
    EXPECT_EQ(OhneZeiten(zusammen(p1, p2, pb)), OhneZeiten(pganz));
    EXPECT_EQ(pganz["gestelle"], nlohmann::json::parse("[[1, 8]]"));
    EXPECT_EQ(pganz["partien"], 16);
    // Derselbe Spieler auf beiden Seiten, jedes Gestell in beiden Reihenfolgen
    // unter denselben Störungen: A und B spielen genau dieselben Partien.
    EXPECT_EQ(pganz["siege_a"], pganz["siege_b"]);
    EXPECT_EQ(pganz["stoesse"]["a"], pganz["stoesse"]["b"]);
    EXPECT_EQ(pganz["fehler"]["a"], pganz["fehler"]["b"]);
    EXPECT_GT(pganz["siege_a"].get<int>(), 0);
    for (const char* k : {"partien", "siege_a", "siege_b", "remis", "quote_a", "quote_a_95", "anstoss", "fehler",
                          "sicherheiten", "zeit_ms"})
        EXPECT_TRUE(pganz.contains(k)) << k;
    for (const char* k : {"stoesse", "legal", "versenkt", "weisse_versenkt"}) EXPECT_TRUE(pganz["anstoss"]["a"].contains(k)) << k;
    EXPECT_TRUE(pganz["zeit_ms"]["b"]["median"].is_number());

    // Andere Läufe passen nicht dazu.
    nlohmann::json fremd = p2;
    fremd["lauf"]["saat"] = 6;
    std::string fehler;
    Partiebericht x, y;
    ASSERT_TRUE(AusJson(p1, x, fehler));
    ASSERT_TRUE(AusJson(fremd, y, fehler));
    EXPECT_FALSE(LegeZusammen(x, y, fehler));
    EXPECT_FALSE(AusJson(a1, x, fehler)) << "ein Bericht über Aufnahmen ist keiner über Partien";
    fremd.erase("siege_a");
    EXPECT_FALSE(AusJson(fremd, x, fehler));
    EXPECT_NE(fehler.find("siege_a"), std::string::npos) << fehler;
}

TEST(Spieltisch, SpeichertBeobachtetUndSpieltInEinerFremdenWelt) {
    TempVerzeichnis dir;
    const std::string welt = dir.Schreibe("welt.ini", "[simulation]\ngleitreibung=20\nbande_normal=60\n");
    Optionen o;
    o.spielen = o.lokal = true;
    o.zufallSaat = 4;
    o.anzahl = 12;
    o.rauschen = 1.0;
    o.json = true;
    o.protokollDatei = (dir.pfad / "p.jsonl").string();
    o.beobachtungen = (dir.pfad / "b.jsonl").string();
    o.speicherVerzeichnis = (dir.pfad / "ablage").string();
    auto lauf = [&] {
        std::ostringstream aus, meldungen;
        const int r = SpieleAufnahmen(o, aus, meldungen, {});
        return std::pair(r, meldungen.str());
    };
    ASSERT_EQ(lauf().first, 0);
    const std::vector<std::string> protokoll = Zeilen(o.protokollDatei), beobachtet = Zeilen(o.beobachtungen);
    ASSERT_EQ(beobachtet.size(), protokoll.size());
    // --speichere: jedes gesendete Dokument, unter seiner cmdid.
    std::size_t dokumente = 0;
    for (const auto& d : std::filesystem::directory_iterator(o.speicherVerzeichnis)) {
        std::ifstream f(d.path());
        std::stringstream text;
        text << f.rdbuf();
        Spielstand s;
        EXPECT_TRUE(LeseSpielstandXML(tk, text.str(), s));
        EXPECT_EQ(Ablagename(static_cast<std::uint32_t>(LeseCmdId(text.str()))), d.path().filename().string());
        ++dokumente;
    }
    EXPECT_EQ(dokumente, protokoll.size());
    // Eine Beobachtung je Stoß: der Stand vorher und der Stoß der Antwort, vor dem Rauschen.
    for (std::size_t i = 0; i < protokoll.size(); ++i) {
        const nlohmann::json p = nlohmann::json::parse(protokoll[i]), b = nlohmann::json::parse(beobachtet[i]);
        for (int k = 0; k < kAnzahlKugeln; ++k)
            for (int c = 0; c < 3; ++c) EXPECT_EQ(b["vorher"][k][c].get<float>(), p["kugeln"][k][c].get<float>());
        EXPECT_EQ(b["gruppe"], p["gruppe"]);
        EXPECT_NEAR(b["stoss"][0].get<double>(), p["antwort"][0].get<double>(), 1e-6);
        EXPECT_NEAR(b["stoss"][1].get<double>(), p["antwort"][1].get<double>(), 1e-6);
        ASSERT_EQ(b["nachher"].size(), 16u);
        for (int k : p["versenkt"]) EXPECT_EQ(b["nachher"][k][2], 1);
    }
    // Beobachtungen werden angehängt.
    ASSERT_EQ(lauf().first, 0);
    EXPECT_EQ(Zeilen(o.beobachtungen).size(), 2 * protokoll.size());

    // --welt: der Schiedsrichter spielt in der fremden Welt, der Spieler plant
    // wie zuvor: dieselbe erste Antwort je Tisch, andere Ausgänge.
    o.welt = welt;
    ASSERT_EQ(lauf().first, 0);
    const std::vector<std::string> fremd = Zeilen(o.protokollDatei);
    int gleicheErste = 0, andereEnden = 0, tische = 0;
    for (const std::string& z : fremd) {
        const nlohmann::json f = nlohmann::json::parse(z);
        if (f["stoss"] != 1) continue;
        for (const std::string& y : protokoll) {
            const nlohmann::json p = nlohmann::json::parse(y);
            if (p["tisch"] != f["tisch"] || p["stoss"] != 1) continue;
            ++tische;
            gleicheErste += p["antwort"] == f["antwort"];
            andereEnden += p["versenkt"] != f["versenkt"] || p["erste_beruehrung"] != f["erste_beruehrung"];
        }
    }
    EXPECT_EQ(tische, 12);
    EXPECT_EQ(gleicheErste, 12);
    EXPECT_GT(andereEnden, 0);

    // Was nicht geht, sagt der Lauf, bevor er spielt.
    o.welt = (dir.pfad / "fehlt.ini").string();
    const auto [r, meldung] = lauf();
    EXPECT_EQ(r, 2);
    EXPECT_NE(meldung.find("fehlt.ini"), std::string::npos) << meldung;
    o.welt.clear();
    o.speicherVerzeichnis = dir.Schreibe("datei", "");  // eine Datei, kein Verzeichnis
    EXPECT_EQ(lauf().first, 2);
}

// Ein Spieler im Prozess plant auf dem Tisch seiner eigenen config.ini, wie
// ein Spieler mit dieser Datei am echten Tisch: mit 80° Winkeltoleranz geht
// ein Schnitt von 30° nicht mehr direkt, mit der Vorgabe schon.
TEST(Spieler, PlantAufDemTischSeinerKonfiguration) {
    TempVerzeichnis dir;
    Spielstand s = LeererStand(30.0f, 20.0f, halbe);
    const Vektor geist = Anspielpunkt({60.0f, 20.0f, 0}, tk.taschenpunkte[13], tk.tisch.radius);
    SetzeKugel(s, 9, 60.0f, 20.0f);
    s.kugeln[0].x = geist.x - 20.0f * std::cos(0.5236f);
    s.kugeln[0].y = geist.y + 2.0f;
    const struct {
        const char* config;
        bool direkt;
    } faelle[] = {{"", true}, {"[toleranz]\ntol_winkel=8000\n", false}};
    for (const auto& f : faelle) {
        LokalerPlaner p;
        ASSERT_TRUE(LadePlaner(dir.Schreibe("config.ini", f.config), Wahl::vorgegeben, true, p));
        EXPECT_EQ(PlaneLokal(p, s).bericht.bester.art == WeisseKugelLoch, f.direkt) << f.config;
    }
}
