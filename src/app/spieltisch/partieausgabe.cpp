#include "partieausgabe.h"

#include <cstdio>

#include <nlohmann/json.hpp>

namespace {

double Anteil(double a, double b) { return b > 0 ? a / b : 0.0; }

std::string Prozent(double a, double b) {
    char z[32];
    std::snprintf(z, sizeof z, "%.1f %%", 100 * Anteil(a, b));
    return z;
}

// Eine Zeile der Tabelle: Name, dann A und B.
void Zeile(std::ostream& aus, const char* name, const std::string& a, const std::string& b) {
    char z[160];
    std::snprintf(z, sizeof z, "  %-32s %14s %14s\n", name, a.c_str(), b.c_str());
    aus << z;
}

std::string Zahl(long n) { return std::to_string(n); }

std::string Zwei(double x) {
    char z[32];
    std::snprintf(z, sizeof z, "%.2f", x);
    return z;
}

std::string Ms(std::optional<double> ms) {
    if (!ms) return "-";
    char z[32];
    std::snprintf(z, sizeof z, "%.1f ms", *ms);
    return z;
}

const char* Urteilsname(const Spruch& s) {
    if (s.ausgang == Ausgang::sieg) return "sieg";
    if (s.ausgang == Ausgang::niederlage) return "niederlage";
    if (s.foul != Partiefoul::keins) return "foul";
    return s.weiter ? "weiter" : "wechsel";
}

}  // namespace

const char* Partiefoultext(Partiefoul f) {
    switch (f) {
        case Partiefoul::keins: return "kein Foul";
        case Partiefoul::weisse_versenkt: return "Weiße versenkt";
        case Partiefoul::keine_beruehrung: return "keine Berührung";
        case Partiefoul::falsche_erste: return "falsche erste Kugel";
        case Partiefoul::keine_bande: return "keine Bande";
        case Partiefoul::anstoss_ungueltig: return "ungültiger Anstoß";
    }
    return "?";
}

