// stosswerk-sim: spielt einen Stoß auf dem simulierten Tisch und berichtet,
// was geschieht (deutsch oder als JSON-Objekt), auf Wunsch auch als Bild.
#include <QGuiApplication>
#include <QImage>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <limits>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "anzeige/anzeige.h"
#include "aufruf.h"
#include "fenster/qtstart.h"
#include "fenster/tischbild.h"
#include "model/konfiguration.h"
#include "model/tisch.h"
#include "planner/robuste_suche.h"
#include "planner/suche.h"
#include "sim/rauschen.h"
#include "sim/simulation.h"
#include "sim/stapel.h"

namespace {

constexpr const char* kHilfe =
    "Aufruf: stosswerk-sim [--config DATEI] [--modell P|R] (--stoss X,Y | --plan)\n"
    "                      [--gruppe N] [--rauschen F --saat S] [--json]\n"
    "                      [--bild DATEI.png] [--help] [--version] [DOKUMENT|-]\n"
    "       stosswerk-sim [--config DATEI] [--modell P|R] [--json] [--bild DATEI.png]\n"
    "                      --protokoll DATEI.jsonl --zeile N\n"
    "       stosswerk-sim [--config DATEI] [--modell P|R] --stapel [DATEI.jsonl|-]\n"
    "\n"
    "Spielt einen Stoß auf dem Tisch aus der Konfiguration und berichtet, was\n"
    "geschieht: die Ereignisse der Reihe nach, die versenkten Kugeln, die erste\n"
    "Kugel, die die Weiße berührt, und die Lagen am Ende. Gespielt wird auf der\n"
    "Grundaufstellung aus der Konfiguration, oder auf den Kugeln und der Gruppe\n"
    "(player) eines Tischstand-Dokuments des Spielservers (- liest es von der\n"
    "Standardeingabe).\n"
    "\n"
    "  --config DATEI    config.ini lesen statt der Datei neben dem Programm;\n"
    "                    [tisch] und [kugeln] geben den Tisch, [physik] und\n"
    "                    [simulation] die Physik\n"
    "  --modell P|R      die Welt, in der der Stoß läuft (Vorgabe R):\n"
    "                    P  die Physik, die der Planer annimmt: jede Kugel rollt\n"
    "                       gleichmäßig gebremst, Kugelstöße ohne Verlust, an der\n"
    "                       Bande gespiegelt mit dem Bandenfaktor k aus [physik];\n"
    "                    R  ein Tuch wie beim Ersatz-Spielserver: die Kugel gleitet\n"
    "                       erst und rollt dann, Kugel- und Bandenstöße verlieren\n"
    "                       Energie ([simulation] in config.ini)\n"
    "  --stoss X,Y       diesen Stoß spielen: die Anfangsgeschwindigkeit der Weißen\n"
    "                    in Tischkoordinaten (x nach rechts, y nach oben), ihr\n"
    "                    Betrag ist die Stärke, wie in der Antwort an den Server;\n"
    "                    z. B. --stoss 0.421,0.912 oder --stoss -1.5,0\n"
    "  --plan            den Stoß spielen, den der Planer wählt (wie stosswerk-plan)\n"
    "                    Genau eines von --stoss und --plan ist nötig.\n"
    "  --protokoll DATEI.jsonl --zeile N\n"
    "                    Zeile N (ab 1) eines Stoßprotokolls von spieltisch --spielen\n"
    "                    nachspielen: die Kugeln und die Gruppe vor dem Stoß und der\n"
    "                    gespielte Stoß (schon mit Rauschen) kommen aus der Zeile;\n"
    "                    Modell und Welt wie beim Lauf, wenn die Zeile sie nennt\n"
    "                    (\"modell\", \"welt\"; --modell, --config ersetzen sie),\n"
    "                    sonst --modell wie beim Lauf von spieltisch (Vorgabe R)\n"
    "  --stapel [DATEI.jsonl|-]\n"
    "                    viele Stöße in einem Lauf (ohne Datei oder mit -: von der\n"
    "                    Standardeingabe): je Zeile ein JSON-Objekt\n"
    "                    {\"kugeln\": [[x, y, inloch] × 16], \"stoss\": [x, y]}\n"
    "                    in Tischeinheiten, die Weiße zuerst, auf Wunsch mit\n"
    "                    \"modell\" (\"P\"/\"R\", sonst --modell), \"rauschen\" und\n"
    "                    \"saat\" (nur zusammen, wie --rauschen und --saat); je Zeile\n"
    "                    ein JSON-Objekt mit den Schlüsseln von --json auf die\n"
    "                    Standardausgabe, in derselben Reihenfolge. Eine fehlerhafte\n"
    "                    Zeile gibt {\"fehler\": \"…\"}, und es geht weiter.\n"
    "  --gruppe N        Kugelgruppe für den Planer: 0 halbe (Vorgabe), 1 volle,\n"
    "                    2 alle; nur ohne Dokument, sonst gilt player\n"
    "  --rauschen F      den Stoß stören wie ein echter Queue, nur beide zusammen:\n"
    "  --saat S          Richtung + N(0, 0.125° · F), Stärke + N(0, 0.075 · F);\n"
    "                    F ≥ 0 (0 genau, 1 das übliche Maß, 2 doppelt so viel),\n"
    "                    S eine ganze Zahl von 0 bis 2^64 − 1 für den Zufalls-\n"
    "                    generator (mt19937_64): gleiche Saat, gleicher Stoß\n"
    "  --json            statt des Berichts genau ein JSON-Objekt ausgeben (unten)\n"
    "  --bild DATEI.png  den Tisch wie im Fenster (828 × 439 Pixel) als PNG:\n"
    "                    die Kugeln am Anfang, gestrichelt der Weg jeder Kugel, die\n"
    "                    sich bewegt, in ihrer Farbe (die Weiße dunkelgrau), am\n"
    "                    Ende ein gepunkteter Kreis, wo sie liegen bleibt, oder ein\n"
    "                    Kreis mit Kreuz, wo sie in eine Tasche fällt.\n"
    "                    Braucht keinen Bildschirm.\n"
    "  --help            diese Hilfe\n"
    "  --version         die Version ausgeben\n"
    "\n"
    "Einheiten: Längen in Tischeinheiten, Geschwindigkeiten in Stärkeeinheiten,\n"
    "Zeiten in Tischeinheiten je Stärkeeinheit. Im Bericht tragen die Taschen die\n"
    "Nummern des Tischbilds (1 links unten, 2 links oben, 3 Mitte unten, 4 Mitte\n"
    "oben, 5 rechts unten, 6 rechts oben), im JSON-Objekt eins weniger (0..5).\n"
    "\n"
    "Das JSON-Objekt hat diese Schlüssel:\n"
    "  modell            \"P\" oder \"R\"\n"
    "  stoss             [x, y], der Stoß, wie er gespielt wurde (nach dem Rauschen)\n"
    "  ereignisse        der Reihe nach, je {t, art, kugeln, tasche}: art ist\n"
    "                    kugel (kugeln [i, j]), bande, backe (schräge Seite einer\n"
    "                    Tasche), ecke (Bandenecke), tasche (mit tasche 0..5),\n"
    "                    rollen (Gleiten wird Rollen) oder halt; sonst kugeln [i]\n"
    "  kugeln            16 × {nr, x, y, inloch 0/1, tasche −1 oder 0..5}: die Lage\n"
    "                    am Ende; eine versenkte Kugel dort, wo sie das Maul kreuzte;\n"
    "                    inloch 1 und tasche −1: schon vor dem Stoß im Loch\n"
    "  erste_beruehrung  die erste Kugel, die die Weiße berührt, −1 ohne\n"
    "  versenkt          je {nr, tasche, t}, in der Reihenfolge der Zeit\n"
    "  ereignisgrenze    true, wenn der Stoß nach 4000 Ereignissen abgebrochen wurde\n"
    "\n"
    "Rückgabewert: 0 bei Erfolg, 1 bei fehlerhafter Eingabe (ein fehlerhaftes Dokument,\n"
    "auch wenn der Planer darauf keinen endlichen Stoß findet; mit --stapel mindestens\n"
    "eine fehlerhafte Zeile; eine Datei, die sich nicht lesen, ein Bild oder eine\n"
    "Ausgabe, die sich nicht schreiben lässt), 2 bei falschem Aufruf.\n";

constexpr const char* kProgramm = "stosswerk-sim";

bool Endlich(Vektor v) { return std::isfinite(v.x) && std::isfinite(v.y); }

// "X,Y" mit zwei endlichen Zahlen (als float, wie der Stoßvektor des Planers).
bool LeseStoss(std::string_view s, Vektor& stoss) {
    const auto komma = s.find(',');
    if (komma == std::string_view::npos) return false;
    double x = 0.0, y = 0.0;
    if (!LeseZahl(s.substr(0, komma), x) || !LeseZahl(s.substr(komma + 1), y)) return false;
    stoss = {static_cast<float>(x), static_cast<float>(y), 0.0f};
    return Endlich(stoss);
}

bool SchreibeBild(const Tischkontext& tk, const std::string& pfad, const Spielstand& start, const Laufwege& wege,
                  const Simergebnis& e, Modell modell) {
    // Ohne Bildschirm (eine gesetzte Wahl gilt); scheitert sie (QT_QPA_PLATFORM=xcb
    // ohne Bildschirm), eine Meldung statt eines Absturzes.
    const auto qt = StarteQt({"stosswerk-sim", "Das Bild kann nicht gezeichnet werden (%s).", 2, true, false});
    Spielstand anfang = start;
    anfang.kugeln[0].inloch = 0;  // gestoßen wird sie in jedem Fall
    const Ansicht a = AnsichtVon(tk.tisch, kFensterBreite, kFensterHoehe);
    QImage bild = Tischbild(tk, a, anfang, {}, &wege, &e);
    {
        QPainter maler(&bild);
        ZeichneWeltname(maler, a, tk.tisch, modell);
    }
    // Stärkste Kompression, wie das Bildschirmfoto des Fensters.
    return bild.save(QString::fromLocal8Bit(pfad.c_str()), "PNG", 0);
}

// Tasche 0..5 des Tischmodells, wie das Tischbild sie beschriftet.
int Beschriftung(int tasche) { return tasche + 1; }

void SchreibeBericht(Modell modell, Vektor geplant, Vektor gespielt, bool verrauscht, const Simergebnis& e,
                     const Spielstand& vorher) {
    std::printf("Modell %s (%s)\n", Modellname(modell),
                modell == Modell::P ? "die Physik des Planers" : "Tuch mit Gleiten und Rollen");
    std::printf("Stoß: x = %.4f, y = %.4f, Stärke %.4f\n", static_cast<double>(gespielt.x),
                static_cast<double>(gespielt.y), std::hypot(static_cast<double>(gespielt.x), static_cast<double>(gespielt.y)));
    if (verrauscht)
        std::printf("      (gestört; ohne Rauschen x = %.4f, y = %.4f)\n", static_cast<double>(geplant.x),
                    static_cast<double>(geplant.y));

    std::printf("\nEreignisse (%d):\n", e.anzahl);
    for (int n = 0; n < e.anzahl; ++n) {
        const Ereignis& r = e.ereignisse[n];
        std::printf("  t = %9.4f  %-7s Kugel %d", r.t, Ereignisname(r.art), r.kugel);
        if (r.art == Ereignisart::kugel) std::printf(" und %d", r.andere);
        if (r.art == Ereignisart::tasche) std::printf(", Tasche %d", Beschriftung(r.tasche));
        std::printf("\n");
    }
    if (e.ereignisgrenze)
        std::printf("  Abgebrochen: mehr als %d Ereignisse (Ereignisgrenze).\n", kMaxEreignisse);

    std::printf("\nVersenkt:");
    bool keine = true;
    for (int n = 0; n < e.anzahl; ++n) {
        const Ereignis& r = e.ereignisse[n];
        if (r.art != Ereignisart::tasche) continue;
        std::printf("%s Kugel %d in Tasche %d (t = %.4f)", keine ? "" : ",", r.kugel, Beschriftung(r.tasche), r.t);
        keine = false;
    }
    std::printf("%s\n", keine ? " keine" : "");
    if (e.ersteBeruehrung >= 0)
        std::printf("Erste Berührung der Weißen: Kugel %d\n", e.ersteBeruehrung);
    else
        std::printf("Erste Berührung der Weißen: keine\n");

    std::printf("\nLagen am Ende:\n");
    for (int i = 0; i < kAnzahlKugeln; ++i) {
        std::printf(i == 0 ? "  weiß: " : "  %4d: ", i);
        if (e.tasche[i] >= 0)
            std::printf("versenkt in Tasche %d\n", Beschriftung(e.tasche[i]));
        else if (e.inloch[i] && vorher.kugeln[i].inloch)
            std::printf("schon im Loch\n");
        else
            std::printf("%7.3f / %6.3f\n", e.lage[i].x, e.lage[i].y);
    }
}

void SchreibeJson(Modell modell, Vektor gespielt, const Simergebnis& e) {
    std::string text;
    ErgebnisAlsJson(text, modell, gespielt, e);
    std::printf("%s\n", text.c_str());
}

// Die Welt, in der spieltisch die Zeile spielte; ältere Protokolle nennen sie nicht.
struct Zeilenwelt {
    std::optional<Modell> modell;
    std::string datei;  // leer: die Vorgaben oder nicht genannt
};

// Zeile n eines Stoßprotokolls von spieltisch: die Kugeln vor dem Stoß, die
// Gruppe, der gespielte Stoß und, wenn genannt, die Welt. false mit deutschem Grund.
bool LeseProtokollzeile(const std::string& pfad, int n, float radius, Spielstand& stand, Vektor& stoss,
                        Zeilenwelt& welt, std::string& fehler) {
    std::ifstream datei(pfad);
    if (!datei) {
        fehler = "Das Protokoll \"" + pfad + "\" kann nicht gelesen werden (" + Grund(errno) + ").";
        return false;
    }
    std::string text;
    for (int i = 0; i < n; ++i) {
        if (!std::getline(datei, text)) {
            fehler = "Das Protokoll \"" + pfad + "\" hat keine Zeile " + std::to_string(n) + ".";
            return false;
        }
    }
    const nlohmann::json z = nlohmann::json::parse(text, nullptr, false);
    const auto zahl = [](const nlohmann::json& j) { return j.is_number() && std::isfinite(j.get<double>()); };
    bool gut = z.is_object() && z.contains("kugeln") && z["kugeln"].is_array() && z["kugeln"].size() == 16 &&
               z.contains("gespielt") && z["gespielt"].is_array() && z["gespielt"].size() == 2 &&
               zahl(z["gespielt"][0]) && zahl(z["gespielt"][1]) && z.contains("gruppe") && z["gruppe"].is_number_integer();
    for (int i = 0; gut && i < kAnzahlKugeln; ++i) {
        const nlohmann::json& k = z["kugeln"][static_cast<std::size_t>(i)];
        gut = k.is_array() && k.size() == 3 && zahl(k[0]) && zahl(k[1]) && k[2].is_number_integer();
    }
    if (!gut) {
        fehler = "Zeile " + std::to_string(n) + " von \"" + pfad +
                 "\" ist keine Zeile eines Stoßprotokolls (kugeln, gruppe, gespielt).";
        return false;
    }
    for (int i = 0; i < kAnzahlKugeln; ++i) {
        const nlohmann::json& k = z["kugeln"][static_cast<std::size_t>(i)];
        Kugel& kugel = stand.kugeln[i];
        kugel.x = k[0].get<float>();
        kugel.y = k[1].get<float>();
        kugel.z = 0.0f;
        kugel.inloch = k[2].get<int>() != 0;
        kugel.zieltasche = 0;  // spieltisch spielt mit jeder Tasche
        kugel.radius = radius;
    }
    stand.gruppe = z["gruppe"].get<std::int32_t>();
    stoss = {z["gespielt"][0].get<float>(), z["gespielt"][1].get<float>(), 0.0f};
    if (z.contains("modell") && (z["modell"] == "P" || z["modell"] == "R"))
        welt.modell = z["modell"] == "P" ? Modell::P : Modell::R;
    if (z.contains("welt") && z["welt"].is_string()) welt.datei = z["welt"].get<std::string>();
    return true;
}

// --stapel: der Tisch aus der Konfiguration, dann Zeile für Zeile.
int Stapellauf(const std::string& config, const std::string& pfad, Modell modell) {
    Spielstand unbenutzt;
    Programmtisch p;
    if (const int r = LadeTischUndStand(kProgramm, config, "", halbe, true, p, unbenutzt)) return r;
    std::ifstream datei;
    if (!pfad.empty() && pfad != "-") {
        datei.open(pfad);
        if (!datei)
            return Eingabefehler(kProgramm, "Die Stapeldatei \"" + pfad + "\" kann nicht gelesen werden (" +
                                                Grund(errno) + ").");
    }
    const Tischgeometrie geometrie = BaueTischgeometrie(p.tisch);
    const Welt welten[2] = {WeltAus(*p.ini, Modell::P), WeltAus(*p.ini, Modell::R)};
    std::ios::sync_with_stdio(false);
    const long fehlerhaft = SpieleStapel(datei.is_open() ? static_cast<std::istream&>(datei) : std::cin, std::cout,
                                         geometrie, welten, modell);
    if (!std::cout.flush())
        return Eingabefehler(kProgramm, "Die Standardausgabe kann nicht geschrieben werden (" + Grund(errno) + ").");
    return fehlerhaft > 0 ? kFehlerhafteEingabe : kGut;
}

}  // namespace

