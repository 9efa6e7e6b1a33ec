#include "lernen/spieler_lernt.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <fstream>
#include <memory>
#include <mutex>
#include <sstream>
#include <system_error>
#include <thread>
#include <utility>

#include "anzeige/anzeige.h"
#include "lernen/kalibrierbericht.h"
#include "lernen/kalibrierung.h"
#include "lernen/konfigurationstext.h"
#include "model/konfiguration.h"
#include "planner/gelernter_tisch.h"
#include "planner/planereinstellung.h"
#include "sim/beobachtung.h"

namespace {

struct Antwort {
    std::string adresse;
    Spielstand stand;
    Vektor stoss;
};

// Genug für die Spielserver eines Tisches; wer darüber kommt, verdrängt den ältesten.
constexpr std::size_t kAdressenHoechstens = 64;

struct Zustand {
    std::mutex mutex;
    std::deque<Antwort> antworten;  // die neueste vorn
    Beobachtungsdatei datei;
    std::string dateiVerzeichnis;
    bool schreibfehlerGemeldet = false;
    long angenommen = 0;
    long seitAnpassung = 0;
    long fertig = 0;
    bool laeuft = false;
    std::condition_variable ende;
    std::atomic<bool> abbrechen{false};
    std::function<void()> tor;
};

// Lebt bis zum Prozessende: ein Lernthread darf das Programmende überdauern.
Zustand& Z() {
    static Zustand* z = new Zustand;
    return *z;
}

Planereinstellung LeseEinstellung(IniDatei& ini) {
    LeseIniDatei(Konfigurationsdatei(), ini);
    return PlanerAus(ini);
}

Welt EigeneWelt(const IniDatei& ini, const Planereinstellung& e) {
    if (e.lernen)
        if (const auto g = GelernterTischJetzt()) return g->welt;
    return WeltAus(ini, Modell::R);
}

std::string LeseText(const std::string& pfad) {
    std::ifstream f(pfad, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

// Neu anpassen, auf diesem (eigenen) Thread; setzt am Ende den gelernten Tisch.
void Passe(std::string beobachtungenPfad, std::string gelerntPfad, std::function<void()> tor) {
    Zustand& z = Z();
    if (tor) tor();
    IniDatei ini;
    const Planereinstellung e = LeseEinstellung(ini);
    std::vector<Beobachtung> alle;
    Beobachtungsbericht bericht;
    std::string fehler;
    bool gut = LeseBeobachtungen(beobachtungenPfad, tisch.radius, alle, bericht, fehler);
    Kalibrierergebnis ergebnis;
    if (gut) {
        const std::size_t ab = alle.size() > static_cast<std::size_t>(kBeobachtungenJeAnpassung)
                                   ? alle.size() - static_cast<std::size_t>(kBeobachtungenJeAnpassung) : 0;
        Kalibrieroptionen o;
        o.threads = 1;  // der andere Kern plant
        o.abbrechen = &z.abbrechen;
        o.g = PhysikAus(ini).g;
        o.rauschen = e.rauschen;
        o.hoechstdauer = 120.0;
        gut = Kalibriere(std::span(alle).subspan(ab), EigeneWelt(ini, e), BaueTischgeometrie(tisch), o, ergebnis,
                         fehler);
    }
    if (gut) {
        auto t = std::make_shared<GelernterTisch>();
        t->welt = ergebnis.welt;
        t->rauschen = ergebnis.rauschfaktor;
        t->beobachtungen = ergebnis.benutzt;
        // Erst die Datei (neu, dann umbenannt), dann gilt er: ein Neustart findet denselben.
        const std::string text = KalibrierteKonfiguration(LeseText(Konfigurationsdatei()), ergebnis);
        const std::string neu = gelerntPfad + ".neu";
        std::ofstream f(neu, std::ios::binary | std::ios::trunc);
        f << text;
        f.close();
        // Eine halb geschriebene Datei (Platte voll) darf die letzte gute nicht ersetzen.
        if (!f || std::rename(neu.c_str(), gelerntPfad.c_str()) != 0)
            SchreibeLog("Gelernte Welt nicht in %s gespeichert.\r\n", gelerntPfad.c_str());
        SetzeGelernterTisch(std::move(t));
        SchreibeLog("%s\r\n", KalibrierZeile(ergebnis).c_str());
    } else if (!z.abbrechen) {
        SchreibeLog("Lernen: keine neue Welt (%s).\r\n", fehler.c_str());
    }
    std::lock_guard sperre(z.mutex);
    z.laeuft = false;
    if (gut) ++z.fertig;
    z.ende.notify_all();
}

// Unter z.mutex gerufen.
void StarteAnpassen(Zustand& z, const std::string& verzeichnis) {
    z.laeuft = true;
    z.seitAnpassung = 0;
    try {
        std::thread(Passe, verzeichnis + "beobachtungen.jsonl", verzeichnis + "gelernt.ini", z.tor).detach();
    } catch (const std::system_error& f) {
        z.laeuft = false;
        SchreibeLog("Lernen: kein Thread (Errorcode: %d).\r\n", f.code().value());
    }
}

}  // namespace

void PruefeAnfrageAufBeobachtung(const std::string& adresse, const Spielstand& jetzt) {
    IniDatei ini;
    const Planereinstellung e = LeseEinstellung(ini);
    Zustand& z = Z();
    if (!e.beobachten) return;
    Beobachtung b;
    {
        std::lock_guard sperre(z.mutex);
        auto it = std::find_if(z.antworten.begin(), z.antworten.end(), [&](const Antwort& a) { return a.adresse == adresse; });
        if (it == z.antworten.end()) return;
        b.vorher = it->stand;
        b.stoss = it->stoss;
        z.antworten.erase(it);
    }
    b.nachher = jetzt;
    b.nachher.gruppe = b.vorher.gruppe;
    if (!PruefeBeobachtung(BaueTischgeometrie(tisch), EigeneWelt(ini, e), b).angenommen) return;

    const std::string verzeichnis = Datenverzeichnis();
    std::lock_guard sperre(z.mutex);
    if (z.dateiVerzeichnis != verzeichnis) {
        z.datei.pfad = verzeichnis + "beobachtungen.jsonl";
        z.datei.zeilen = -1;
        z.dateiVerzeichnis = verzeichnis;
    }
    std::string fehler;
    if (!HaengeBeobachtungAn(z.datei, b, fehler)) {
        if (!z.schreibfehlerGemeldet)
            SchreibeLog("Beobachtung nicht gespeichert: %s (%s).\r\n", z.datei.pfad.c_str(), fehler.c_str());
        z.schreibfehlerGemeldet = true;
        return;
    }
    ++z.angenommen;
    if (e.lernen && ++z.seitAnpassung >= e.lernenAlle && !z.laeuft) StarteAnpassen(z, verzeichnis);
}

void MerkeAntwort(const std::string& adresse, const Spielstand& stand, Vektor stoss) {
    IniDatei ini;
    if (!LeseEinstellung(ini).beobachten) return;
    Zustand& z = Z();
    std::lock_guard sperre(z.mutex);
    z.antworten.push_front({adresse, stand, stoss});
    if (z.antworten.size() > kAdressenHoechstens) z.antworten.pop_back();
}

void LadeGelerntenTisch() {
    IniDatei ini;
    if (!LeseEinstellung(ini).lernen) return;
    const std::string pfad = Datenverzeichnis() + "gelernt.ini";
    IniDatei gelernt;
    if (!LeseIniDatei(pfad, gelernt)) return;  // noch nichts gelernt
    auto t = std::make_shared<GelernterTisch>();
    t->welt = WeltAus(gelernt, Modell::R);
    t->rauschen = PlanerAus(gelernt).rauschen;
    t->beobachtungen = 0;
    SetzeGelernterTisch(std::move(t));
    SchreibeLog("Gelernte Welt aus %s geladen.\r\n", pfad.c_str());
}

bool WarteAufLernen(std::chrono::milliseconds grenze) {
    Zustand& z = Z();
    std::unique_lock sperre(z.mutex);
    return z.ende.wait_for(sperre, grenze, [&] { return !z.laeuft; });
}

void BrichLernenAb() { Z().abbrechen = true; }

void SetzeLerntorFuerTests(std::function<void()> tor) {
    std::lock_guard sperre(Z().mutex);
    Z().tor = std::move(tor);
}

long AngenommeneBeobachtungen() {
    std::lock_guard sperre(Z().mutex);
    return Z().angenommen;
}

long FertigeAnpassungen() {
    std::lock_guard sperre(Z().mutex);
    return Z().fertig;
}
