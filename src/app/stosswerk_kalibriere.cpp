// stosswerk-kalibriere: passt Welt R an Beobachtungen an (Tisch vorher, Stoß,
// Tisch nachher) und berichtet die Kenngrößen mit ihrer Unsicherheit, das
// Rauschen des Queues und die Restfehler vorher und nachher; auf Wunsch die
// ganze config.ini mit den neuen Werten und ein Bild.
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "aufruf.h"
#include "fenster/tischbild.h"
#include "fenster/qtstart.h"
#include "model/datei_schreiben.h"
#include "kalibrierbild.h"
#include "lernen/kalibrierbericht.h"
#include "lernen/konfigurationstext.h"
#include "model/konfiguration.h"
#include "planner/planereinstellung.h"
#include "sim/beobachtung.h"

namespace {

constexpr const char* kHilfe =
    "Aufruf: stosswerk-kalibriere [--config DATEI] [--json] [--bild DATEI.png]\n"
    "                             [--schreibe DATEI.ini] [--threads N]\n"
    "                             [--help] [--version] DATEI.jsonl…\n"
    "\n"
    "Passt Welt R an Beobachtungen an: je Zeile der Tisch vor einem Stoß, die\n"
    "Gruppe, der beantwortete Stoß und der Tisch danach, wie der Spieler sie in\n"
    "beobachtungen.jsonl sammelt:\n"
    "  {\"vorher\": [[x, y, inloch] × 16], \"gruppe\": g, \"stoss\": [x, y],\n"
    "   \"nachher\": [[x, y, inloch] × 16]}\n"
    "Angepasst werden gleitreibung, stosszahl_kugel, kugelreibung, bande_normal,\n"
    "bande_tangential, bande_drall, bande_abfall, bande_reibung, das Bandengesetz\n"
    "über Winkel und Gleiten (bande_*_flach, bande_gleiten_*) und der Queue des Tisches\n"
    "(staerke_faktor, richtung_versatz), dazu das Rauschen dieses Queues aus dem,\n"
    "was übrig bleibt. Jede Beobachtung wurde mit einer unbekannten Störung von\n"
    "Richtung und Stärke gespielt; der Fit schätzt sie mit.\n"
    "\n"
    "Die Rollreibung bleibt, wie sie eingestellt ist: die Lagen am Ende sagen\n"
    "nichts über den Maßstab der Geschwindigkeit. Jede Geschwindigkeit mal √λ und\n"
    "jede Verzögerung mal λ gibt dieselben Wege; bestimmbar sind nur\n"
    "gleitreibung/rollreibung und staerke_faktor²/rollreibung. Wer die Rollreibung\n"
    "mit der Stoppuhr misst und einträgt, bekommt die übrigen Werte in ihrem Maß.\n"
    "\n"
    "  --config DATEI      config.ini lesen statt der Datei neben dem Programm:\n"
    "                      der Tisch, [simulation] als Startwelt, [physik] g und\n"
    "                      [planer] rauschen als erstes Maß der Störungen\n"
    "  --json              statt des Berichts genau ein JSON-Objekt ausgeben\n"
    "  --bild DATEI.png    beobachtete gegen vorhergesagte Lagen auf dem Tisch und\n"
    "                      die Verteilung der Restfehler vorher und nachher,\n"
    "                      darunter Bande (Abgang, Geschwindigkeit) und Wurf in\n"
    "                      der Startwelt und der angepassten; braucht keinen\n"
    "                      Bildschirm\n"
    "  --schreibe DATEI.ini\n"
    "                      die ganze config.ini (die von --config oder die neben\n"
    "                      dem Programm) mit den angepassten Werten in\n"
    "                      [simulation] und [planer] rauschen schreiben;\n"
    "                      Kommentare und alles andere bleiben\n"
    "  --threads N         so viele Threads (Vorgabe: alle Kerne); das Ergebnis\n"
    "                      hängt nicht davon ab\n"
    "  --help              diese Hilfe\n"
    "  --version           die Version ausgeben\n"
    "\n"
    "Fehlerhafte Zeilen und eine abgerissene letzte Zeile (ein Absturz beim\n"
    "Schreiben) werden übergangen und auf der Fehlerausgabe gemeldet. Auf einem\n"
    "Terminal zeigt die Fehlerausgabe den Fortschritt.\n"
    "\n"
    "Rückgabewert: 0 bei Erfolg, 1 wenn eine Datei nicht gelesen oder geschrieben\n"
    "werden kann oder keine brauchbare Beobachtung bleibt, 2 bei falschem Aufruf.\n";

int Aufruffehler(const std::string& text) { return ::Aufruffehler("stosswerk-kalibriere", text); }

struct Optionen {
    std::string config, bild, schreibe;
    bool json = false;
    int threads = 0;
    std::vector<std::string> dateien;
};

// 0 oder der Rückgabewert des Programms (die Meldung ist geschrieben).
int LeseOptionen(int argc, char** argv, Optionen& o, bool& fertig) {
    Aufruf aufruf{.programm = "stosswerk-kalibriere",
                  .hilfe = kHilfe,
                  .optionen = {Schalter("--json", o.json), Text("--config", o.config, "eine Datei"),
                               Text("--bild", o.bild, "einen Dateinamen"),
                               Text("--schreibe", o.schreibe, "einen Dateinamen"),
                               Zahlwert<int>("--threads", o.threads, 1, 1024, "eine ganze Zahl von 1 bis 1024")},
                  .dateien = &o.dateien};
    const int r = LeseAufruf(aufruf, argc, argv);
    fertig = r >= 0;
    if (fertig) return r;
    if (o.dateien.empty()) return Aufruffehler("Es fehlt mindestens eine Datei mit Beobachtungen (DATEI.jsonl).");
    return 0;
}

struct Dateibericht {
    std::string pfad;
    Beobachtungsbericht bericht;
};

// Alle Beobachtungen der Dateien; false, wenn eine nicht gelesen werden kann.
bool LeseAlle(const Optionen& o, float radius, std::vector<Beobachtung>& alle, std::vector<Dateibericht>& berichte) {
    for (const std::string& pfad : o.dateien) {
        std::vector<Beobachtung> teil;
        Dateibericht d{pfad, {}};
        std::string fehler;
        if (!LeseBeobachtungen(pfad, radius, teil, d.bericht, fehler)) {
            std::fprintf(stderr, "stosswerk-kalibriere: Die Beobachtungen \"%s\" können nicht gelesen werden (%s).\n",
                         pfad.c_str(), fehler.c_str());
            return false;
        }
        if (d.bericht.abgerissen)
            std::fprintf(stderr, "stosswerk-kalibriere: %s: die letzte Zeile ist abgerissen (ein Absturz beim "
                                 "Schreiben?) und bleibt außen vor.\n", pfad.c_str());
        if (d.bericht.fehlerhaft == 1)
            std::fprintf(stderr, "stosswerk-kalibriere: %s: eine Zeile ist keine Beobachtung und bleibt außen vor "
                                 "(%s).\n", pfad.c_str(), d.bericht.erster_fehler.c_str());
        else if (d.bericht.fehlerhaft > 1)
            std::fprintf(stderr, "stosswerk-kalibriere: %s: %ld Zeilen sind keine Beobachtung und bleiben außen vor "
                                 "(die erste: %s).\n", pfad.c_str(), d.bericht.fehlerhaft, d.bericht.erster_fehler.c_str());
        alle.insert(alle.end(), teil.begin(), teil.end());
        berichte.push_back(d);
    }
    return true;
}

// Eine Fortschrittszeile auf der Fehlerausgabe, höchstens fünfmal je Sekunde.
struct Fortschrittszeile {
    bool aktiv;
    std::chrono::steady_clock::time_point zuletzt{};
    void Zeige(double anteil, const char* schritt) {
        const auto jetzt = std::chrono::steady_clock::now();
        if (!aktiv || (jetzt - zuletzt < std::chrono::milliseconds(200) && anteil < 1.0)) return;
        zuletzt = jetzt;
        const int voll = static_cast<int>(anteil * 30.0);
        std::string balken(static_cast<std::size_t>(voll), '#');
        balken.resize(30, '.');
        std::fprintf(stderr, "\r[%s] %3.0f %% %s\033[K", balken.c_str(), 100.0 * anteil, schritt);
        std::fflush(stderr);
    }
    void Ende() {
        if (aktiv) std::fputs("\r\033[K", stderr);
    }
};

bool SchreibeBild(const Tischkontext& tk, const std::string& pfad, std::span<const Beobachtung> b,
                  const Welt& startwelt, const Kalibrierergebnis& e, const Tischgeometrie& g) {
    const auto qt = StarteQt({"stosswerk-kalibriere", "Das Bild kann nicht gezeichnet werden (%s).", 2, true, false});
    const QImage bild = Kalibrierbild(tk, VergleicheKugeln(b, startwelt, e, g), e, startwelt);
    return bild.save(QString::fromLocal8Bit(pfad.c_str()), "PNG", 0);
}

// Erst daneben schreiben, dann umbenennen: eine halbe config.ini gibt es nie.
bool SchreibeKonfiguration(const std::string& pfad, const std::string& text) { return ErsetzeDatei(pfad, text); }

std::string JsonMitDateien(const Kalibrierergebnis& e, const std::vector<Dateibericht>& berichte) {
    nlohmann::ordered_json j = nlohmann::ordered_json::parse(KalibrierberichtJson(e));
    nlohmann::ordered_json dateien = nlohmann::ordered_json::array();
    for (const Dateibericht& d : berichte)
        dateien.push_back({{"pfad", d.pfad},
                           {"zeilen", d.bericht.zeilen},
                           {"fehlerhaft", d.bericht.fehlerhaft},
                           {"abgerissen", d.bericht.abgerissen}});
    j["dateien"] = dateien;
    return j.dump();
}

}  // namespace

