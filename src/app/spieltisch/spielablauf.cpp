#include "spielablauf.h"

#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cmath>
#include <fstream>
#include <map>
#include <mutex>
#include <random>

#include "abbruch.h"
#include "ablauf.h"
#include "anzeige/anzeige.h"
#include "ausgabedateien.h"
#include "bericht.h"
#include "einstellungen.h"
#include "model/arbeite_parallel.h"
#include "model/konfiguration.h"
#include "sim/beobachtung.h"
#include "net/xml_lesen.h"
#include "spiel/aufnahmebericht.h"

bool BereiteSpielVor(const Optionen& o, Spielumgebung& u, Dokumentkopf& kopf, std::ostream& meldungen) {
    u.konfiguration = o.konfiguration.empty() ? BestimmePfade().konfiguration : o.konfiguration;
    IniDatei ini;
    // Nur die Datei neben dem Programm darf fehlen; eine genannte muss lesbar sein.
    if (!LeseIniDatei(u.konfiguration, ini) && !o.konfiguration.empty()) {
        meldungen << "spieltisch: Die Konfigurationsdatei " << o.konfiguration << " kann nicht gelesen werden.\n";
        return false;
    }
    // Die Tische liegen immer auf dem Vorgabetisch, wie bei den anderen Zufallstischen.
    u.tk = VorgabeKontext();
    u.geometrie = BaueTischgeometrie(u.tk);
    if (o.welt.empty()) {
        u.welt = WeltAus(ini, o.modell);
    } else {
        IniDatei welt;
        if (!LeseIniDatei(o.welt, welt)) {
            meldungen << "spieltisch: Die Welt " << o.welt << " kann nicht gelesen werden.\n";
            return false;
        }
        u.welt = WeltAus(welt, Modell::R);
    }
    u.rauschen = o.rauschen;
    u.saat = o.zufallSaat.value_or(0);
    u.zeitgrenze = o.zeitgrenze ? static_cast<int>(*o.zeitgrenze) : -1;
    kopf.tisch = u.tk;
    kopf.eigeneAdresse = kEigeneAdresse;
    kopf.antwortPort = o.antwortPort;
    return true;
}

bool OeffneAntwortPort(const Optionen& o, Dokumentkopf& kopf, Socket& hoerer, std::ostream& meldungen) {
    std::string fehler;
    std::uint16_t port = 0;
    hoerer = OeffneAntwortPort(o.antwortPort, port, fehler);
    if (!hoerer) {
        meldungen << "spieltisch: " << fehler << "\n";
        return false;
    }
    if (o.antwortPort == 0) meldungen << "spieltisch: antwort_port=" << port << "\n";
    kopf.antwortPort = port;
    return true;
}

bool SchliesseAusgaben(const Optionen& o, std::ofstream& protokoll, std::ofstream& beobachtungen, const Ablage& ablage,
                       std::ostream& meldungen) {
    if (!SchliesseAusgabe(protokoll, o.protokollDatei, "Protokoll", meldungen) ||
        !SchliesseAusgabe(beobachtungen, o.beobachtungen, "Beobachtungen", meldungen))
        return false;
    if (!ablage.fehler.empty()) {
        meldungen << "spieltisch: " << ablage.fehler << " kann nicht geschrieben werden.\n";
        return false;
    }
    return true;
}

std::vector<Zufallstisch> Spieltische(const Optionen& o, const Tisch& t) {
    // Alle Tische vorab aus der Saat: gleiche Tische, wie viele Threads es auch
    // sind. Die Tische vor o.ab werden gezogen und verworfen.
    std::mt19937 zufall(*o.zufallSaat);
    for (std::uint32_t i = 1; i < o.ab; ++i) ErzeugeSpieltisch(t, zufall, o.kugeln, o.gruppe);
    std::vector<Zufallstisch> tische;
    for (std::uint32_t i = 0; i < o.anzahl; ++i) tische.push_back(ErzeugeSpieltisch(t, zufall, o.kugeln, o.gruppe));
    return tische;
}

