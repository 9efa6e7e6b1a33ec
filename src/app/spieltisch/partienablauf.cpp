#include "partienablauf.h"

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <memory>

#include <nlohmann/json.hpp>

#include "abbruch.h"
#include "ablauf.h"
#include "ausgabedateien.h"
#include "einstellungen.h"
#include "model/konfiguration.h"
#include "sim/beobachtung.h"
#include "partieausgabe.h"
#include "spiel/json_lesen.h"
#include "spiel/partiebericht.h"
#include "spielablauf.h"

namespace {

// Eine Partie scheiterte (etwa kein Speicher): ein Bericht ohne sie wäre falsch.
int Rechenfehler(const std::string& fehler, std::ostream& meldungen) {
    meldungen << "spieltisch: Ein Rechenthread ist gescheitert (" << fehler << ").\n";
    return kFalscherAufruf;
}


// Die Planer der beiden Spieler: im Prozess mit ihrer eigenen config.ini oder
// über das Netz. false mit Meldung, wenn eine genannte Datei nicht lesbar ist.
// lokale: wenn nicht nullptr, die Planer im Prozess, um sie später einzustellen.
bool BaueSpieler(const Optionen& o, const Spielumgebung& u, const Dokumentkopf& kopf, const Socket& hoerer,
                 Planer spieler[2], std::ostream& meldungen,
                 std::vector<std::shared_ptr<LokalerPlaner>>* lokale = nullptr) {
    const std::string* namen[2] = {&o.spielerA, &o.spielerB};
    for (int i = 0; i < 2; ++i) {
        const std::string& name = *namen[i];
        std::string adresse;
        std::uint16_t port = 0;
        if (LeseNetzadresse(name, adresse, port)) {
            spieler[i] = NetzBote(kopf, adresse, port, hoerer, o.zeitlimitMs, meldungen);
            continue;
        }
        auto p = std::make_shared<LokalerPlaner>();
        const bool benannt = name != "vorgegeben" && name != "robust";
        const Wahl wahl = !benannt ? (name == "robust" ? Wahl::robust : Wahl::vorgegeben) : Wahl::nachDatei;
        if (!LadePlaner(benannt ? name : u.konfiguration, wahl, benannt, *p)) {
            meldungen << "spieltisch: Die Konfigurationsdatei " << name << " von Spieler " << (i == 0 ? "A" : "B")
                      << " kann nicht gelesen werden.\n";
            return false;
        }
        Bemesse(*p, u.zeitgrenze);
        if (lokale) lokale->push_back(p);
        spieler[i] = LokalerBote(kopf, p);
    }
    return true;
}

// Die Einstellungen von A, B (null: über das Netz) und dem Schiedsrichter.
nlohmann::ordered_json Einstellungen(const Optionen& o, const Spielumgebung& u) {
    nlohmann::ordered_json j;
    const std::string* namen[2] = {&o.spielerA, &o.spielerB};
    for (int i = 0; i < 2; ++i) {
        const std::string& name = *namen[i];
        std::string adresse;
        std::uint16_t port = 0;
        const bool benannt = name != "vorgegeben" && name != "robust";
        j[i == 0 ? "a" : "b"] = LeseNetzadresse(name, adresse, port)
                                    ? nlohmann::ordered_json(nullptr)
                                    : EinstellungenAusDatei(benannt ? name : u.konfiguration, false);
    }
    j["schiedsrichter"] = EinstellungenAusDatei(o.welt.empty() ? u.konfiguration : o.welt, true);
    return j;
}

bool UeberDasNetz(const Optionen& o) {
    std::string adresse;
    std::uint16_t port = 0;
    return LeseNetzadresse(o.spielerA, adresse, port) || LeseNetzadresse(o.spielerB, adresse, port);
}

}  // namespace

