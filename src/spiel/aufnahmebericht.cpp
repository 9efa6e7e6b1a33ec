#include "spiel/aufnahmebericht.h"

#include "planner/robuste_suche.h"
#include "planner/suche.h"
#include "spiel/intervall.h"
#include "spiel/json_lesen.h"

namespace {

double Anteil(double a, double b) { return b > 0 ? a / b : 0.0; }

}  // namespace

const char* Artenname(int art) { return art == kRichtungssuche ? "Richtungssuche" : Artname(art); }

void Zaehle(Spielbericht& b, const Aufnahme& a) {
    ++b.tische;
    b.ohneAntwort += a.ohneAntwort;
    b.kugeln += a.kugeln;
    b.geraeumt += a.geraeumt;
    for (const Stosszeile& z : a.stoesse) {
        ++b.stoesse;
        b.erfolge += z.urteil.erfolg;
        ++b.fehler[static_cast<int>(z.urteil.ursache)];
        if (z.art >= 0 && z.art <= kRichtungssuche) {
            b.artenBekannt = true;
            ++b.artStoesse[z.art];
            b.artErfolge[z.art] += z.urteil.erfolg;
        }
        b.simUs += z.simUs;
        b.planerUs += z.planerUs;
        b.gekappt += z.gekappt;
    }
}

bool LegeZusammen(Spielbericht& ziel, const Spielbericht& teil, std::string& fehler) {
    if (ziel.modell != teil.modell || ziel.rauschen != teil.rauschen || !(ziel.lauf == teil.lauf)) {
        fehler = "die Läufe passen nicht zusammen (Saat, Modell, Rauschen, Welt, Gruppe, Kugeln oder Planer verschieden)";
        return false;
    }
    std::vector<Bereich> bereiche = ziel.bereiche;
    for (const Bereich& b : teil.bereiche) {
        if (!FuegeBereichHinzu(bereiche, b)) {
            fehler = "die Tische " + std::to_string(b.von) + "–" + std::to_string(b.bis) + " sind schon gezählt";
            return false;
        }
    }
    ziel.bereiche = bereiche;
    ziel.tische += teil.tische;
    ziel.stoesse += teil.stoesse;
    ziel.erfolge += teil.erfolge;
    ziel.ohneAntwort += teil.ohneAntwort;
    for (int u = 0; u < kAnzahlUrsachen; ++u) ziel.fehler[u] += teil.fehler[u];
    ziel.kugeln += teil.kugeln;
    ziel.geraeumt += teil.geraeumt;
    ziel.artenBekannt = ziel.artenBekannt || teil.artenBekannt;
    for (int a = 0; a <= kRichtungssuche; ++a) {
        ziel.artStoesse[a] += teil.artStoesse[a];
        ziel.artErfolge[a] += teil.artErfolge[a];
    }
    ziel.simUs += teil.simUs;
    ziel.planerUs += teil.planerUs;
    ziel.gekappt += teil.gekappt;
    return true;
}

nlohmann::ordered_json AlsJson(const Spielbericht& b) {
    double unten, oben;
    Intervall95(b.erfolge, b.stoesse, unten, oben);
    nlohmann::ordered_json j;
    j["modell"] = Modellname(b.modell);
    j["rauschen"] = b.rauschen;
    j["tische"] = b.tische;
    j["stoesse"] = b.stoesse;
    j["erfolge"] = b.erfolge;
    j["quote"] = Anteil(b.erfolge, b.stoesse);
    j["quote_95"] = {unten, oben};
    j["kugeln_je_aufnahme"] = Anteil(static_cast<double>(b.kugeln), b.tische);
    j["geraeumt"] = Anteil(b.geraeumt, b.tische);
    nlohmann::ordered_json f = nlohmann::ordered_json::object();
    for (int u = 1; u < kAnzahlUrsachen; ++u) f[Ursachenname(static_cast<Ursache>(u))] = b.fehler[u];
    j["fehler"] = f;
    nlohmann::ordered_json arten = nlohmann::ordered_json::object();
    if (b.artenBekannt)
        for (int a = 0; a <= kRichtungssuche; ++a)
            if (a < 6 || b.artStoesse[a] > 0)
                arten[Artenname(a)] = {{"stoesse", b.artStoesse[a]}, {"erfolge", b.artErfolge[a]}};
    j["arten"] = arten;
    j["ohne_antwort"] = b.ohneAntwort;
    j["zeit_us"] = {{"simulation", Anteil(b.simUs, b.stoesse)},
                    {"planer", Anteil(b.planerUs, b.stoesse)},
                    {"summe_simulation", b.simUs},
                    {"summe_planer", b.planerUs}};
    // Die Zählungen hinter den Anteilen und was der Lauf war: zum Zusammenlegen.
    j["kugeln"] = b.kugeln;
    j["geraeumt_tische"] = b.geraeumt;
    j["art"] = "aufnahmen";
    j["lauf"] = {{"saat", b.lauf.saat},     {"gruppe", b.lauf.gruppe}, {"objektkugeln", b.lauf.objektkugeln},
                 {"planer", b.lauf.planer}, {"welt", b.lauf.welt}};
    j["bereiche"] = BereicheAlsJson(b.bereiche);
    j["gekappt"] = b.gekappt;
    return j;
}

