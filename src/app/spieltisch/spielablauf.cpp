#include "spielablauf.h"

#include <unistd.h>

#include <atomic>
#include <cmath>
#include <fstream>
#include <random>
#include <thread>

#include "ablauf.h"
#include "anzeige/anzeige.h"
#include "ausgabedateien.h"
#include "bericht.h"
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
    std::atomic<std::size_t> naechster{0};
    auto arbeite = [&] {
        for (std::size_t i; (i = naechster++) < tische.size();) {
            aufnahmen[i] = SpieleAufnahme(u, o.ab + static_cast<std::uint32_t>(i), tische[i], planer);
            TischFertig(fortschritt, static_cast<long>(aufnahmen[i].stoesse.size()));
        }
    };
    std::vector<std::thread> helfer;
    for (int t = 1; t < o.threads; ++t) helfer.emplace_back(arbeite);
    arbeite();
    for (std::thread& t : helfer) t.join();
    return aufnahmen;
}

namespace {

Spielbericht LeererBericht(const Optionen& o) {
    Spielbericht b;
    b.modell = o.modell;
    b.rauschen = o.rauschen;
    b.lauf = {*o.zufallSaat, o.gruppe, o.kugeln, o.lokal ? (o.robust ? "robust" : "vorgegeben") : "netz", o.welt};
    if (o.anzahl > 0) FuegeBereichHinzu(b.bereiche, {o.ab, o.ab + o.anzahl - 1});
    return b;
}

// Über das Netz, Tisch für Tisch; false, wenn der Antwort-Port nicht aufgeht.
bool SpieleUeberDasNetz(const Optionen& o, const Spielumgebung& u, Dokumentkopf kopf,
                        const std::vector<Zufallstisch>& tische, std::vector<Aufnahme>& aufnahmen,
                        Fortschritt& fortschritt, std::ostream& meldungen) {
    Socket hoerer;
    if (!OeffneAntwortPort(o, kopf, hoerer, meldungen)) return false;
    const Planer planer = NetzBote(kopf, o.spielerAdresse, o.spielerPort, hoerer, o.zeitlimitMs, meldungen);
    for (std::uint32_t i = 0; i < tische.size(); ++i) {
        aufnahmen[i] = SpieleAufnahme(u, o.ab + i, tische[i], planer);
        TischFertig(fortschritt, static_cast<long>(aufnahmen[i].stoesse.size()));
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
    std::vector<Aufnahme> aufnahmen(tische.size());
    Fortschritt fortschritt;
    BeginneFortschritt(fortschritt, o.anzahl, STDERR_FILENO, meldungen);
    if (o.lokal) aufnahmen = SpieleLokal(o, u, tische, PlanerAusKonfiguration(u, kopf, o.robust), fortschritt);
    else if (!SpieleUeberDasNetz(o, u, kopf, tische, aufnahmen, fortschritt, meldungen)) return kFalscherAufruf;
    BeendeFortschritt(fortschritt);

    Spielbericht b = LeererBericht(o);
    for (const Aufnahme& a : aufnahmen) {
        Zaehle(b, a);
        for (const Stosszeile& z : a.stoesse) {
            if (protokoll.is_open()) protokoll << Protokollzeile(z) << "\n";
            // Ein Stoß jenseits von float wurde nicht gespielt: keine Beobachtung.
            const Vektor stoss = AntwortStoss(z.antwort[0], z.antwort[1]);
            if (beobachtungen.is_open() && std::isfinite(stoss.x) && std::isfinite(stoss.y))
                beobachtungen << BeobachtungAlsJson({z.vorher, stoss, z.nachher}) << "\n";
        }
    }
    if (!SchliesseAusgaben(o, protokoll, beobachtungen, ablage, meldungen)) return kFalscherAufruf;
    if (o.json) aus << AlsJson(b).dump() << "\n";
    else SchreibeBericht(b, aus);
    return b.ohneAntwort == 0 ? kAllesBeantwortet : kAntwortFehlt;
}