Planer PlanerAusKonfiguration(const Spielumgebung& u, const Dokumentkopf& kopf, bool robust) {
    auto p = std::make_shared<LokalerPlaner>();
    LadePlaner(u.konfiguration, robust ? Wahl::robust : Wahl::vorgegeben, false, *p);
    Bemesse(*p, u.zeitgrenze);
    return LokalerBote(kopf, p);
}

std::vector<Aufnahme> SpieleLokal(const Optionen& o, const Spielumgebung& u, const std::vector<Zufallstisch>& tische,
                                  const Planer& planer, Fortschritt& fortschritt) {
    std::vector<Aufnahme> aufnahmen(tische.size());
    SpieleLokal(o, u, tische, planer, fortschritt, [&](std::size_t i, const Aufnahme& a) { aufnahmen[i] = a; }, nullptr);
    return aufnahmen;
}

void SpieleLokal(const Optionen& o, const Spielumgebung& u, const std::vector<Zufallstisch>& tische,
                 const Planer& planer, Fortschritt& fortschritt, const Aufnahmefertig& fertig,
                 const std::atomic<int>* halt) {
    std::atomic<std::size_t> naechster{0};
    std::mutex sperre;
    std::map<std::size_t, Aufnahme> wartend;  // fertig, aber ein früherer Tisch fehlt noch
    std::size_t ausgegeben = 0;
    auto arbeite = [&] {
        // Erst nach dem Halt fragen, dann nehmen: jeder genommene Tisch wird gespielt.
        for (std::size_t i; !(halt && halt->load() != 0) && (i = naechster++) < tische.size();) {
            Aufnahme a = SpieleAufnahme(u, o.ab + static_cast<std::uint32_t>(i), tische[i], planer);
            TischFertig(fortschritt, static_cast<long>(a.stoesse.size()));
            std::lock_guard warte(sperre);
            wartend.emplace(i, std::move(a));
            for (auto w = wartend.find(ausgegeben); w != wartend.end(); w = wartend.find(++ausgegeben)) {
                fertig(w->first, w->second);
                wartend.erase(w);
            }
        }
    };
    if (std::string fehler; !ArbeiteParallel(o.threads, arbeite, fehler)) {
        // Etwa kein Speicher mehr: ein Bericht über fehlende Tische wäre falsch.
        std::fprintf(stderr, "spieltisch: Ein Rechenthread ist gescheitert (%s).\n", fehler.c_str());
        std::exit(kFalscherAufruf);
    }
}

Protokollwelt WeltDesLaufs(const Optionen& o, const Spielumgebung& u) {
    Protokollwelt w;
    w.modell = u.welt.modell;
    w.rauschen = u.rauschen;
    if (!o.welt.empty()) w.datei = o.welt;
    else if (std::ifstream(u.konfiguration)) w.datei = u.konfiguration;
    return w;
}

void ErgaenzeAbbruch(nlohmann::ordered_json& j, int signal) { j["unvollstaendig"] = signal != 0; }

void SchreibeAbbruch(std::ostream& aus, int signal, std::uint32_t fertig, std::uint32_t gesamt, const char* einheit) {
    if (signal == 0) return;
    aus << "Abgebrochen: " << Signalname(signal) << " nach " << fertig << " von " << gesamt << " " << einheit
        << "; der Bericht zählt nur die fertigen.\n";
}

namespace {

Spielbericht LeererBericht(const Optionen& o) {
    Spielbericht b;
    b.modell = o.modell;
    b.rauschen = o.rauschen;
    b.lauf = {*o.zufallSaat, o.gruppe, o.kugeln, o.lokal ? (o.robust ? "robust" : "vorgegeben") : "netz", o.welt};
    return b;
}

// Über das Netz, Tisch für Tisch; false, wenn der Antwort-Port nicht aufgeht.
bool SpieleUeberDasNetz(const Optionen& o, const Spielumgebung& u, Dokumentkopf kopf,
                        const std::vector<Zufallstisch>& tische, const Aufnahmefertig& fertig,
                        Fortschritt& fortschritt, std::ostream& meldungen) {
    Socket hoerer;
    if (!OeffneAntwortPort(o, kopf, hoerer, meldungen)) return false;
    const Planer planer = NetzBote(kopf, o.spielerAdresse, o.spielerPort, hoerer, o.zeitlimitMs, meldungen);
    for (std::uint32_t i = 0; i < tische.size() && gAbbruch.load() == 0; ++i) {
        const Aufnahme a = SpieleAufnahme(u, o.ab + i, tische[i], planer);
        TischFertig(fortschritt, static_cast<long>(a.stoesse.size()));
        fertig(i, a);
    }
    return true;
}

}  // namespace

