#include "spieler/lernender_spieler.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <exception>
#include <fstream>
#include <mutex>
#include <sstream>
#include <system_error>
#include <thread>
#include <utility>

#include "lernen/kalibrierbericht.h"
#include "lernen/kalibrierung.h"
#include "lernen/konfigurationstext.h"
#include "model/datei_schreiben.h"
#include "planner/planereinstellung.h"
#include "sim/beobachtung.h"
#include "sim/beobachtungsdatei.h"

namespace {

struct Antwort {
    std::string adresse;
    Spielstand stand;
    Vektor stoss;
};

// Genug für die Spielserver eines Tisches; wer darüber kommt, verdrängt den ältesten.
constexpr std::size_t kAdressenHoechstens = 64;

}  // namespace

struct Lernzustand {
    std::mutex mutex;
    std::deque<Antwort> antworten;  // die neueste vorn
    Beobachtungsdatei datei;
    std::string gemeldet;  // der zuletzt gemeldete Grund, warum nicht gespeichert oder gekürzt wurde
    long angenommen = 0;
    long seitAnpassung = 0;
    long fertig = 0;
    bool laeuft = false;
    std::condition_variable ende;
    std::atomic<bool> abbrechen{false};
    std::shared_ptr<const GelernterTisch> gelernt;
};

std::shared_ptr<Lernzustand> NeuerLernzustand() { return std::make_shared<Lernzustand>(); }

namespace {

Welt EigeneWelt(const IniDatei& ini, const Planereinstellung& e, const std::shared_ptr<const GelernterTisch>& g) {
    if (e.lernen && g) return g->welt;
    return WeltAus(ini, Modell::R);
}

void Setze(Lernzustand& z, std::shared_ptr<const GelernterTisch> t) {
    std::lock_guard sperre(z.mutex);
    z.gelernt = std::move(t);
}

// Was der Thread braucht, der anpasst: alles als Kopie, er darf den Spieler überdauern.
struct Anpassauftrag {
    std::shared_ptr<Lernzustand> z;
    Anzeige anzeige;
    Pfade pfade;
    Tischkontext tisch;
    std::string konfiguration;  // der Text der config.ini dieser Anfrage
    std::function<void(double, const char*)> fortschritt;
};

// Neu anpassen, auf diesem (eigenen) Thread; setzt am Ende den gelernten Tisch.
void Passe(const Anpassauftrag& a) {
    Lernzustand& z = *a.z;
    if (a.fortschritt) a.fortschritt(0.0, "Beobachtungen lesen");
    IniDatei ini;
    ini.text = a.konfiguration;
    ZerlegeIniText(ini);
    const Planereinstellung e = PlanerAus(ini);
    std::shared_ptr<const GelernterTisch> bisher;
    {
        std::lock_guard sperre(z.mutex);
        bisher = z.gelernt;
    }
    std::vector<Beobachtung> alle;
    Beobachtungsbericht bericht;
    std::string fehler;
    bool gut = LeseBeobachtungen(a.pfade.daten + "beobachtungen.jsonl", a.tisch.tisch.radius, alle, bericht, fehler);
    Kalibrierergebnis ergebnis;
    if (gut) {
        const std::size_t ab = alle.size() > static_cast<std::size_t>(kBeobachtungenJeAnpassung)
                                   ? alle.size() - static_cast<std::size_t>(kBeobachtungenJeAnpassung) : 0;
        Kalibrieroptionen o;
        o.threads = 1;  // der andere Kern plant
        o.abbrechen = &z.abbrechen;
        o.fortschritt = a.fortschritt;
        o.g = PhysikAus(ini).g;
        o.rauschen = e.rauschen;
        o.hoechstdauer = 120.0;
        gut = Kalibriere(std::span(alle).subspan(ab), EigeneWelt(ini, e, bisher), BaueTischgeometrie(a.tisch), o,
                         ergebnis, fehler);
    }
    if (gut) {
        auto t = std::make_shared<GelernterTisch>();
        t->welt = ergebnis.welt;
        t->rauschen = ergebnis.rauschfaktor;
        t->klassenrauschen = Klassenrauschen(ergebnis);
        t->beobachtungen = ergebnis.benutzt;
        // Erst die Datei, dann gilt er: ein Neustart findet denselben.
        const std::string gelernt = a.pfade.daten + "gelernt.ini";
        // Eine halb geschriebene Datei (Platte voll) darf die letzte gute nicht ersetzen.
        if (!ErsetzeDatei(gelernt, KalibrierteKonfiguration(a.konfiguration, ergebnis)))
            SchreibeLog(a.anzeige, "Gelernte Welt nicht in %s gespeichert.\r\n", gelernt.c_str());
        Setze(z, std::move(t));
        SchreibeLog(a.anzeige, "%s\r\n", KalibrierZeile(ergebnis).c_str());
    } else if (!z.abbrechen) {
        SchreibeLog(a.anzeige, "Lernen: keine neue Welt (%s).\r\n", fehler.c_str());
    }
    std::lock_guard sperre(z.mutex);
    z.laeuft = false;
    if (gut) ++z.fertig;
    z.ende.notify_all();
}

void PasseSicher(const Anpassauftrag& a) {
    try {
        Passe(a);
    } catch (const std::exception& f) {
        // Kein Speicher, ein Fehler in Ceres: das Lernen fällt diesmal aus, der Spieler spielt weiter.
        try {
            SchreibeLog(a.anzeige, "Lernen: keine neue Welt (%s).\r\n", f.what());
        } catch (const std::exception&) {
        }
        std::lock_guard sperre(a.z->mutex);
        a.z->laeuft = false;
        a.z->ende.notify_all();
    }
}

// Unter z.mutex gerufen.
void StarteAnpassen(LernenderSpieler& l, const IniDatei& ini) {
    Lernzustand& z = *l.zustand;
    z.laeuft = true;
    z.seitAnpassung = 0;
    try {
        std::thread(PasseSicher, Anpassauftrag{l.zustand, l.anzeige, l.pfade, l.tisch, ini.text, l.fortschritt})
            .detach();
    } catch (const std::system_error& f) {
        z.laeuft = false;
        SchreibeLog(l.anzeige, "Lernen: kein Thread (Errorcode: %d).\r\n", f.code().value());
    }
}

}  // namespace

