#include "spielablauf.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

#include "ablauf.h"
#include "anzeige/anzeige.h"
#include "antwort.h"
#include "bericht.h"
#include "fortschritt.h"
#include "model/konfiguration.h"
#include "net/xml_lesen.h"
#include "netz.h"

namespace {

constexpr const char* kEigeneAdresse = "127.0.0.1";

// Über das Netz: senden, auf die Antwort warten, sie prüfen. Eine späte Antwort
// auf einen früheren Stoß wird übergangen.
Planer Netzplaner(const Optionen& o, const Socket& hoerer, std::ostream& meldungen) {
    return [&o, &hoerer, &meldungen](const std::string& dokument, std::uint32_t cmdid) {
        Planerantwort a;
        std::string fehler;
        const Zeitpunkt frist = Uhr::now() + std::chrono::milliseconds(o.zeitlimitMs);
        if (!SendeDokument(o.spielerAdresse, o.spielerPort, dokument, frist, fehler)) {
            meldungen << "spieltisch: cmdid=" << cmdid << ": Senden gescheitert: " << fehler << "\n";
            return a;
        }
        for (;;) {
            std::string text;
            const Empfang e = EmpfangeAntwort(hoerer.fd, -1, frist, text, {});
            if (e == Empfang::zeitueberschreitung) {
                meldungen << "spieltisch: cmdid=" << cmdid << ": keine Antwort binnen " << o.zeitlimitMs << " ms.\n";
                return a;
            }
            const Antwortpruefung p = e == Empfang::zu_gross ? Antwortpruefung{} : PruefeAntwort(text, cmdid);
            if (!p.gut && p.cmdid && *p.cmdid >= 0 && *p.cmdid < static_cast<std::int64_t>(cmdid)) continue;
            if (!p.gut) {
                meldungen << "spieltisch: cmdid=" << cmdid << ": fehlerhafte Antwort: " << p.fehler << ".\n";
                return a;
            }
            a.gut = true;
            a.x = p.x;
            a.y = p.y;
            return a;
        }
    };
}

}  // namespace

bool BereiteSpielVor(const Optionen& o, Spielumgebung& u, std::ostream& meldungen) {
    if (!o.konfiguration.empty()) {
        // Nur die Datei neben dem Programm darf fehlen; eine genannte muss lesbar sein.
        IniDatei ini;
        if (!LeseIniDatei(o.konfiguration, ini)) {
            meldungen << "spieltisch: Die Konfigurationsdatei " << o.konfiguration << " kann nicht gelesen werden.\n";
            return false;
        }
        SetzeKonfigurationsdatei(o.konfiguration);
    }
    {
        IniDatei leer;  // die Tische liegen immer auf dem Vorgabetisch, wie bei den anderen Zufallstischen
        TischAus(leer, u.tisch);
    }
    // Der Dokumentleser rechnet mit dem globalen Tisch um, und --lokal plant
    // darauf: beides ist der Tisch, auf dem gespielt wird.
    tisch = u.tisch;
    BerechneTaschenpunkte();
    SetzeXmlFehlerausgabe(false);
    InstalliereAnzeige(StilleAnzeige());
    u.geometrie = BaueTischgeometrie(u.tisch);
    u.welt = LadeWelt(Konfigurationsdatei(), o.modell);
    u.rauschen = o.rauschen;
    u.saat = *o.zufallSaat;
    u.eigeneAdresse = kEigeneAdresse;
    u.antwortPort = o.antwortPort;
    return true;
}

std::vector<Zufallstisch> Spieltische(const Optionen& o, const Tisch& t) {
    // Alle Tische vorab aus der Saat: gleiche Tische, wie viele Threads es auch sind.
    std::mt19937 zufall(*o.zufallSaat);
    std::vector<Zufallstisch> tische;
    for (std::uint32_t i = 0; i < o.anzahl; ++i) tische.push_back(ErzeugeSpieltisch(t, zufall, o.kugeln, o.gruppe));
    return tische;
}

