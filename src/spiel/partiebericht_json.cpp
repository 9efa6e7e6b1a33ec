#include <string>

#include "spiel/intervall.h"
#include "spiel/json_lesen.h"
#include "spiel/partiebericht.h"

namespace {

using J = nlohmann::ordered_json;

constexpr const char* kSeite[2] = {"a", "b"};

double Anteil(double a, double b) { return b > 0 ? a / b : 0.0; }

// {"a": f(spieler A), "b": f(spieler B)}
template <typename F>
J JeSpieler(const Partiebericht& b, F f) {
    J j;
    for (int i = 0; i < 2; ++i) j[kSeite[i]] = f(b.spieler[i]);
    return j;
}

J Fouls(const Spielerzahlen& z) {
    J j;
    for (int f = 1; f < kAnzahlPartiefouls; ++f) j[Partiefoulname(static_cast<Partiefoul>(f))] = z.fouls[f];
    return j;
}

// Liest je Spieler das Objekt schluessel.a / schluessel.b mit lies(leser, zahlen).
template <typename F>
bool LeseJeSpieler(const JsonLeser& l, const char* schluessel, Partiebericht& b, F lies) {
    const nlohmann::json* o = l.Objekt(schluessel);
    if (!o) return false;
    const std::string praefix = std::string(schluessel) + ".";
    JsonLeser lo{*o, l.fehler, praefix.c_str()};
    for (int i = 0; i < 2; ++i) {
        const nlohmann::json* s = lo.Objekt(kSeite[i]);
        if (!s) return false;
        const std::string p = praefix + kSeite[i] + ".";
        if (!lies(JsonLeser{*s, l.fehler, p.c_str()}, b.spieler[i])) return false;
    }
    return true;
}

}  // namespace

nlohmann::ordered_json AlsJson(const Partiebericht& b) {
    double unten, oben;
    const double quote = QuoteA(b, unten, oben);
    J j;
    j["art"] = "partien";
    j["modell"] = Modellname(b.modell);
    j["rauschen"] = b.rauschen;
    j["lauf"] = {{"saat", b.lauf.saat},
                 {"spieler_a", b.lauf.spieler[0]},
                 {"spieler_b", b.lauf.spieler[1]},
                 {"welt", b.lauf.welt}};
    j["gestelle"] = BereicheAlsJson(b.gestelle);
    j["partien"] = b.partien;
    j["siege_a"] = b.spieler[0].siege;
    j["siege_b"] = b.spieler[1].siege;
    j["remis"] = b.remis;
    j["quote_a"] = quote;
    j["quote_a_95"] = {unten, oben};
    j["ohne_antwort"] = b.ohneAntwort;
    j["siege_als_anstoesser"] = JeSpieler(b, [](const Spielerzahlen& z) { return z.siegeAlsAnstoesser; });
    j["anstoss_und_aus"] = JeSpieler(b, [](const Spielerzahlen& z) { return z.durchlaeufe; });
    j["anstoss"] = JeSpieler(b, [](const Spielerzahlen& z) {
        return J{{"stoesse", z.anstoesse},
                 {"legal", z.anstoesseLegal},
                 {"versenkt", z.anstoesseVersenkt},
                 {"weisse_versenkt", z.anstoesseWeisse}};
    });
    j["fehler"] = JeSpieler(b, Fouls);
    j["schwarze"] = JeSpieler(b, [](const Spielerzahlen& z) {
        return J{{"zu_frueh", z.schwarzeZuFrueh}, {"mit_foul", z.schwarzeMitFoul}};
    });
    j["sicherheiten"] = JeSpieler(b, [](const Spielerzahlen& z) {
        return J{{"gespielt", z.sicherheiten}, {"gegner_verfehlt", z.gegnerVerfehlt}};
    });
    j["aufnahmen"] = JeSpieler(b, [](const Spielerzahlen& z) {
        return J{{"aufnahmen", z.aufnahmen},
                 {"kugeln", z.kugeln},
                 {"kugeln_je_aufnahme", Anteil(static_cast<double>(z.kugeln), static_cast<double>(z.aufnahmen))}};
    });
    j["stoesse"] = {{"a", b.spieler[0].stoesse},
                    {"b", b.spieler[1].stoesse},
                    {"gesamt", b.stoesse},
                    {"je_partie", Anteil(static_cast<double>(b.stoesse), b.partien)},
                    {"maximum", b.stoesseMax}};
    j["zeit_ms"] = JeSpieler(b, [](const Spielerzahlen& z) { return AlsJson(z.zeit); });
    j["ereignisgrenze"] = b.ereignisgrenze;
    j["gekappt"] = JeSpieler(b, [](const Spielerzahlen& z) { return z.gekappt; });
    return j;
}

