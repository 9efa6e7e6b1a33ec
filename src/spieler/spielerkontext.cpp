#include "spieler/spielerkontext.h"

#include <atomic>
#include <mutex>

#include "net/anfrage.h"
#include "net/xml_lesen.h"
#include "planner/robuste_suche.h"

struct Spielerzustand {
    std::mutex mutex;
    std::shared_ptr<const IniDatei> zuletzt;  // die zuletzt gelesene config.ini
    std::atomic<int> anfragen{0};             // in Arbeit
};

std::shared_ptr<Spielerzustand> NeuerSpielerzustand() { return std::make_shared<Spielerzustand>(); }

namespace {

// Solange sie lebt, ist eine Anfrage in Arbeit.
struct InArbeit {
    Spielerzustand& z;
    explicit InArbeit(Spielerzustand& s) : z(s) { ++z.anfragen; }
    ~InArbeit() { --z.anfragen; }
    InArbeit(const InArbeit&) = delete;
    InArbeit& operator=(const InArbeit&) = delete;
};

}  // namespace

int BaueSpieler(Spielerkontext& k, const Pfade& pfade, const Anzeige& anzeige) {
    k.pfade = pfade;
    k.anzeige = anzeige;
    auto ini = std::make_shared<IniDatei>();
    const int fehler = LeseKonfiguration(pfade.konfiguration, *ini);
    if (fehler) SchreibeLog(anzeige, kKonfigurationUnlesbar, pfade.konfiguration.c_str(), fehler);
    Tisch t;
    TischAus(*ini, t);
    k.tisch = BaueTischkontext(t);
    k.netz = NetzAus(*ini);
    k.server.anzeige = anzeige;
    k.server.bearbeite = [&k](const std::string& dokument, const std::string& eigeneAdresse) {
        BearbeiteAnfrage(k, dokument, eigeneAdresse);
    };
    k.sender.anzeige = anzeige;
    k.sender.verzeichnis = pfade.verzeichnis;
    k.sender.netz = k.netz;
    k.lerner.anzeige = anzeige;
    k.lerner.pfade = pfade;
    k.lerner.tisch = k.tisch;
    if (!fehler) k.zustand->zuletzt = ini;
    LadeGelerntenTisch(k.lerner, *ini);
    return fehler;
}

std::shared_ptr<const IniDatei> LeseEinstellungen(Spielerkontext& k) {
    auto ini = std::make_shared<IniDatei>();
    const int fehler = LeseKonfiguration(k.pfade.konfiguration, *ini);
    std::lock_guard sperre(k.zustand->mutex);
    if (!fehler) {
        k.zustand->zuletzt = ini;
        return ini;
    }
    if (!k.zustand->zuletzt) {
        SchreibeLog(k.anzeige, kKonfigurationUnlesbar, k.pfade.konfiguration.c_str(), fehler);
        return ini;
    }
    SchreibeLog(k.anzeige, "Konfiguration %s nicht lesbar (Errorcode: %d), es gelten die zuletzt gelesenen Werte.\r\n",
                k.pfade.konfiguration.c_str(), fehler);
    return k.zustand->zuletzt;
}

Planergebnis PlaneUndZeige(Spielerkontext& k, const IniDatei& ini, const Spielstand& stand) {
    const auto gelernt = GelernterTischVon(k.lerner);
    const Planerkontext pk = PlanerkontextAus(ini, gelernt.get());
    Planergebnis p = PlaneStoss(k.tisch, pk, stand);
    ZeigeProtokoll(k.anzeige, p.protokoll);
    ZeichneLinien(k.anzeige, p.linien);
    if (k.geplant) k.geplant(k.tisch, stand, p.stoss, pk);
    return p;
}

Planergebnis Starte(Spielerkontext& k, const Spielstand& stand) {
    if (k.zustand->anfragen == 0) LoescheLog(k.anzeige);
    const std::shared_ptr<const IniDatei> ini = LeseEinstellungen(k);
    return PlaneUndZeige(k, *ini, stand);
}

void BearbeiteAnfrage(Spielerkontext& k, const std::string& dokument, const std::string& eigeneAdresse) {
    Spielstand stand{};
    NetzStatus anfrage;  // cmd und die Antwortadresse: anfrage.ipAdresse, anfrage.port
    if (!LeseSpielstandXML(k.tisch, dokument, stand) || !LeseNetzStatusXML(anfrage, dokument)) {
        MeldeFehlerhafteAnfrage(k.anzeige);
        return;
    }
    const InArbeit inArbeit(*k.zustand);
    k.anzeige.kugelnUebernommen(stand);
    ZeigeKugeln(k.anzeige, stand);
    const std::shared_ptr<const IniDatei> ini = LeseEinstellungen(k);
    const std::string adresse = anfrage.ipAdresse + ":" + std::to_string(anfrage.port);
    PruefeAnfrageAufBeobachtung(k.lerner, *ini, adresse, stand);
    const Planergebnis p = PlaneUndZeige(k, *ini, stand);  // vorgegeben wie immer, robust nur, wenn [planer] es sagt
    ZeigeVektor(k.anzeige, p.stoss);
    MerkeAntwort(k.lerner, *ini, adresse, stand, p.stoss);
    Beantworte(k.sender, anfrage, p.stoss, eigeneAdresse);
}

bool SchalteNetzEin(Spielerkontext& k) {
    // Ohne lauschenden Server wäre "running" gelogen.
    if (!StarteServer(k.server, k.netz.port, k.netz)) return false;
    SendeNetzStatus(k.sender, true);
    return true;
}

void SchalteNetzAus(Spielerkontext& k) {
    StoppeServer(k.server);
    SendeNetzStatus(k.sender, false);
}