std::vector<Aufnahme> SpieleLokal(const Optionen& o, const Spielumgebung& u, const std::vector<Zufallstisch>& tische,
                                  bool robust, Fortschritt& fortschritt) {
    std::vector<Aufnahme> aufnahmen(tische.size());
    const Planer planer = [robust](const std::string& d, std::uint32_t) { return PlaneLokal(d, robust); };
    std::atomic<std::size_t> naechster{0};
    auto arbeite = [&] {
        for (std::size_t i; (i = naechster++) < tische.size();) {
            aufnahmen[i] = SpieleAufnahme(u, static_cast<std::uint32_t>(i + 1), tische[i], planer);
            TischFertig(fortschritt, static_cast<long>(aufnahmen[i].stoesse.size()));
        }
    };
    std::vector<std::thread> helfer;
    for (int t = 1; t < o.threads; ++t) helfer.emplace_back(arbeite);
    arbeite();
    for (std::thread& t : helfer) t.join();
    return aufnahmen;
}

int SpieleAufnahmen(const Optionen& o, std::ostream& aus, std::ostream& meldungen, const Bildmaler& maler) {
    Spielumgebung u;
    if (!BereiteSpielVor(o, u, meldungen)) return kFalscherAufruf;
    u.maler = maler;

    std::ofstream protokoll;
    if (!o.protokollDatei.empty()) {
        protokoll.open(o.protokollDatei, std::ios::binary | std::ios::trunc);
        if (!protokoll) {
            meldungen << "spieltisch: Protokoll " << o.protokollDatei << " kann nicht geschrieben werden.\n";
            return kFalscherAufruf;
        }
    }
    if (!o.bilderVerzeichnis.empty()) {
        std::error_code fehler;
        std::filesystem::create_directories(o.bilderVerzeichnis, fehler);
        if (fehler || !std::filesystem::is_directory(o.bilderVerzeichnis)) {
            meldungen << "spieltisch: Verzeichnis " << o.bilderVerzeichnis << " kann nicht angelegt werden.\n";
            return kFalscherAufruf;
        }
    }

    const std::vector<Zufallstisch> tische = Spieltische(o, u.tisch);
    std::vector<Aufnahme> aufnahmen(o.anzahl);
    Fortschritt fortschritt;
    BeginneFortschritt(fortschritt, o.anzahl, STDERR_FILENO, meldungen);

    if (o.lokal) {
        aufnahmen = SpieleLokal(o, u, tische, o.robust, fortschritt);
    } else {
        std::string fehler;
        std::uint16_t port = 0;
        const Socket hoerer = OeffneAntwortPort(o.antwortPort, port, fehler);
        if (!hoerer) {
            meldungen << "spieltisch: " << fehler << "\n";
            return kFalscherAufruf;
        }
        if (o.antwortPort == 0) meldungen << "spieltisch: antwort_port=" << port << "\n";
        u.antwortPort = port;
        const Planer planer = Netzplaner(o, hoerer, meldungen);
        for (std::uint32_t i = 0; i < o.anzahl; ++i) {
            aufnahmen[i] = SpieleAufnahme(u, i + 1, tische[i], planer);
            TischFertig(fortschritt, static_cast<long>(aufnahmen[i].stoesse.size()));
        }
    }
    BeendeFortschritt(fortschritt);

    Spielbericht b;
    b.modell = o.modell;
    b.rauschen = o.rauschen;
    for (const Aufnahme& a : aufnahmen) {
        Zaehle(b, a);
        for (const Stosszeile& z : a.stoesse)
            if (protokoll.is_open()) protokoll << Protokollzeile(z) << "\n";
    }
    if (protokoll.is_open() && !protokoll.flush()) {
        meldungen << "spieltisch: Protokoll " << o.protokollDatei << " kann nicht geschrieben werden.\n";
        return kFalscherAufruf;
    }
    if (o.json) SchreibeBerichtJson(b, aus);
    else SchreibeBericht(b, aus);
    return b.ohneAntwort == 0 ? kAllesBeantwortet : kAntwortFehlt;
}