int SpieleAufnahmen(const Optionen& o, std::ostream& aus, std::ostream& meldungen, const Bildmaler& maler) {
    Spielumgebung u;
    Dokumentkopf kopf;
    if (!BereiteSpielVor(o, u, kopf, meldungen)) return kFalscherAufruf;
    u.maler = maler;
    Ablage ablage;
    ablage.verzeichnis = o.speicherVerzeichnis;
    kopf.ablage = &ablage;

    std::ofstream protokoll, beobachtungen;
    if (!OeffneAusgabe(protokoll, o.protokollDatei, false, "Protokoll", meldungen) ||
        !OeffneAusgabe(beobachtungen, o.beobachtungen, true, "Beobachtungen", meldungen) ||
        !LegeVerzeichnisAn(o.bilderVerzeichnis, meldungen) || !LegeVerzeichnisAn(o.speicherVerzeichnis, meldungen))
        return kFalscherAufruf;

    const std::vector<Zufallstisch> tische = Spieltische(o, u.tk.tisch);
    const Protokollwelt welt = WeltDesLaufs(o, u);
    Spielbericht b = LeererBericht(o);
    std::uint32_t fertig = 0;
    // Jeder fertige Tisch geht sofort ins Protokoll: nach einem Abbruch oder
    // Absturz steht dort alles bis zum letzten fertigen Tisch.
    const Aufnahmefertig zaehle = [&](std::size_t, const Aufnahme& a) {
        ++fertig;
        Zaehle(b, a);
        for (const Stosszeile& z : a.stoesse) {
            if (protokoll.is_open()) protokoll << Protokollzeile(z, welt) << "\n";
            // Ein Stoß jenseits von float wurde nicht gespielt: keine Beobachtung.
            const Vektor stoss = AntwortStoss(z.antwort[0], z.antwort[1]);
            if (beobachtungen.is_open() && std::isfinite(stoss.x) && std::isfinite(stoss.y))
                beobachtungen << BeobachtungAlsJson({z.vorher, stoss, z.nachher}) << "\n";
        }
        if (protokoll.is_open()) protokoll.flush();
        if (beobachtungen.is_open()) beobachtungen.flush();
    };
    Fortschritt fortschritt;
    BeginneFortschritt(fortschritt, o.anzahl, STDERR_FILENO, meldungen);
    if (o.lokal) SpieleLokal(o, u, tische, PlanerAusKonfiguration(u, kopf, o.robust), fortschritt, zaehle, &gAbbruch);
    else if (!SpieleUeberDasNetz(o, u, kopf, tische, zaehle, fortschritt, meldungen)) return kFalscherAufruf;
    BeendeFortschritt(fortschritt);
    // Die Tische von o.ab an ohne Lücke, auch nach einem Abbruch.
    if (fertig > 0) FuegeBereichHinzu(b.bereiche, {o.ab, o.ab + fertig - 1});
    const int abbruch = fertig < o.anzahl ? gAbbruch.load() : 0;

    if (!SchliesseAusgaben(o, protokoll, beobachtungen, ablage, meldungen)) return kFalscherAufruf;
    if (o.json) {
        nlohmann::ordered_json j = AlsJson(b);
        j["einstellungen"] = {{"spieler", o.lokal ? EinstellungenAusDatei(u.konfiguration, false) : nlohmann::ordered_json(nullptr)},
                              {"schiedsrichter", EinstellungenAusDatei(o.welt.empty() ? u.konfiguration : o.welt, true)}};
        ErgaenzeAbbruch(j, abbruch);
        aus << j.dump() << "\n";
    } else {
        SchreibeBericht(b, aus);
        SchreibeAbbruch(aus, abbruch, fertig, o.anzahl, "Tischen");
    }
    if (abbruch != 0) return AbbruchRueckgabe(abbruch);
    return b.ohneAntwort == 0 ? kAllesBeantwortet : kAntwortFehlt;
}