bool AusJson(const nlohmann::json& j, Partiebericht& b, std::string& fehler) {
    const JsonLeser l{j, fehler};
    Partiebericht neu;
    std::string text;
    if (!l.Text("art", text) || text != "partien") return l.Falsch("kein Bericht über Partien (\"art\": \"partien\" fehlt)");
    if (!l.Text("modell", text) || (text != "P" && text != "R")) return l.Falsch("\"modell\" ist nicht P oder R");
    neu.modell = text == "P" ? Modell::P : Modell::R;
    const nlohmann::json* lauf = l.Objekt("lauf");
    if (!lauf || !l.Zahl("rauschen", neu.rauschen)) return false;
    const JsonLeser ll{*lauf, fehler, "lauf."};
    if (!ll.Ganz("saat", neu.lauf.saat) || !ll.Text("spieler_a", neu.lauf.spieler[0]) ||
        !ll.Text("spieler_b", neu.lauf.spieler[1]) || !ll.Text("welt", neu.lauf.welt))
        return false;
    if (!LeseBereiche(l, "gestelle", neu.gestelle) || !l.Ganz("partien", neu.partien) ||
        !l.Ganz("siege_a", neu.spieler[0].siege) || !l.Ganz("siege_b", neu.spieler[1].siege) ||
        !l.Ganz("remis", neu.remis) || !l.Ganz("ohne_antwort", neu.ohneAntwort) ||
        !l.Ganz("ereignisgrenze", neu.ereignisgrenze))
        return false;
    const nlohmann::json* stoesse = l.Objekt("stoesse");
    if (!stoesse) return false;
    const JsonLeser ls{*stoesse, fehler, "stoesse."};
    if (!ls.Ganz("a", neu.spieler[0].stoesse) || !ls.Ganz("b", neu.spieler[1].stoesse) ||
        !ls.Ganz("gesamt", neu.stoesse) || !ls.Ganz("maximum", neu.stoesseMax))
        return false;
    // Die Objekte je Spieler; siege_als_anstoesser und anstoss_und_aus sind Zahlen je Spieler.
    for (int i = 0; i < 2; ++i) {
        const nlohmann::json* o = l.Objekt("siege_als_anstoesser");
        const nlohmann::json* d = l.Objekt("anstoss_und_aus");
        if (!o || !d) return false;
        if (!JsonLeser{*o, fehler, "siege_als_anstoesser."}.Ganz(kSeite[i], neu.spieler[i].siegeAlsAnstoesser) ||
            !JsonLeser{*d, fehler, "anstoss_und_aus."}.Ganz(kSeite[i], neu.spieler[i].durchlaeufe))
            return false;
    }
    const bool gut =
        LeseJeSpieler(l, "anstoss", neu, [](const JsonLeser& s, Spielerzahlen& z) {
            return s.Ganz("stoesse", z.anstoesse) && s.Ganz("legal", z.anstoesseLegal) &&
                   s.Ganz("versenkt", z.anstoesseVersenkt) && s.Ganz("weisse_versenkt", z.anstoesseWeisse);
        }) &&
        LeseJeSpieler(l, "fehler", neu, [](const JsonLeser& s, Spielerzahlen& z) {
            for (int f = 1; f < kAnzahlPartiefouls; ++f)
                if (!s.Ganz(Partiefoulname(static_cast<Partiefoul>(f)), z.fouls[f])) return false;
            return true;
        }) &&
        LeseJeSpieler(l, "schwarze", neu, [](const JsonLeser& s, Spielerzahlen& z) {
            return s.Ganz("zu_frueh", z.schwarzeZuFrueh) && s.Ganz("mit_foul", z.schwarzeMitFoul);
        }) &&
        LeseJeSpieler(l, "sicherheiten", neu, [](const JsonLeser& s, Spielerzahlen& z) {
            return s.Ganz("gespielt", z.sicherheiten) && s.Ganz("gegner_verfehlt", z.gegnerVerfehlt);
        }) &&
        LeseJeSpieler(l, "aufnahmen", neu, [](const JsonLeser& s, Spielerzahlen& z) {
            return s.Ganz("aufnahmen", z.aufnahmen) && s.Ganz("kugeln", z.kugeln);
        }) &&
        LeseJeSpieler(l, "zeit_ms", neu,
                      [](const JsonLeser& s, Spielerzahlen& z) { return AusJson(s.j, z.zeit, s.fehler); });
    if (!gut) return false;
    // Ältere Berichte zählten die gekappten Entscheidungen nicht.
    if (j.contains("gekappt")) {
        const nlohmann::json* g = l.Objekt("gekappt");
        if (!g) return false;
        for (int i = 0; i < 2; ++i)
            if (!JsonLeser{*g, fehler, "gekappt."}.Ganz(kSeite[i], neu.spieler[i].gekappt)) return false;
    }
    b = neu;
    return true;
}
