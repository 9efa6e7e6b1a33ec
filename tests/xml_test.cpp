#include <gtest/gtest.h>

#include <cstdio>
#include <iterator>
#include <random>
#include <vector>

#include <pugixml.hpp>

#include "anzeige/anzeige.h"
#include "hilfen.h"
#include "model/serverkoordinaten.h"
#include "net/xml_lesen.h"
#include "net/xml_schreiben.h"

namespace {

constexpr auto npos = std::string::npos;
const std::string kKopf = "<player>1</player><ipv4>10.0.0.7</ipv4><port>4711</port>";

std::string Ball(const std::string& sx, const std::string& sy, const std::string& tasche = "-1",
                 const std::string& ziel = "0") {
    return "<ball><x-position>" + sx + "</x-position><y-position>" + sy + "</y-position><bagcount>" +
           tasche + "</bagcount><target>" + ziel + "</target></ball>\n";
}

// Die gegebenen Kugeln, aufgefüllt bis anzahl mit Kugeln in der Tischmitte.
std::string Dokument(std::vector<std::string> kugeln = {}, std::size_t anzahl = 16,
                     const std::string& kopf = kKopf) {
    kugeln.resize(std::max(anzahl, kugeln.size()), Ball("0", "0"));
    std::string d = "<tablestate cmdid=\"42\">" + kopf + "\n";
    for (const std::string& k : kugeln) d += k;
    return d + "</tablestate>\n";
}

// Mit einem echten XML-Parser: als Fragment gelesen, damit Text oder eine
// zweite Wurzel neben der ersten auffällt; genau ein Element auf oberster Ebene.
bool Wohlgeformt(const std::string& dokument) {
    // pugixml hielte "<?xmlversion=…?>" für eine Verarbeitungsanweisung; Namen
    // mit xml am Anfang sind aber vorbehalten.
    const std::size_t pi = dokument.find("<?xml");
    if (pi != npos && (pi + 5 >= dokument.size() || dokument[pi + 5] != ' ')) return false;
    pugi::xml_document d;
    const auto optionen = pugi::parse_default | pugi::parse_declaration | pugi::parse_fragment;
    if (!d.load_buffer(dokument.data(), dokument.size(), optionen)) return false;
    int elemente = 0;
    for (pugi::xml_node k : d.children()) {
        if (k.type() == pugi::node_element) ++elemente;
        else if (k.type() == pugi::node_pcdata || k.type() == pugi::node_cdata) return false;
    }
    return elemente == 1;
}

class XmlLesen : public ::testing::Test {
protected:
    const Tischkontext& tk = Vorgabetisch();
};

}  // namespace

TEST_F(XmlLesen, SechzehnBallTagsOhneAttribute) {
    std::vector<std::string> k(15, Ball("0", "0"));
    k.push_back(Ball("0.25", "0"));
    k.push_back(Ball("-0.25", "0"));  // die siebzehnte zählt nicht
    Spielstand s{};
    ASSERT_TRUE(LeseSpielstandXML(tk, Dokument(k), s, false));
    EXPECT_FLOAT_EQ(s.kugeln[15].y, 41.625f);
    EXPECT_EQ(s.gruppe, 1);

    s.gruppe = 7;
    EXPECT_FALSE(LeseSpielstandXML(tk, Dokument({}, 15), s, false));
    EXPECT_EQ(s.gruppe, 7);  // ein fehlerhaftes Dokument hinterlässt nichts
    for (const char* falsch : {"<ball id=\"4\">", "<ball >", "<Ball>"}) {
        std::string d = Dokument();
        d.replace(d.rfind("<ball>"), 6, falsch);
        EXPECT_FALSE(LeseSpielstandXML(tk, d, s, false)) << falsch;  // nur 15 öffnende Tags
    }
    // Vorn verschiebt eine Attributkugel nur die öffnenden Tags: jedes
    // schließende liegt dann vor seinem öffnenden.
    std::string d = Dokument({}, 17);
    d.replace(d.find("<ball>"), 6, "<ball id=\"0\">");
    EXPECT_FALSE(LeseSpielstandXML(tk, d, s, false));
}

