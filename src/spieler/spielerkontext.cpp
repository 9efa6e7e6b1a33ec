#include "spieler/spielerkontext.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
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

namespace {

// 0 oder errno: lässt sich die Datei öffnen und lesen?
int Lesbar(const std::string& pfad) {
    const int d = ::open(pfad.c_str(), O_RDONLY | O_CLOEXEC);
    if (d < 0) return errno;
    char zeichen;
    const int fehler = ::read(d, &zeichen, 1) < 0 ? errno : 0;  // ein Verzeichnis öffnet, liest aber nicht
    ::close(d);
    return fehler;
}

// 0 oder errno: lässt sich im Verzeichnis eine Datei anlegen? (access sagt
// für root immer ja, auch wo die Platte nur lesbar eingehängt ist.)
int Beschreibbar(const std::string& verzeichnis) {
    const std::string probe = verzeichnis + ".stosswerk-probe." + std::to_string(::getpid());
    const int d = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (d < 0) return errno;
    ::close(d);
    ::unlink(probe.c_str());
    return 0;
}

}  // namespace

std::string FehltZumAntworten(const Spielerkontext& k) {
    for (const char* vorlage : {"ki-result.xml", "ki-status.xml"}) {
        const std::string pfad = k.pfade.verzeichnis + vorlage;
        if (const int fehler = Lesbar(pfad))
            return FormatiereLog("Vorlage %s nicht lesbar (Errorcode: %d).", pfad.c_str(), fehler);
    }
    std::shared_ptr<const IniDatei> ini;
    {
        std::lock_guard sperre(k.zustand->mutex);
        ini = k.zustand->zuletzt;
    }
    const Planereinstellung e = PlanerAus(ini ? *ini : IniDatei{});
    if (e.beobachten || e.lernen) {
        if (const int fehler = Beschreibbar(k.pfade.daten))
            return FormatiereLog("Datenverzeichnis %s nicht beschreibbar (Errorcode: %d), Beobachten und Lernen "
                                 "brauchen es.", k.pfade.daten.c_str(), fehler);
    }
    return {};
}

bool SchalteNetzEin(Spielerkontext& k) {
    if (const std::string fehlt = FehltZumAntworten(k); !fehlt.empty()) {
        SchreibeLog(k.anzeige, "%s Netzwerk bleibt aus.\r\n", fehlt.c_str());
        ZeigeMeldung(k.anzeige, "Fehler", fehlt + " Netzwerk bleibt aus.", Symbol::Fehler);
        return false;
    }
    // Ohne lauschenden Server wäre "running" gelogen.
    if (!StarteServer(k.server, k.netz.port, k.netz)) return false;
    SendeNetzStatus(k.sender, true);
    return true;
}

void SchalteNetzAus(Spielerkontext& k) {
    StoppeServer(k.server);
    SendeNetzStatus(k.sender, false);
}