void SchreibePartiebericht(const Partiebericht& b, std::ostream& aus) {
    const Spielerzahlen& a = b.spieler[0];
    const Spielerzahlen& c = b.spieler[1];
    double unten, oben;
    const double quote = QuoteA(b, unten, oben);
    char z[256];
    std::snprintf(z, sizeof z, "Partien: %d (Modell %s%s%s, Rauschen %.2f)\n", b.partien, Modellname(b.modell),
                  b.lauf.welt.empty() ? "" : ", Welt ", b.lauf.welt.c_str(), b.rauschen);
    aus << z;
    aus << "Spieler A: " << b.lauf.spieler[0] << "\nSpieler B: " << b.lauf.spieler[1] << "\n";
    std::snprintf(z, sizeof z, "Siege A: %d (%.1f %%, 95 %%: %.1f %% bis %.1f %%), Siege B: %d, Remis: %d\n", a.siege,
                  100 * quote, 100 * unten, 100 * oben, c.siege, b.remis);
    aus << z;
    std::snprintf(z, sizeof z, "Siege des Anstoßenden: %d, Anstoß und aus: %d\n", a.siegeAlsAnstoesser + c.siegeAlsAnstoesser,
                  a.durchlaeufe + c.durchlaeufe);
    aus << z;
    std::snprintf(z, sizeof z, "Stöße je Partie: %.1f (höchstens %d)\n", Anteil(static_cast<double>(b.stoesse), b.partien),
                  b.stoesseMax);
    aus << z;
    Zeile(aus, "", "A", "B");
    Zeile(aus, "Siege als Anstoßender", Zahl(a.siegeAlsAnstoesser), Zahl(c.siegeAlsAnstoesser));
    Zeile(aus, "Anstoß und aus", Zahl(a.durchlaeufe), Zahl(c.durchlaeufe));
    Zeile(aus, "Anstöße", Zahl(a.anstoesse), Zahl(c.anstoesse));
    Zeile(aus, "  gültig", Prozent(a.anstoesseLegal, a.anstoesse), Prozent(c.anstoesseLegal, c.anstoesse));
    Zeile(aus, "  mit versenkter Kugel", Prozent(a.anstoesseVersenkt, a.anstoesse),
          Prozent(c.anstoesseVersenkt, c.anstoesse));
    Zeile(aus, "  Weiße versenkt", Prozent(a.anstoesseWeisse, a.anstoesse), Prozent(c.anstoesseWeisse, c.anstoesse));
    Zeile(aus, "Stöße", Zahl(a.stoesse), Zahl(c.stoesse));
    Zeile(aus, "Kugeln je Aufnahme", Zwei(Anteil(static_cast<double>(a.kugeln), static_cast<double>(a.aufnahmen))),
          Zwei(Anteil(static_cast<double>(c.kugeln), static_cast<double>(c.aufnahmen))));
    for (int f = 1; f < kAnzahlPartiefouls; ++f) {
        const std::string name = std::string("Foul: ") + Partiefoultext(static_cast<Partiefoul>(f));
        Zeile(aus, name.c_str(), Zahl(a.fouls[f]), Zahl(c.fouls[f]));
    }
    Zeile(aus, "Schwarze zu früh", Zahl(a.schwarzeZuFrueh), Zahl(c.schwarzeZuFrueh));
    Zeile(aus, "Schwarze mit Foul", Zahl(a.schwarzeMitFoul), Zahl(c.schwarzeMitFoul));
    Zeile(aus, "Sicherheitsstöße", Zahl(a.sicherheiten), Zahl(c.sicherheiten));
    Zeile(aus, "  danach verfehlte der Gegner", Prozent(a.gegnerVerfehlt, a.sicherheiten),
          Prozent(c.gegnerVerfehlt, c.sicherheiten));
    Zeile(aus, "Entscheidungszeit, Median", Ms(MedianMs(a.zeit)), Ms(MedianMs(c.zeit)));
    Zeile(aus, "Entscheidungszeit, höchstens", Ms(a.zeit.anzahl ? std::optional(a.zeit.maximumUs / 1000) : std::nullopt),
          Ms(c.zeit.anzahl ? std::optional(c.zeit.maximumUs / 1000) : std::nullopt));
    if (b.ohneAntwort > 0) aus << "Ohne Antwort abgebrochen: " << b.ohneAntwort << " Partien\n";
    if (b.ereignisgrenze > 0) aus << "Stöße an der Ereignisgrenze der Simulation: " << b.ereignisgrenze << "\n";
    if (a.gekappt > 0 || c.gekappt > 0)
        aus << "Von der Zeitgrenze gekappte Entscheidungen: A " << a.gekappt << ", B " << c.gekappt << "\n";
}

std::string Partieprotokollzeile(const Partie& p, const Partiestoss& s, const Protokollwelt& w) {
    nlohmann::ordered_json j;
    j["partie"] = p.nummer;
    j["gestell"] = p.gestell;
    j["stoss"] = s.stoss;
    j["schuetze"] = s.schuetze == 0 ? "a" : "b";
    j["gruppe"] = s.vorher.gruppe;
    nlohmann::ordered_json kugeln = nlohmann::ordered_json::array();
    for (const Kugel& k : s.vorher.kugeln) kugeln.push_back({k.x, k.y, k.inloch ? 1 : 0});
    j["kugeln"] = kugeln;
    j["antwort"] = {s.antwort[0], s.antwort[1]};
    j["gespielt"] = {s.gespielt.x, s.gespielt.y};
    nlohmann::ordered_json versenkt = nlohmann::ordered_json::array();
    for (int i = 0; i < kAnzahlKugeln; ++i)
        if (s.versenkt & (1u << i)) versenkt.push_back(i);
    j["versenkt"] = versenkt;
    j["erste_beruehrung"] = s.ersteBeruehrung;
    j["anstoss"] = s.anstoss;
    j["ball_in_hand"] = s.ballInHand;
    j["foul"] = Partiefoulname(s.spruch.foul);
    j["neue_gruppe"] = s.spruch.neueGruppe;
    j["sicherheit"] = s.sicherheit;
    j["urteil"] = Urteilsname(s.spruch);
    if (s.ereignisgrenze) j["ereignisgrenze"] = true;
    j["modell"] = Modellname(w.modell);
    j["welt"] = w.datei;
    j["rauschen"] = w.rauschen;
    return j.dump();
}