TEST_F(XmlLesen, TagsWerdenUnabhaengigGezaehlt) {
    EXPECT_EQ(LeseTag("a", 1, "<a>1<a>2</a>3</a>").value_or("?"), "1<a>2");
    EXPECT_EQ(LeseTag("a", 2, "<a>1<a>2</a>3</a>").value_or("?"), "2</a>3");
    EXPECT_EQ(LeseTag("a", 1, "<a></a>").value_or("?"), "");
    EXPECT_EQ(LeseTag("a", 1, std::string("\0<a>x\0y</a>", 11)).value_or("?"), std::string("x\0y", 3));
    EXPECT_FALSE(LeseTag("a", 1, "</a><a>x</a>"));
    EXPECT_FALSE(LeseTag("a></a", 1, "<a></a></a>"));  // schließendes überlappt öffnendes
}

TEST_F(XmlLesen, KoordinatenUndKugelinhalte) {
    const float faelle[][4] = {{0, 0, 53.5f, 27.75f}, {-0.5f, 1, 0, 0}, {0.5f, -1, 107, 55.5f}};
    for (const auto& f : faelle) {
        float x = 0, y = 0;
        ServerZuTisch(tk.tisch, f[0], f[1], x, y);
        EXPECT_FLOAT_EQ(x, f[2]);
        EXPECT_FLOAT_EQ(y, f[3]);
    }

    const std::string d =
        Dokument({Ball("0.5", "-1", "-1", "7abc"), Ball("-0.5", "1", "0"), Ball("0", "0", "3"),
                  Ball("0", "0", "keine"), Ball("0", "0", " -1x"), Ball("  0.25abc", "1e-999", "")},
                 16, "<player>2x</player>");
    Spielstand s{};
    ASSERT_TRUE(LeseSpielstandXML(tk, d, s, false));
    const Kugel& k = s.kugeln[0];
    EXPECT_TRUE(k.x == 107.0f && k.y == 55.5f && k.z == 0.0f && k.radius == tk.tisch.radius);
    EXPECT_EQ(k.zieltasche, 7);
    const int inloch[] = {0, 1, 1, 1, 0, 1};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(s.kugeln[i].inloch, inloch[i]) << i;
    EXPECT_TRUE(s.kugeln[5].x == 53.5f && s.kugeln[5].y == 41.625f);
    EXPECT_EQ(s.gruppe, 2);
}

TEST_F(XmlLesen, FehlendeElementeUndUnendlichePositionen) {
    Spielstand s{};
    for (const std::string name : {"x-position", "y-position", "bagcount", "target"}) {
        std::string k = Ball("0", "0");
        const std::size_t a = k.find("<" + name + ">");
        k.erase(a, k.find("</" + name + ">") + name.size() + 3 - a);
        EXPECT_FALSE(LeseSpielstandXML(tk, Dokument({Ball("0", "0"), k}), s, false)) << name;
    }
    EXPECT_FALSE(LeseSpielstandXML(tk, Dokument({}, 16, "<ipv4>1.2.3.4</ipv4>"), s, false));  // ohne player

    // 1e39 passt in double, nicht in float; 3e38 läuft erst bei der Umrechnung über.
    for (const char* wert : {"nan", "inf", "-inf", "1e999", "1e39", "3e38"}) {
        EXPECT_FALSE(LeseSpielstandXML(tk, Dokument({Ball(wert, "0")}), s, false)) << wert;
        EXPECT_FALSE(LeseSpielstandXML(tk, Dokument({Ball("0", wert)}), s, false)) << wert;
    }
}

TEST_F(XmlLesen, CmdIdUndNetzStatus) {
    EXPECT_EQ(LeseCmdId("<t cmdid=\"42\">"), 42);
    EXPECT_EQ(LeseCmdId("<t cmdid=\"\">7"), 0);
    EXPECT_EQ(LeseCmdId("<t cmdid = \"5\">"), 0);
    EXPECT_EQ(LeseCmdId("<t cmdid=\" 17"), 17);  // ohne schließendes Anführungszeichen
    EXPECT_EQ(LeseCmdId("<t cmdid=\"99999999999\">"), INT32_MAX);

    NetzStatus st;
    ASSERT_TRUE(LeseNetzStatusXML(st, Dokument({}, 16, kKopf + "<running>true</running>"), false));
    EXPECT_EQ(st.ipAdresse, "10.0.0.7");
    EXPECT_EQ(st.cmd, 42);
    EXPECT_EQ(st.port, 4711);
    EXPECT_TRUE(st.running);
    for (const char* laeuft :
         {"<running>TRUE</running>", "<running> true</running>", "<running>true </running>", ""}) {
        st.running = true;
        ASSERT_TRUE(LeseNetzStatusXML(st, std::string("<ipv4>a</ipv4><port>1</port>") + laeuft, false));
        EXPECT_FALSE(st.running) << laeuft;
        EXPECT_EQ(st.cmd, 0);
    }
    st = NetzStatus{"vorher", 5, 6, true};
    EXPECT_FALSE(LeseNetzStatusXML(st, "<port>1</port>", false));
    EXPECT_FALSE(LeseNetzStatusXML(st, "<ipv4>a</ipv4><port >1</port>", false));
    EXPECT_EQ(st.ipAdresse, "vorher");
}