int main(int argc, char** argv) {
    std::string config, bildPfad, protokollPfad;
    int zeile = 0;
    Modell modell = Modell::R;
    Vektor stoss{};
    bool plan = false, json = false, stapel = false;
    std::int32_t gruppe = halbe;
    double rauschen = 0.0;
    std::uint64_t saat = 0;
    std::vector<std::string> dateien;
    Aufruf aufruf{
        .programm = kProgramm,
        .hilfe = kHilfe,
        .optionen = {Text("--config", config, "eine Datei"),
         {"--modell", "P oder R",
          [&](std::string_view w) {
              if (w == "P" || w == "p") modell = Modell::P;
              else if (w == "R" || w == "r") modell = Modell::R;
              else return false;
              return true;
          }},
         {"--stoss", "X,Y mit zwei endlichen Zahlen, z. B. 0.421,0.912",
          [&](std::string_view w) { return LeseStoss(std::string(w), stoss); }},
         Zahlwert<std::int32_t>("--gruppe", gruppe, 0, 2, "0 (halbe), 1 (volle) oder 2 (alle)"),
         Zahlwert<double>("--rauschen", rauschen, 0.0, std::numeric_limits<double>::max(), "eine endliche Zahl ab 0"),
         Zahlwert<std::uint64_t>("--saat", saat, 0, UINT64_MAX, "eine ganze Zahl von 0 bis 18446744073709551615"),
         Text("--bild", bildPfad, "einen Dateinamen"), Text("--protokoll", protokollPfad, "einen Dateinamen"),
         Zahlwert<int>("--zeile", zeile, 1, INT32_MAX, "eine ganze Zahl ab 1"), Schalter("--json", json),
         Schalter("--plan", plan), Schalter("--stapel", stapel)},
        .dateien = &dateien};
    if (const int r = LeseAufruf(aufruf, argc, argv); r >= 0) return r;
    const auto Aufruffehler = [](const std::string& text) { return ::Aufruffehler(kProgramm, text); };
    if (dateien.size() > 1) return Aufruffehler("Höchstens ein Dokument.");
    const std::string dokumentPfad = dateien.empty() ? "" : dateien[0];
    const bool stossGesetzt = Gesetzt(aufruf, "--stoss"), gruppeGesetzt = Gesetzt(aufruf, "--gruppe");
    const bool rauschenGesetzt = Gesetzt(aufruf, "--rauschen"), saatGesetzt = Gesetzt(aufruf, "--saat");
    if (stapel) {
        // Die Stapeldatei ist freigestellt: ohne sie (oder mit -) die Standardeingabe.
        if (stossGesetzt || plan || rauschenGesetzt || saatGesetzt || gruppeGesetzt || json || !bildPfad.empty() ||
            !protokollPfad.empty() || zeile > 0)
            return Aufruffehler("--stapel nimmt nur --config und --modell: Kugeln, Stoß und Rauschen stehen in "
                                "jeder Zeile, die Ausgabe ist immer JSON.");
        return SchliesseAusgabe(aufruf.programm, Stapellauf(config, dokumentPfad, modell));
    }
    const bool nachspielen = !protokollPfad.empty() || zeile > 0;
    if (nachspielen) {
        if (protokollPfad.empty() || zeile == 0) return Aufruffehler("--protokoll und --zeile gehören zusammen.");
        if (stossGesetzt || plan || rauschenGesetzt || saatGesetzt || gruppeGesetzt || !dokumentPfad.empty())
            return Aufruffehler("Mit --protokoll kommen Kugeln, Gruppe und Stoß aus der Zeile: kein --stoss, "
                                "--plan, --rauschen, --saat, --gruppe und kein Dokument.");
    } else if (stossGesetzt == plan) {
        return Aufruffehler("Genau eines von --stoss X,Y und --plan ist nötig.");
    }
    if (rauschenGesetzt != saatGesetzt) return Aufruffehler("--rauschen und --saat gehören zusammen.");
    if (!dokumentPfad.empty() && gruppeGesetzt)
        return Aufruffehler("--gruppe gilt nur ohne Dokument: die Gruppe steht im Dokument.");
    Spielstand stand;
    Programmtisch p;
    if (const int r = LadeTischUndStand(kProgramm, config, dokumentPfad, gruppe, json, p, stand)) return r;

    // Die Welt der Zeile gilt, wenn --modell und --config sie nicht ausdrücklich ersetzen.
    std::unique_ptr<IniDatei> zeilenIni;
    if (nachspielen) {
        std::string fehler;
        Zeilenwelt w;
        if (!LeseProtokollzeile(protokollPfad, zeile, p.tisch.tisch.radius, stand, stoss, w, fehler))
            return Eingabefehler(kProgramm, fehler);
        if (w.modell && !Gesetzt(aufruf, "--modell")) modell = *w.modell;
        if (!w.datei.empty() && config.empty()) {
            zeilenIni = std::make_unique<IniDatei>();
            if (!LeseIniDatei(w.datei, *zeilenIni))
                return Eingabefehler(kProgramm, "Die Welt \"" + w.datei + "\" aus Zeile " + std::to_string(zeile) +
                                                    " kann nicht gelesen werden (mit --config DATEI eine andere nehmen).");
        }
    }
    if (plan) {
        stoss = PlaneStoss(p.tisch, PlanerkontextAus(*p.ini), stand).stoss;
        if (!Endlich(stoss))
            return Eingabefehler(kProgramm, "Der Planer findet auf diesem Tisch keinen endlichen Stoß "
                                            "(liegen Kugeln weit außerhalb?).");
    }
    const Vektor geplant = stoss;
    if (rauschenGesetzt) {
        std::mt19937_64 zufall(saat);
        stoss = VerrauscheStoss(stoss, rauschen, zufall);
        if (!Endlich(stoss)) return Aufruffehler("Der Rauschfaktor ist zu groß: der Stoß wird unendlich.");
    }

    const Tischgeometrie geometrie = BaueTischgeometrie(p.tisch);
    const Welt welt = WeltAus(zeilenIni ? *zeilenIni : *p.ini, modell);
    auto ergebnis = std::make_unique<Simergebnis>();
    auto wege = bildPfad.empty() ? nullptr : std::make_unique<Laufwege>();
    Simuliere(geometrie, welt, stand, stoss, *ergebnis, wege.get());  // der Stoß ist endlich

    if (!bildPfad.empty() && !SchreibeBild(p.tisch, bildPfad, stand, *wege, *ergebnis, modell))
        return Eingabefehler(kProgramm, "Das Bild \"" + bildPfad + "\" kann nicht geschrieben werden.");
    if (json)
        SchreibeJson(modell, stoss, *ergebnis);
    else
        SchreibeBericht(modell, geplant, stoss, rauschenGesetzt, *ergebnis, stand);
    return SchliesseAusgabe(kProgramm, kGut);
}
