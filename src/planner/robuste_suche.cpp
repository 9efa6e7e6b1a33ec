#include "planner/robuste_suche.h"

#include <algorithm>
#include <random>
#include <vector>

#include "anzeige/texte.h"
#include "planner/anstoss.h"
#include "planner/frist.h"
#include "planner/hoechststaerke.h"
#include "planner/pfad.h"
#include "planner/robuste_kandidaten.h"
#include "planner/robuste_proben.h"
#include "planner/rueckfallstoss.h"
#include "planner/rundumsuche.h"
#include "planner/schiedsrichter.h"
#include "planner/sicherheitsstoss.h"
#include "planner/siegchance.h"
#include "planner/stellungsspiel.h"
#include "planner/stoss_linien.h"
#include "planner/stossstaerke.h"
#include "planner/versteckstoss.h"
#include "sim/rauschen.h"
#include "sim/simulation.h"

namespace {

// Steht keiner gut da (weniger als die Hälfte der Vorproben gelingt), kommen
// die Treffer der Rundumsuche als Kandidaten dazu.
void RundumKandidaten(Kandidatenliste& k, std::vector<Variante>& varianten, Durchspiel& d, int vor, float grenze) {
    for (const Richtungstreffer& t : Rundumsuche(d, grenze)) {
        Stoss s{};
        s.weiss = k.liste[0].weiss;
        s.ziel = Addiere(s.weiss, Skaliere(t.richtung, 20.0f));
        s.art = kRichtungssuche;
        const std::size_t vorher = varianten.size();
        if (!HaengeAn(k, s)) break;
        FensterVarianten(varianten, k.frei - 1, t.richtung, t.staerke, kRundumFaktoren, grenze, d, vorher);
        Vorproben(d, varianten, vorher, vor);
    }
}

// Die Lochstöße in der Folge ihrer Aussicht: die Kandidaten der Liste, die
// großzügigen direkten, wenn keiner gut dasteht die Rundumsuche, dann alle
// Proben für die engere Wahl. Jeder Schritt hört auf, wenn die Zeit um ist;
// die Reihenfolge der Varianten und damit die Wahl hängen davon nicht ab.
// Gibt die Reihe der engeren Wahl zurück (EngereWahl).
std::vector<int> EngereLochstoesse(Kandidatenliste& k, std::vector<Variante>& varianten, Durchspiel& d,
                                   const Planereinstellung& e, const Physik& physik, float radius, int& eng) {
    const int vor = std::min(kVorproben, e.proben);
    KandidatenVarianten(k, 0, physik, radius, d, varianten);
    Vorproben(d, varianten, 0, vor);
    const std::size_t ausDerListe = k.kandidaten.size(), ab = varianten.size();
    for (const Stoss& s : GuteGroszuegige(k, d, physik, radius, e.kandidaten)) HaengeAn(k, s);
    KandidatenVarianten(k, ausDerListe, physik, radius, d, varianten);
    Vorproben(d, varianten, ab, vor);

    int besteVorprobe = 0;
    for (const Variante& v : varianten) besteVorprobe = std::max(besteVorprobe, v.erfolge);
    if (besteVorprobe < vor) RundumKandidaten(k, varianten, d, vor, Hoechststaerke(physik));

    if (varianten.empty()) {
        // Kein Fenster, kein Treffer rundum: der Beste der Liste, wie er ist,
        // damit Bericht und Sicherheitsstoß seine Quote kennen.
        Variante v;
        v.kandidat = 0;
        v.stoss = Begrenzt(StossVektor(k.liste[0], BerechneStossstaerke(k.liste[0], physik, radius)), Hoechststaerke(physik));
        varianten.push_back(v);
        Vorproben(d, varianten, 0, vor);
    }
    return EngereWahl(d, varianten, e.proben, eng);
}

// Die engere Wahl (reihe, eng), dann das Stellungsspiel; gibt den Index der
// gewählten Variante zurück.
int WaehleLochstoss(Kandidatenliste& k, std::vector<Variante>& varianten, Durchspiel& d, const Planereinstellung& e,
                    const Physik& physik, float radius, std::vector<int>& reihe, int& eng) {
    reihe = EngereLochstoesse(k, varianten, d, e, physik, radius, eng);
    if (e.stellung > 0.0) Stellungsspiel(d, varianten, reihe, eng, e.stellung, physik, radius);
    int wahl = reihe[0];
    for (int i = 1; i < eng; ++i)
        if (varianten[reihe[i]].wert > varianten[wahl].wert) wahl = reihe[i];
    return wahl;
}

// Was gespielt wird, mit dem Kandidaten für Linien und Bericht.
struct Entscheidung {
    Vektor stoss;
    Stoss kandidat;
    int erfolge = 0, proben = 0;
    bool anstoss = false, sicherheit = false;
    bool belegt = false;  // gelang in einer Probe oder ist ohne Rauschen gültig
};


// Die zwei Zeilen über den gewählten Lochstoß.
void MeldeLochstoss(const Variante& gewaehlt, const Stoss& kandidat, Vektor stoss, Durchspiel& d,
                    std::vector<std::string>& protokoll) {
    if (gewaehlt.erfolge == 0) {
        protokoll.push_back("Robust: kein Stoß gelingt in den Proben, gespielt wird der beste der Liste.\r\n");
    } else {
        // Was fällt: aus einer gelungenen Probe dieses Stoßes.
        const int p = gewaehlt.ersteErfolgreiche;
        Simuliere(d.g, d.w, d.stand, VerrauscheStoss(stoss, Probenrauschen(d, gewaehlt), d.zr[p], d.zs[p]), d.e);
        int kugel = -1;
        bool eigene[kAnzahlKugeln] = {};
        EigeneKugeln(d.stand, eigene);
        for (int i = 1; i < kAnzahlKugeln && kugel < 0; ++i)
            if (d.e.tasche[i] >= 0 && eigene[i] && TascheErlaubt(d.stand, i, 3 * d.e.tasche[i])) kugel = i;
        protokoll.push_back(FormatiereLog("Robust: Kugel %d in Tasche %d (%s), Stärke %f\r\n", kugel,
                                          kugel > 0 ? d.e.tasche[kugel] + 1 : 0,
                                          kandidat.art == kRichtungssuche ? "Richtungssuche" : Artname(kandidat.art),
                                          static_cast<double>(Laenge(stoss))));
    }
    protokoll.push_back(FormatiereLog("Erfolg %d von %d Proben\r\n", gewaehlt.erfolge, gewaehlt.proben));
}
// Der Stoß, den Lochstoss spielt, wenn keine Variante gelingt.
Vektor Listenstoss(const Kandidatenliste& k, const Physik& physik, float radius) {
    return Begrenzt(StossVektor(k.liste[0], BerechneStossstaerke(k.liste[0], physik, radius)), Hoechststaerke(physik));
}

// Die gewählte Variante als Entscheidung, mit ihren zwei Zeilen. Gelingt sie
// nie, gilt der Beste der Liste, nie stärker als vmax.
Entscheidung AlsLochstoss(const Kandidatenliste& k, const Variante& gewaehlt, Durchspiel& d, const Physik& physik,
                          float radius, std::vector<std::string>& protokoll) {
    const bool nichts = gewaehlt.erfolge == 0;
    Entscheidung x;
    x.kandidat = nichts ? k.liste[0] : k.liste[gewaehlt.kandidat];
    x.stoss = nichts ? Listenstoss(k, physik, radius) : Begrenzt(gewaehlt.stoss, Hoechststaerke(physik));
    x.erfolge = gewaehlt.erfolge;
    x.proben = gewaehlt.proben;
    x.belegt = !nichts;
    MeldeLochstoss(gewaehlt, x.kandidat, x.stoss, d, protokoll);
    return x;
}

Entscheidung Lochstoss(Kandidatenliste& k, Durchspiel& d, const Planereinstellung& e, const Physik& physik,
                       float radius, std::vector<std::string>& protokoll) {
    std::vector<Variante> varianten;
    std::vector<int> reihe;
    int eng = 0;
    const int wahl = WaehleLochstoss(k, varianten, d, e, physik, radius, reihe, eng);
    return AlsLochstoss(k, varianten[static_cast<std::size_t>(wahl)], d, physik, radius, protokoll);
}

// Zwei Halbzüge: die Wahl von tiefe 1, die übrigen der besten Lochstöße der
// engeren Wahl nach ihrer Quote und die Sicherheitsstöße rundum, jeder nach
// seiner Siegchance (siegchance.h); die Sicherheitsstöße erst mit wenigen
// Proben und einem knappen zweiten Halbzug, die zwei besten dann ganz.
// Gewählt wird der höchste ganz bewertete Wert; ist keiner ganz bewertet,
// als die Grenze kam, die Wahl von tiefe 1.
constexpr int kTiefeLochstoesse = 4;
// Der zweite Halbzug: nach zwei Ausgängen je Art, mit den Proben der
// Vorproben (der beste von sechs Stößen zu je vier Proben gelingt scheinbar
// oft immer: der Wert sah den Gegner nach fast jedem Sicherheitsstoß sicher
// lochen). Die Vorwahl der Sicherheitsstöße knapp: ihre Rundumsuche kostete
// sonst das ganze Budget.
constexpr Zweitzug kZweitzug{2, kVorproben, true};
constexpr Zweitzug kZweitzugVorwahl{1, kVorproben, false};
constexpr int kTiefeSicherheiten = 2;

Entscheidung ZweiHalbzuege(Kandidatenliste& k, Durchspiel& d, const Planereinstellung& e, const Physik& physik,
                           float radius, std::vector<std::string>& protokoll) {
    std::vector<Variante> varianten;
    std::vector<int> reihe;
    int eng = 0;
    // Zuerst die Wahl von tiefe 1: sie gilt, wenn die Grenze den Wert kappt.
    const int erste = WaehleLochstoss(k, varianten, d, e, physik, radius, reihe, eng);
    const float grenze = Hoechststaerke(physik);
    const Siegtafel tafel = BaueSiegtafel(TypischeQuote(d.rauschen));
    auto bewerte = [&](Vektor stoss, int proben, const Zweitzug& z) {
        return BewerteSiegchance(d, stoss, proben, z, tafel, physik, radius);
    };
    Siegwert loch, sicherheit;
    int wahl = erste;
    bool lochGanz = false, sicherheitGewaehlt = false;
    std::vector<int> folge{erste};
    for (int i = 0; i < std::min(eng, kTiefeLochstoesse); ++i)
        if (reihe[i] != erste) folge.push_back(reihe[i]);
    std::vector<Vektor> stoesse;
    Vektor sicherheitsstoss{};
    // Die Verstecke zuerst; geht sanft kein Stoß sicher, die breitesten
    // Fenster gültiger Stöße bis zur vollen Stärke.
    auto sicherheiten = [&] {
        if (!(e.sicherheit && lochGanz && Hoechstwert(0.0, d.stand, tafel) > loch.wert)) return;
        if (!Versteckstoesse(d, grenze, stoesse)) return;
        if (stoesse.empty() && !Sicherheitsrichtungen(d, grenze, stoesse)) return;
        const int vor = std::min(kVorproben, e.proben);
        std::vector<std::pair<double, Vektor>> vorwahl;
        for (const Vektor stoss : stoesse) {
            if (Abgelaufen(d.frist)) break;
            SpieleStoss(d, stoss);
            if (!Sicher(d.stand, d.e)) continue;
            const Siegwert w = bewerte(stoss, vor, kZweitzugVorwahl);
            if (!w.ganz) break;
            vorwahl.push_back({w.wert, stoss});
        }
        std::stable_sort(vorwahl.begin(), vorwahl.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
        for (std::size_t i = 0; i < std::min<std::size_t>(vorwahl.size(), kTiefeSicherheiten); ++i) {
            const Siegwert w = bewerte(vorwahl[i].second, e.proben, kZweitzug);
            if (!w.ganz) break;
            if (w.wert > loch.wert && (!sicherheitGewaehlt || w.wert > sicherheit.wert)) {
                sicherheitGewaehlt = true;
                sicherheit = w;
                sicherheitsstoss = vorwahl[i].second;
            }
        }
    };
    bool sicherheitGeprueft = false;
    for (const int i : folge) {
        const Variante& v = varianten[i];
        if (v.erfolge == 0 || Abgelaufen(d.frist)) continue;
        // Die Reihe fällt nach der Quote, und mit ihr, was ein Stoß höchstens wert ist.
        const double schranke = std::max(loch.wert, sicherheitGewaehlt ? sicherheit.wert : 0.0);
        if (lochGanz && !(Hoechstwert(Quote(v), d.stand, tafel) > schranke)) break;
        const Siegwert w = bewerte(Begrenzt(v.stoss, grenze), e.proben, kZweitzug);
        if (!w.ganz) break;
        if (!lochGanz || w.wert > loch.wert) {
            lochGanz = true;
            loch = w;
            wahl = i;
        }
        // Reicht schon die Wahl von tiefe 1 nicht an einen Sicherheitsstoß
        // heran, kommen die Sicherheitsstöße vor den übrigen Lochstößen dran:
        // sonst kappte die Grenze sie fast immer.
        if (!sicherheitGeprueft) {
            sicherheitGeprueft = true;
            sicherheiten();
        }
    }
    // Gelingt keine Variante, wird der Beste der Liste gespielt: sein Wert zählt.
    if (!lochGanz && !Abgelaufen(d.frist)) {
        loch = bewerte(Listenstoss(k, physik, radius), e.proben, kZweitzug);
        lochGanz = loch.ganz;
    }
    if (!sicherheitGeprueft) sicherheiten();
    if (sicherheitGewaehlt && !(sicherheit.wert > loch.wert)) sicherheitGewaehlt = false;

    Entscheidung x = AlsLochstoss(k, varianten[static_cast<std::size_t>(wahl)], d, physik, radius, protokoll);
    auto prozent = [](double q) { return static_cast<int>(100.0 * std::max(q, 0.0) + 0.5); };
    if (sicherheitGewaehlt) {
        protokoll.push_back(FormatiereLog("Tiefe 2: gespielt wird ein Sicherheitsstoß, Stärke %f, Siegchance %f "
                                          "gegen %f des Lochstoßes; danach locht der Gegner zu %d %%.\r\n",
                                          static_cast<double>(Laenge(sicherheitsstoss)), sicherheit.wert, loch.wert,
                                          prozent(sicherheit.gegner)));
        x.stoss = sicherheitsstoss;
        x.kandidat = Richtungskandidat(Lage(d.stand.kugeln[0]), sicherheitsstoss);
        x.erfolge = sicherheit.gueltig;
        x.proben = sicherheit.proben;
        x.sicherheit = true;
        x.belegt = true;
    } else if (lochGanz) {
        // Nur was gemessen wurde: ein Stoß, der nie gelingt, hat keinen nächsten eigenen.
        std::string zeile = FormatiereLog("Tiefe 2: Siegchance %f", loch.wert);
        if (loch.weiter >= 0.0)
            zeile += FormatiereLog("; danach gelingt der eigene nächste Stoß zu %d %%", prozent(loch.weiter));
        if (loch.gegner >= 0.0)
            zeile += FormatiereLog("%s der des Gegners zu %d %%", loch.weiter >= 0.0 ? ", nach einem Fehlstoß" :
                                                                                     "; nach einem Fehlstoß",
                                   prozent(loch.gegner));
        protokoll.push_back(zeile + ".\r\n");
    }
    return x;
}

Entscheidung Anstossen(Durchspiel& d, float radius, const Physik& physik, int proben,
                       std::vector<std::string>& protokoll) {
    const Anstosswahl a = WaehleAnstoss(d, radius, Hoechststaerke(physik), proben);
    Entscheidung x;
    x.stoss = a.stoss;
    x.kandidat = Richtungskandidat(Lage(d.stand.kugeln[0]), a.stoss);
    x.erfolge = a.erfolge;
    x.proben = a.proben;
    x.anstoss = true;
    x.belegt = a.gueltig || a.erfolge > 0;
    protokoll.push_back(FormatiereLog("Robust: Anstoß auf das volle Dreieck, Stärke %f%s\r\n",
                                      static_cast<double>(Laenge(a.stoss)),
                                      a.gueltig ? "" : " (ohne Rauschen kein gültiger gefunden)"));
    protokoll.push_back(FormatiereLog("Erfolg %d von %d Proben\r\n", a.erfolge, a.proben));
    return x;
}

// Gelingt der Lochstoß zu selten, wird er gegen Sicherheitsstöße gewogen; eine
// Zeile sagt, was gespielt wird und warum. Reicht die Zeit nicht, um beide
// ganz zu bewerten, bleibt es beim Lochstoß (die Zeitgrenze wird gemeldet).
void WaegeGegenSicherheit(Entscheidung& x, Durchspiel& d, const Planereinstellung& e, const Physik& physik,
                          float radius, std::vector<std::string>& protokoll) {
    const Sicherheitswahl s = WaegeSicherheit(d, x.stoss, e.proben, physik, radius, Hoechststaerke(physik));
    if (!s.lochstoss.ganz || (!s.gefunden && d.frist.abgelaufen)) return;
    const int lochProzent = x.proben ? 100 * x.erfolge / x.proben : 0;
    if (!s.gefunden) {
        protokoll.push_back("Sicherheit: kein gültiger Sicherheitsstoß gefunden, der Lochstoß bleibt.\r\n");
        return;
    }
    if (!(s.sicherheit.wert > s.lochstoss.wert)) {
        protokoll.push_back(FormatiereLog("Sicherheit: der Lochstoß bleibt (%d %% Erfolg), er ist mehr wert als der "
                                          "beste Sicherheitsstoß (%f gegen %f).\r\n",
                                          lochProzent, s.lochstoss.wert, s.sicherheit.wert));
        return;
    }
    const int gegnerProzent = static_cast<int>(100.0 * std::max(s.sicherheit.gegner, 0.0) + 0.5);
    protokoll.push_back(FormatiereLog("Sicherheit: gespielt wird ein Sicherheitsstoß, Stärke %f: der Lochstoß "
                                      "gelingt nur zu %d %%, danach locht der Gegner zu %d %% (Wert %f gegen %f).\r\n",
                                      static_cast<double>(Laenge(s.stoss)), lochProzent, gegnerProzent,
                                      s.sicherheit.wert, s.lochstoss.wert));
    x.stoss = s.stoss;
    x.kandidat = Richtungskandidat(Lage(d.stand.kugeln[0]), s.stoss);
    x.erfolge = s.sicherheit.gueltig;
    x.proben = s.sicherheit.proben;
    x.sicherheit = true;
    x.belegt = true;
}

std::vector<Linie> Linien(const Entscheidung& x) {
    if (x.kandidat.art != kRichtungssuche) return StossLinien(x.kandidat);
    const Vektor bis = Addiere(x.kandidat.weiss, Skaliere(Normiere(x.stoss), 20.0f));
    return {Linie{bis.x, bis.y, x.kandidat.weiss.x, x.kandidat.weiss.y, kGrau}};
}

// Hat die Grenze gekappt, bevor ein Stoß belegt war, gilt der Rückfallstoß.
void NimmRueckfall(Entscheidung& x, const Rueckfallstoss& r, std::vector<std::string>& protokoll) {
    x.stoss = r.stoss;
    x.kandidat = r.kandidat;
    x.erfolge = x.proben = 0;
    x.sicherheit = false;
    protokoll.push_back(FormatiereLog("Robust: kein Stoß ist belegt, gespielt wird der Rückfallstoß: er trifft ohne "
                                      "Rauschen zuerst Kugel %d%s, Stärke %f\r\n",
                                      r.kugel, r.ohneFoul ? "" : " (mit Foul)", static_cast<double>(Laenge(r.stoss))));
}

void FuelleBericht(const Kandidatenliste& k, const Entscheidung& x, Suchbericht& bericht) {
    std::copy(k.anzahl, k.anzahl + 7, bericht.anzahl);
    bericht.bester = x.kandidat;
    bericht.proben = x.proben;
    bericht.erfolge = x.erfolge;
    bericht.anstoss = x.anstoss;
    bericht.sicherheit = x.sicherheit;
}

}  // namespace

Stoss Richtungskandidat(Vektor weiss, Vektor stoss) {
    Stoss s{};
    s.weiss = weiss;
    s.ziel = Addiere(weiss, Skaliere(Normiere(stoss), 20.0f));
    s.art = kRichtungssuche;
    return s;
}

std::uint64_t SaatAusStand(const Spielstand& stand) {
    // FNV-1a über die Felder, die ein Dokument trägt: Lage, inloch, Zieltasche, Gruppe.
    std::uint64_t h = 0xcbf29ce484222325ull;
    auto nimm = [&h](const void* p, std::size_t n) {
        const auto* b = static_cast<const unsigned char*>(p);
        for (std::size_t i = 0; i < n; ++i) h = (h ^ b[i]) * 0x100000001b3ull;
    };
    for (const Kugel& k : stand.kugeln) {
        nimm(&k.x, sizeof k.x);
        nimm(&k.y, sizeof k.y);
        nimm(&k.inloch, sizeof k.inloch);
        nimm(&k.zieltasche, sizeof k.zieltasche);
    }
    nimm(&stand.gruppe, sizeof stand.gruppe);
    return h;
}

Planergebnis SucheStossRobust(const Tischkontext& tk, const Planerkontext& pk, const Spielstand& stand) {
    const Planereinstellung& e = pk.einstellung;
    Frist frist = StarteFrist(e.zeitgrenze, e.stoesse);
    Planergebnis p;
    Kandidatenliste k = ListenKandidaten(tk, stand, e.kandidaten);
    p.protokoll = Zaehlerzeilen(k.anzahl);
    const Tischgeometrie g = BaueTischgeometrie(tk);

    // Dieselben Störungen für jede Variante: Unterschiede kommen vom Stoß, nicht vom Zufall.
    std::vector<double> zr(static_cast<std::size_t>(std::max(e.proben, kVorproben))), zs(zr.size());
    std::mt19937_64 zufall(SaatAusStand(stand));
    for (std::size_t i = 0; i < zr.size(); ++i) Normalpaar(zufall, zr[i], zs[i]);
    Durchspiel d{tk, stand, g, pk.welt, e.rauschen, zr.data(), zs.data(), frist, {}};
    if (e.vertrauenJeArt && e.klassenrauschen[0] > 0.0) d.klassenrauschen = e.klassenrauschen.data();

    // Zuerst, billig und ohne Rücksicht auf die Grenze: was gespielt wird,
    // wenn sie kappt, bevor etwas Besseres belegt ist.
    const bool dreieck = VollesDreieck(stand, pk.radius);
    const Rueckfallstoss rueckfall = FindeRueckfallstoss(d, k.liste[0], Listenstoss(k, pk.physik, pk.radius),
                                                         Hoechststaerke(pk.physik), dreieck);
    Entscheidung x;
    if (dreieck) {
        x = Anstossen(d, pk.radius, pk.physik, e.proben, p.protokoll);
    } else if (e.tiefe == 2) {
        x = ZweiHalbzuege(k, d, e, pk.physik, pk.radius, p.protokoll);
    } else {
        x = Lochstoss(k, d, e, pk.physik, pk.radius, p.protokoll);
        const double quote = x.proben ? static_cast<double>(x.erfolge) / x.proben : 0.0;
        if (e.sicherheit && quote < e.sicherheitSchwelle) WaegeGegenSicherheit(x, d, e, pk.physik, pk.radius, p.protokoll);
    }
    if (frist.abgelaufen && StoesseVerbraucht(frist))
        p.protokoll.push_back(FormatiereLog(
            "Robust: Grenze von %d simulierten Stößen erreicht, gespielt wird der beste bis dahin gefundene Stoß.\r\n",
            static_cast<int>(e.stoesse)));
    else if (frist.abgelaufen)
        p.protokoll.push_back(FormatiereLog(
            "Robust: Zeitgrenze von %d ms erreicht, gespielt wird der beste bis dahin gefundene Stoß.\r\n",
            e.zeitgrenze));
    if (frist.abgelaufen && !x.belegt && rueckfall.gefunden) NimmRueckfall(x, rueckfall, p.protokoll);
    p.stoss = x.stoss;
    p.linien = Linien(x);
    FuelleBericht(k, x, p.bericht);
    p.bericht.gekappt = frist.abgelaufen;
    p.bericht.stoesse = frist.gespielt;
    return p;
}

Planergebnis PlaneStoss(const Tischkontext& tk, const Planerkontext& pk, const Spielstand& stand, Planerwahl wahl) {
    const bool robust = wahl == Planerwahl::robust ||
                        (wahl == Planerwahl::nachKonfiguration && pk.einstellung.modus == Planermodus::robust);
    if (robust) return SucheStossRobust(tk, pk, stand);
    return SucheStoss(tk, stand, pk.physik, pk.radius);
}