TEST_F(XmlLesen, ErfolgloseSucheSchreibtFehler) {
    bool ende = false;
    EXPECT_FALSE(BeginntMit("<bx", "<ball>", ende));
    EXPECT_FALSE(ende);
    testing::internal::CaptureStdout();
    EXPECT_FALSE(BeginntMit("<ba", "<ball>", ende));
    EXPECT_TRUE(ende);
    EXPECT_TRUE(LeseTag("a", 1, "<a>x</a>"));
    EXPECT_FALSE(LeseTag("b", 1, "<a>x</a>"));
    EXPECT_FALSE(LeseTag("a", 2, "<a>x</a><a>"));
    EXPECT_FALSE(LeseTag("a", 1, "</a><a>"));
    EXPECT_EQ(LeseCmdId("ohne"), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "fehler\nfehler\nfehler\nfehler\nfehler\n");
}

TEST_F(XmlLesen, BeispielanfrageErgibtGrundaufstellung) {
    std::ifstream datei(VerzeichnisDesProgramms() + "beispiel-anfrage.xml", std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(datei), {}};
    EXPECT_TRUE(Wohlgeformt(text));
    Spielstand s{};
    ASSERT_TRUE(LeseSpielstandXML(tk, text, s));
    for (int i = 0; i < kAnzahlKugeln; ++i) {
        EXPECT_NEAR(s.kugeln[i].x, tk.tisch.kugeln[i].x, 1e-3) << i;
        EXPECT_NEAR(s.kugeln[i].y, tk.tisch.kugeln[i].y, 1e-3) << i;
        EXPECT_EQ(s.kugeln[i].inloch, 0);
        EXPECT_EQ(s.kugeln[i].zieltasche, 0);
    }
    EXPECT_EQ(s.gruppe, halbe);
    NetzStatus st;
    EXPECT_TRUE(LeseNetzStatusXML(st, text) && st.ipAdresse == "127.0.0.1" && st.cmd != 0 && st.running);
}

namespace {

class XmlSchreiben : public ::testing::Test {
protected:
    TempVerzeichnis dir;
    const std::string verzeichnis = dir.pfad.string() + "/";
    Aufzeichnung aufzeichnung;
    const Anzeige anzeige = AufzeichnendeAnzeige(aufzeichnung);
    NetzStatus status{"192.168.1.5", 42, 2222, true};
};

}  // namespace

TEST_F(XmlSchreiben, StatusOhneLeerzeichenUndNurErstesVorkommen) {
    dir.Schreibe("ki-status.xml",
                 "<status>\r\n\t<ipv4 >##IP-ADRESSE##</ipv4> <port>##PORT##</port>\n"
                 "<running>##RUN##</running><c>##CMD##</c><p>##PORT##</p></status>\n");
    status.running = false;
    EXPECT_EQ(ErzeugeStatusXML(anzeige, verzeichnis, status).value_or("?"),
              "<status><ipv4>192.168.1.5</ipv4><port>2222</port>"
              "<running>false</running><c>##CMD##</c><p>##PORT##</p></status>");
    EXPECT_EQ(ErsetzePlatzhalter("##RUN##", "true", "ohne Platzhalter"), "ohne Platzhalter");
}

TEST_F(XmlSchreiben, ErgebnisBehaeltZeilenUndLeerzeichen) {
    dir.Schreibe("ki-result.xml",
                 "<r cmdid=\"##CMD##\">\r\n  <x>##X-POS##</x>\t<y>##Y-POS##</y>\r\r\n"
                 " <ip>##IP-ADRESSE##</ip><p>##PORT##</p><run>##RUN##</run></r>\r");
    EXPECT_EQ(ErzeugeErgebnisXML(anzeige, verzeichnis, {-0.5f, 12.3456789f, 9.0f}, status).value_or("?"),
              "<r cmdid=\"42\">\n  <x>-0.5000</x>\t<y>12.3457</y>\r\n"
              " <ip>192.168.1.5</ip><p>2222</p><run>true</run></r>\r");

    // Dasselbe wie printf("%3.4f") in der C-Locale.
    dir.Schreibe("ki-result.xml", "##X-POS##");
    for (float x : {-0.0f, 0.00005f, 3.4e38f}) {
        char erwartet[64];
        std::snprintf(erwartet, sizeof erwartet, "%3.4f", static_cast<double>(x));
        EXPECT_EQ(ErzeugeErgebnisXML(anzeige, verzeichnis, {x, 0, 0}, status).value_or("?"), erwartet);
    }
}