int main(int argc, char** argv) {
    Optionen o;
    bool fertig = false;
    if (const int r = LeseOptionen(argc, argv, o, fertig); r != 0 || fertig) return r;
    Spielstand unbenutzt;
    Programmtisch p;
    if (const int r = LadeTischUndStand("stosswerk-kalibriere", o.config, "", halbe, o.json, p, unbenutzt)) return r;
    const IniDatei& ini = *p.ini;  // fehlt die Datei neben dem Programm, gelten die Vorgaben
    std::vector<Beobachtung> beobachtungen;
    std::vector<Dateibericht> berichte;
    if (!LeseAlle(o, p.tisch.tisch.radius, beobachtungen, berichte)) return 1;

    const Tischgeometrie geometrie = BaueTischgeometrie(p.tisch);
    const Welt startwelt = WeltAus(ini, Modell::R);
    Kalibrieroptionen k;
    k.threads = o.threads;
    k.g = static_cast<double>(PhysikAus(ini).g);
    k.rauschen = PlanerAus(ini).rauschen;
    Fortschrittszeile zeile{::isatty(2) == 1};
    k.fortschritt = [&](double anteil, const char* schritt) { zeile.Zeige(anteil, schritt); };
    Kalibrierergebnis e;
    std::string fehler;
    const bool gut = Kalibriere(beobachtungen, startwelt, geometrie, k, e, fehler);
    zeile.Ende();
    if (!gut) {
        std::fprintf(stderr, "stosswerk-kalibriere: %s\n", fehler.c_str());
        return 1;
    }
    if (o.json) std::printf("%s\n", JsonMitDateien(e, berichte).c_str());
    else std::fputs(KalibrierberichtText(e).c_str(), stdout);
    std::fflush(stdout);

    if (!o.schreibe.empty() && !SchreibeKonfiguration(o.schreibe, KalibrierteKonfiguration(ini.text, e)))
        return Eingabefehler("stosswerk-kalibriere", "Die Konfiguration \"" + o.schreibe + "\" kann nicht geschrieben werden.");
    if (!o.bild.empty() && !SchreibeBild(p.tisch, o.bild, beobachtungen, startwelt, e, geometrie))
        return Eingabefehler("stosswerk-kalibriere", "Das Bild \"" + o.bild + "\" kann nicht geschrieben werden.");
    return SchliesseAusgabe("stosswerk-kalibriere", kGut);
}