int SpielePartienAus(const Optionen& o, std::ostream& aus, std::ostream& meldungen, const Partiebildmaler& maler) {
    Spielumgebung u;
    Dokumentkopf kopf;
    if (!BereiteSpielVor(o, u, kopf, meldungen)) return kFalscherAufruf;
    Ablage ablage;
    ablage.verzeichnis = o.speicherVerzeichnis;
    kopf.ablage = &ablage;
    std::ofstream protokoll, beobachtungen;
    if (!OeffneAusgabe(protokoll, o.protokollDatei, false, "Protokoll", meldungen) ||
        !OeffneAusgabe(beobachtungen, o.beobachtungen, true, "Beobachtungen", meldungen) ||
        !LegeVerzeichnisAn(o.bilderVerzeichnis, meldungen) || !LegeVerzeichnisAn(o.speicherVerzeichnis, meldungen))
        return kFalscherAufruf;

    Socket hoerer;
    if (UeberDasNetz(o) && !OeffneAntwortPort(o, kopf, hoerer, meldungen)) return kFalscherAufruf;
    Planer spieler[2];
    if (!BaueSpieler(o, u, kopf, hoerer, spieler, meldungen)) return kFalscherAufruf;

    Partiebericht b;
    b.modell = o.modell;
    b.rauschen = o.rauschen;
    b.lauf = {*o.zufallSaat, {o.spielerA, o.spielerB}, o.welt};
    Fortschritt fortschritt;
    fortschritt.einheit = "Partien";
    BeginneFortschritt(fortschritt, o.partien, STDERR_FILENO, meldungen);
    Simergebnis e;
    Laufwege wege;
    const Protokollwelt welt = WeltDesLaufs(o, u);
    std::uint32_t fertig = 0;
    std::string fehler;
    const bool gerechnet = SpielePartien(u, 2 * (o.ab - 1) + 1, o.partien, o.threads, spieler, [&](const Partie& p) {
        ++fertig;
        Zaehle(b, p);
        for (const Partiestoss& s : p.stoesse) {
            if (protokoll.is_open()) protokoll << Partieprotokollzeile(p, s, welt) << "\n";
            // Ein Stoß jenseits von float wurde nicht gespielt: keine Beobachtung.
            const Vektor stoss = AntwortStoss(s.antwort[0], s.antwort[1]);
            if (beobachtungen.is_open() && std::isfinite(stoss.x) && std::isfinite(stoss.y))
                beobachtungen << BeobachtungAlsJson({s.vorher, stoss, s.nachher}) << "\n";
        }
        if (maler) {
            if (const Partiestoss* s = EntscheidenderStoss(p)) {
                Simuliere(u.geometrie, u.welt, s->vorher, s->gespielt, e, &wege);  // derselbe Stoß, mit Laufwegen
                maler(p, *s, e, wege);
            }
        }
        // Sofort ins Protokoll: nach einem Abbruch steht dort alles bis zur letzten fertigen Partie.
        if (protokoll.is_open()) protokoll.flush();
        if (beobachtungen.is_open()) beobachtungen.flush();
        TischFertig(fortschritt, static_cast<long>(p.stoesse.size()));
    }, fehler, &gAbbruch);
    BeendeFortschritt(fortschritt);
    if (!gerechnet) return Rechenfehler(fehler, meldungen);
    // Ganze Gestelle von o.ab an, auch nach einem Abbruch (SpielePartien beginnt dann kein neues).
    std::vector<Bereich> bereiche;
    if (fertig >= 2) FuegeBereichHinzu(bereiche, {o.ab, o.ab + fertig / 2 - 1});
    const int abbruch = fertig < o.partien ? gAbbruch.load() : 0;

    if (!SchliesseAusgaben(o, protokoll, beobachtungen, ablage, meldungen)) return kFalscherAufruf;
    if (o.json) {
        nlohmann::ordered_json j = AlsJson(b);
        j["bereiche"] = BereicheAlsJson(bereiche);
        j["einstellungen"] = Einstellungen(o, u);
        ErgaenzeAbbruch(j, abbruch);
        aus << j.dump() << "\n";
    } else {
        SchreibePartiebericht(b, aus);
        SchreibeAbbruch(aus, abbruch, fertig / 2, o.partien / 2, "Gestellen");
    }
    if (abbruch != 0) return AbbruchRueckgabe(abbruch);
    return b.ohneAntwort == 0 ? kAllesBeantwortet : kAntwortFehlt;
}