TEST_F(XmlSchreiben, FehlendeMusterdateiWirdGemeldet) {
    EXPECT_FALSE(ErzeugeStatusXML(anzeige, verzeichnis, status));
    std::filesystem::create_directory(dir.pfad / "ki-result.xml");  // öffnen geht, lesen nicht
    EXPECT_FALSE(ErzeugeErgebnisXML(anzeige, verzeichnis, {1, 2, 0}, status));
    ASSERT_EQ(aufzeichnung.meldungen.size(), 2u);
    EXPECT_EQ(aufzeichnung.meldungen[0], "Fehler: Die Status-XML-Musterdatei konnte nicht geöffnet werden");
    EXPECT_EQ(aufzeichnung.meldungen[1],
              "Fehler: Die Ergebnis-XML-Musterdatei konnte nicht geöffnet werden");
}

TEST_F(XmlSchreiben, MitgelieferteMusterErgebenWohlgeformteDokumente) {
    // Ohne Leerzeichen wäre eine Deklaration kaputt: darum hat das Statusmuster keine.
    EXPECT_FALSE(Wohlgeformt("<?xmlversion=\"1.0\"?><status></status>"));
    EXPECT_FALSE(Wohlgeformt("<a><b></a></b>"));

    const std::string daneben = VerzeichnisDesProgramms();  // die Kopien neben dem Testprogramm
    for (const auto& dokument : {ErzeugeStatusXML(anzeige, daneben, status),
                                 ErzeugeErgebnisXML(anzeige, daneben, {-0.5f, 1.25f, 0}, status)}) {
        ASSERT_TRUE(dokument);
        EXPECT_TRUE(Wohlgeformt(*dokument)) << *dokument;
        EXPECT_EQ(dokument->find("##"), npos);
        NetzStatus zurueck;
        ASSERT_TRUE(LeseNetzStatusXML(zurueck, *dokument));
        EXPECT_TRUE(zurueck.ipAdresse == status.ipAdresse && zurueck.port == 2222 && zurueck.running);
    }
    const auto erg = ErzeugeErgebnisXML(anzeige, daneben, {-0.5f, 1.25f, 0}, status);
    EXPECT_EQ(LeseCmdId(erg.value_or("")), 42);
    EXPECT_TRUE(erg && erg->find(">-0.5000<") != npos && erg->find(">1.2500<") != npos);
    EXPECT_TRUE(aufzeichnung.meldungen.empty());
}

// Eine Umrechnung für beide Seiten: was der Ersatzserver als Lage beim Spieler
// erwartet (RundeWieDokument), liest der Spieler aus dem Dokument bitgenau, und
// hin und zurück bleibt jede Lage bis auf die sechs Stellen des Dokuments.
TEST(Serverkoordinaten, HinUndZurueckWieDasDokument) {
    const Tischkontext& tk = Vorgabetisch();
    std::mt19937 zufall(5);
    std::uniform_real_distribution<float> x(0.0f, tk.tisch.breite), y(0.0f, tk.tisch.hoehe);
    int abweichend = 0;
    for (int n = 0; n < 2000; ++n) {
        Zufallstisch lage{};
        for (Tischkugel& k : lage.kugeln) k = {x(zufall), y(zufall), -1, 0};
        Spielstand gelesen{};
        ASSERT_TRUE(LeseSpielstandXML(tk, SchreibeAnfrage(tk.tisch, lage, 1, "127.0.0.1", 1), gelesen, false));
        for (int i = 0; i < kAnzahlKugeln; ++i) {
            float rx = lage.kugeln[i].x, ry = lage.kugeln[i].y;
            RundeWieDokument(tk.tisch, rx, ry);
            abweichend += rx != gelesen.kugeln[i].x || ry != gelesen.kugeln[i].y;
            EXPECT_NEAR(gelesen.kugeln[i].x, lage.kugeln[i].x, 1e-4f);
            EXPECT_NEAR(gelesen.kugeln[i].y, lage.kugeln[i].y, 1e-4f);
        }
    }
    EXPECT_EQ(abweichend, 0);
}