std::shared_ptr<const GelernterTisch> GelernterTischVon(const LernenderSpieler& l) {
    std::lock_guard sperre(l.zustand->mutex);
    return l.zustand->gelernt;
}

void PruefeAnfrageAufBeobachtung(LernenderSpieler& l, const IniDatei& ini, const std::string& adresse,
                                 const Spielstand& jetzt) {
    const Planereinstellung e = PlanerAus(ini);
    if (!e.beobachten) return;
    Lernzustand& z = *l.zustand;
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
    if (!PruefeBeobachtung(BaueTischgeometrie(l.tisch), EigeneWelt(ini, e, GelernterTischVon(l)), b).angenommen) return;

    std::lock_guard sperre(z.mutex);
    const std::string pfad = l.pfade.daten + "beobachtungen.jsonl";
    if (z.datei.pfad != pfad) {
        z.datei.pfad = pfad;
        z.datei.zeilen = -1;
    }
    std::string fehler;
    const Anhaengen anhang = HaengeBeobachtungAn(z.datei, b, fehler);
    // Jeder neue Grund einmal ins Protokoll, nicht bei jeder Anfrage.
    if (anhang != Anhaengen::gut && fehler != z.gemeldet) {
        SchreibeLog(l.anzeige,
                    anhang == Anhaengen::ungekuerzt ? "Beobachtungen nicht gekürzt: %s (%s).\r\n"
                                                    : "Beobachtung nicht gespeichert: %s (%s).\r\n",
                    z.datei.pfad.c_str(), fehler.c_str());
        z.gemeldet = fehler;
    }
    if (anhang == Anhaengen::gescheitert) return;
    ++z.angenommen;
    if (e.lernen && ++z.seitAnpassung >= e.lernenAlle && !z.laeuft) StarteAnpassen(l, ini);
}

void MerkeAntwort(LernenderSpieler& l, const IniDatei& ini, const std::string& adresse, const Spielstand& stand,
                  Vektor stoss) {
    if (!PlanerAus(ini).beobachten) return;
    Lernzustand& z = *l.zustand;
    std::lock_guard sperre(z.mutex);
    z.antworten.push_front({adresse, stand, stoss});
    if (z.antworten.size() > kAdressenHoechstens) z.antworten.pop_back();
}

void LadeGelerntenTisch(LernenderSpieler& l, const IniDatei& ini) {
    if (!PlanerAus(ini).lernen) return;
    const std::string pfad = l.pfade.daten + "gelernt.ini";
    IniDatei gelernt;
    if (!LeseIniDatei(pfad, gelernt)) return;  // noch nichts gelernt
    auto t = std::make_shared<GelernterTisch>();
    t->welt = WeltAus(gelernt, Modell::R);
    t->rauschen = PlanerAus(gelernt).rauschen;
    t->klassenrauschen.fill(0.0);  // steht nicht in der Datei: erst nach dem nächsten Anpassen
    t->beobachtungen = 0;
    Setze(*l.zustand, std::move(t));
    SchreibeLog(l.anzeige, "Gelernte Welt aus %s geladen.\r\n", pfad.c_str());
}

bool WarteAufLernen(const LernenderSpieler& l, std::chrono::milliseconds grenze) {
    Lernzustand& z = *l.zustand;
    std::unique_lock sperre(z.mutex);
    return z.ende.wait_for(sperre, grenze, [&] { return !z.laeuft; });
}

void BrichLernenAb(LernenderSpieler& l) { l.zustand->abbrechen = true; }

long AngenommeneBeobachtungen(const LernenderSpieler& l) {
    std::lock_guard sperre(l.zustand->mutex);
    return l.zustand->angenommen;
}

long FertigeAnpassungen(const LernenderSpieler& l) {
    std::lock_guard sperre(l.zustand->mutex);
    return l.zustand->fertig;
}