bool AusJson(const nlohmann::json& j, Spielbericht& b, std::string& fehler) {
    JsonLeser l{j, fehler};
    Spielbericht neu{};
    std::string modell;
    if (!l.Text("art", modell) || modell != "aufnahmen") return l.Falsch("kein Bericht über Aufnahmen (\"art\": \"aufnahmen\" fehlt)");
    if (!l.Text("modell", modell) || (modell != "P" && modell != "R")) return l.Falsch("\"modell\" ist nicht P oder R");
    neu.modell = modell == "P" ? Modell::P : Modell::R;
    const nlohmann::json* lauf = l.Objekt("lauf");
    if (!l.Zahl("rauschen", neu.rauschen) || !lauf) return false;
    JsonLeser ll{*lauf, fehler, "lauf."};
    if (!ll.Ganz("saat", neu.lauf.saat) || !ll.Ganz("gruppe", neu.lauf.gruppe) ||
        !ll.Ganz("objektkugeln", neu.lauf.objektkugeln) || !ll.Text("planer", neu.lauf.planer) ||
        !ll.Text("welt", neu.lauf.welt))
        return false;
    if (!LeseBereiche(l, "bereiche", neu.bereiche)) return false;
    if (!l.Ganz("tische", neu.tische) || !l.Ganz("stoesse", neu.stoesse) || !l.Ganz("erfolge", neu.erfolge) ||
        !l.Ganz("ohne_antwort", neu.ohneAntwort) || !l.Ganz("kugeln", neu.kugeln) ||
        !l.Ganz("geraeumt_tische", neu.geraeumt))
        return false;
    const nlohmann::json* f = l.Objekt("fehler");
    if (!f) return false;
    JsonLeser lf{*f, fehler, "fehler."};
    for (int u = 1; u < kAnzahlUrsachen; ++u)
        if (!lf.Ganz(Ursachenname(static_cast<Ursache>(u)), neu.fehler[u])) return false;
    neu.fehler[0] = neu.erfolge;
    const nlohmann::json* arten = l.Objekt("arten");
    if (!arten) return false;
    for (int a = 0; a <= kRichtungssuche; ++a) {
        if (!arten->contains(Artenname(a))) continue;
        neu.artenBekannt = true;
        const std::string name = std::string("arten.") + Artenname(a) + ".";
        JsonLeser la{(*arten)[Artenname(a)], fehler, name.c_str()};
        if (!la.Ganz("stoesse", neu.artStoesse[a]) || !la.Ganz("erfolge", neu.artErfolge[a])) return false;
    }
    const nlohmann::json* zeit = l.Objekt("zeit_us");
    if (!zeit) return false;
    JsonLeser lz{*zeit, fehler, "zeit_us."};
    if (!lz.Zahl("summe_simulation", neu.simUs) || !lz.Zahl("summe_planer", neu.planerUs)) return false;
    // Ältere Berichte zählten die gekappten Entscheidungen nicht.
    if (j.contains("gekappt") && !l.Ganz("gekappt", neu.gekappt)) return false;
    b = neu;
    return true;
}