int SpieleRauschreihe(const Optionen& o, std::ostream& aus, std::ostream& meldungen, const Siegkurvenmaler& maler) {
    Spielumgebung u;
    Dokumentkopf kopf;
    if (!BereiteSpielVor(o, u, kopf, meldungen)) return kFalscherAufruf;
    Socket hoerer;
    if (UeberDasNetz(o) && !OeffneAntwortPort(o, kopf, hoerer, meldungen)) return kFalscherAufruf;
    Planer spieler[2];
    std::vector<std::shared_ptr<LokalerPlaner>> lokale;
    if (!BaueSpieler(o, u, kopf, hoerer, spieler, meldungen, &lokale)) return kFalscherAufruf;
    const std::vector<double> faktoren =
        o.rauschfaktoren.empty() ? std::vector<double>{0.0, 0.5, 1.0, 1.5, 2.0} : o.rauschfaktoren;
    Fortschritt fortschritt;
    fortschritt.einheit = "Partien";
    BeginneFortschritt(fortschritt, o.partien * static_cast<std::uint32_t>(faktoren.size()), STDERR_FILENO, meldungen);
    std::vector<Rauschpunkt> punkte;
    bool ohneAntwort = false;
    for (double f : faktoren) {
        // Wie ein Spieler, dem man das Rauschen des Tisches sagt ([planer] rauschen);
        // der vorgegebene Planer kennt kein Rauschen.
        if (o.mitteilen)
            for (const auto& p : lokale) p->kontext.einstellung.rauschen = f;
        Rauschpunkt r{f, {}};
        r.bericht.modell = o.modell;
        r.bericht.rauschen = u.rauschen = f;
        r.bericht.lauf = {*o.zufallSaat, {o.spielerA, o.spielerB}, o.welt};
        std::string fehler;
        if (!SpielePartien(u, 2 * (o.ab - 1) + 1, o.partien, o.threads, spieler, [&](const Partie& p) {
                Zaehle(r.bericht, p);
                TischFertig(fortschritt, static_cast<long>(p.stoesse.size()));
            }, fehler))
            return Rechenfehler(fehler, meldungen);
        ohneAntwort |= r.bericht.ohneAntwort > 0;
        punkte.push_back(std::move(r));
    }
    BeendeFortschritt(fortschritt);
    if (o.json) {
        nlohmann::ordered_json j = nlohmann::ordered_json::array();
        for (const Rauschpunkt& r : punkte) {
            j.push_back(AlsJson(r.bericht));
            if (o.mitteilen) j.back()["mitgeteilt"] = true;
        }
        aus << j.dump() << "\n";
    } else {
        char z[200];
        std::snprintf(z, sizeof z, "Partien je Rauschfaktor: %u, A = %s, B = %s, Modell %s\n", o.partien,
                      o.spielerA.c_str(), o.spielerB.c_str(), Modellname(o.modell));
        aus << z;
        if (o.mitteilen) aus << "Die Spieler im Prozess planen mit dem Rauschfaktor der Zeile.\n";
        aus << "Rauschen | Siege A (95 %)              | Siege B | Remis | Stöße je Partie\n";
        for (const Rauschpunkt& r : punkte) {
            double unten, oben;
            const double q = QuoteA(r.bericht, unten, oben);
            std::snprintf(z, sizeof z, "%8.2f | %5d = %5.1f %% (%4.1f–%4.1f %%) | %7d | %5d | %15.1f\n", r.rauschen,
                          r.bericht.spieler[0].siege, 100 * q, 100 * unten, 100 * oben, r.bericht.spieler[1].siege,
                          r.bericht.remis,
                          r.bericht.partien ? static_cast<double>(r.bericht.stoesse) / r.bericht.partien : 0.0);
            aus << z;
        }
    }
    if (!o.bild.empty()) {
        std::string fehler;
        if (!maler || !maler(punkte, o, fehler)) {
            meldungen << "spieltisch: " << (fehler.empty() ? "Bild nicht geschrieben." : fehler) << "\n";
            return kFalscherAufruf;
        }
    }
    return ohneAntwort ? kAntwortFehlt : kAllesBeantwortet;
}
