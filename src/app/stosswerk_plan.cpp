// stosswerk-plan: plant einen Stoß auf der Grundaufstellung der Konfiguration
// und gibt die Protokollzeilen und den Stoß aus (oder ein JSON-Objekt).
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "anzeige/anzeige.h"
#include "aufruf.h"
#include "model/konfiguration.h"
#include "model/tisch.h"
#include "planner/robuste_suche.h"
#include "planner/suche.h"

namespace {

constexpr const char* kHilfe =
    "Aufruf: stosswerk-plan [--config DATEI] [--gruppe N] [--robust] [--budget] [--json]\n"
    "                       [--kandidaten] [--help] [--version] [DOKUMENT|-]\n"
    "\n"
    "Plant einen Stoß und gibt die Protokollzeilen der Suche und den Stoßvektor aus:\n"
    "auf der Grundaufstellung aus der Konfiguration, oder auf den Kugeln und der\n"
    "Gruppe (player) eines Tischstand-Dokuments des Spielservers (- liest es von\n"
    "der Standardeingabe).\n"
    "\n"
    "  --config DATEI  config.ini lesen statt der Datei neben dem Programm\n"
    "  --gruppe N      Kugelgruppe: 0 halbe (Vorgabe), 1 volle, 2 alle; ohne Dokument\n"
    "  --robust        robust wählen (die übrigen Werte aus [planer]), auch wenn\n"
    "                  die Konfiguration den vorgegebenen Planer nennt\n"
    "  --budget        die robuste Wahl zählt statt der Uhr simulierte Stöße, so\n"
    "                  viele, wie zeitgrenze aus [planer] auf einer unbelasteten\n"
    "                  Maschine erlaubt (40 je ms), wie spieltisch ohne\n"
    "                  --zeitgrenze: dieselbe Entscheidung wie in dessen Lauf, auf\n"
    "                  jeder Maschine; mit --json nennt robust dann auch stoesse\n"
    "                  (simuliert), gekappt und sicherheit\n"
    "  --json          statt der Protokollzeilen ein JSON-Objekt ausgeben\n"
    "  --kandidaten    mit --json: auch alle Kandidaten, nach Bewertung sortiert\n"
    "  --help          diese Hilfe\n"
    "  --version       die Version ausgeben\n"
    "\n"
    "Rückgabewert: 0 bei Erfolg, 1 bei fehlerhafter Eingabe (ein fehlerhaftes Dokument, eine\n"
    "Datei, die sich nicht lesen, eine Ausgabe, die sich nicht schreiben lässt), 2 bei\n"
    "falschem Aufruf.\n";

}  // namespace

int main(int argc, char** argv) {
    std::string config;
    std::int32_t gruppe = halbe;
    bool json = false, kandidaten = false, robust = false, budget = false;
    std::vector<std::string> dokumente;
    Aufruf aufruf{.programm = "stosswerk-plan",
                  .hilfe = kHilfe,
                  .optionen = {Text("--config", config, "eine Datei"),
                               Zahlwert<std::int32_t>("--gruppe", gruppe, 0, 2, "0 (halbe), 1 (volle) oder 2 (alle)"),
                               Schalter("--robust", robust), Schalter("--budget", budget), Schalter("--json", json),
                               Schalter("--kandidaten", kandidaten)},
                  .dateien = &dokumente};
    if (const int r = LeseAufruf(aufruf, argc, argv); r >= 0) return r;
    if (dokumente.size() > 1) return Aufruffehler(aufruf.programm, "Höchstens ein Dokument.");
    const std::string dokumentPfad = dokumente.empty() ? "" : dokumente[0];
    if (!dokumentPfad.empty() && Gesetzt(aufruf, "--gruppe"))
        return Aufruffehler(aufruf.programm, "--gruppe gilt nur ohne Dokument: die Gruppe steht im Dokument.");
    Spielstand stand;
    Programmtisch p;
    if (const int r = LadeTischUndStand(aufruf.programm, config, dokumentPfad, gruppe, json, p, stand)) return r;

    Planerkontext pk = PlanerkontextAus(*p.ini);
    if (budget) pk.einstellung = StossbudgetStattZeit(pk.einstellung);
    const Planergebnis ergebnis =
        PlaneStoss(p.tisch, pk, stand, robust ? Planerwahl::robust : Planerwahl::nachKonfiguration);
    const Vektor stoss = ergebnis.stoss;
    const Suchbericht& bericht = ergebnis.bericht;
    if (!json) ZeigeProtokoll(KonsolenAnzeige(), ergebnis.protokoll);

    if (json) {
        nlohmann::ordered_json j;
        static const char* const namen[6] = {"cntWeisseKugelLoch", "cntWeisseBandeKugelLoch",
                                             "cntWeisseKugelBandeLoch", "cntWeisseKugelKugelLoch",
                                             "cntNurAnspielen", "cntUngewisserStoss"};
        for (int a = 0; a < 6; ++a) j[namen[a]] = bericht.anzahl[a];
        j["anzahl"] = bericht.anzahl[6];
        j["art"] = bericht.bester.art;
        j["bewertung"] = bericht.bester.bewertung;
        j["stoss"] = {{"x", stoss.x}, {"y", stoss.y}, {"z", stoss.z}};
        j["betrag"] = Laenge(stoss);
        // Mit --budget auch eine Wahl, die die Grenze vor der ersten Probe
        // kappte; ohne sieht die Ausgabe aus wie immer.
        if (bericht.proben > 0 || (budget && bericht.stoesse > 0))
            j["robust"] = {{"proben", bericht.proben}, {"erfolge", bericht.erfolge}};
        if (budget && j.contains("robust")) {
            j["robust"]["stoesse"] = bericht.stoesse;
            j["robust"]["gekappt"] = bericht.gekappt;
            j["robust"]["sicherheit"] = bericht.sicherheit;
        }
        if (kandidaten) {
            std::vector<Stoss> liste(kListenGroesse);
            int anzahl[7];
            int n = SammleStoesse(p.tisch, stand, liste.data(), anzahl);
            SortiereStoesse(liste.data(), n);
            auto punkt = [](Vektor v) { return nlohmann::ordered_json::array({v.x, v.y}); };
            for (int k = 0; k < n; ++k) {
                const Stoss& s = liste[k];
                j["kandidaten"].push_back({{"art", s.art},          {"bewertung", s.bewertung},
                                           {"weiss", punkt(s.weiss)}, {"ziel", punkt(s.ziel)},
                                           {"zwischenziel", punkt(s.zwischenziel)}, {"tasche", punkt(s.tasche)},
                                           {"bande", punkt(s.bande)}, {"winkel", s.winkel},
                                           {"winkel2", s.winkel2}});
            }
        }
        std::printf("%s\n", j.dump().c_str());
    } else {
        std::string t[4];
        VektorTexte(stoss, t);
        std::printf("\nx:\t%s\ny:\t%s\nz:\t%s\nBetrag:\t%s\n", t[0].c_str(), t[1].c_str(), t[2].c_str(),
                    t[3].c_str());
    }
    return SchliesseAusgabe(aufruf.programm, kGut);
}
