#include "optionen.h"

#include <arpa/inet.h>

#include <algorithm>
#include <set>

#include "app/kommandozeile.h"

namespace {

using Genannt = std::set<std::string, std::less<>>;

Option Port(std::string_view name, std::uint16_t& ziel, std::uint32_t minimum, const char* erwartet) {
    return {name, erwartet, [&ziel, minimum](std::string_view w) {
                std::uint32_t z = 0;
                if (!LeseZahl(w, z) || z < minimum || z > 65535) return false;
                ziel = static_cast<std::uint16_t>(z);
                return true;
            }};
}


// Die erste der genannten Optionen, die gesetzt ist, sonst leer.
std::string Eine(const Genannt& gesetzt, std::initializer_list<const char*> namen) {
    for (const char* n : namen)
        if (gesetzt.count(n)) return n;
    return {};
}

// 1 bis 10 Rauschfaktoren 0..100, mit Komma getrennt, jeder größer als der vorige.
bool LeseFaktoren(std::string_view w, std::vector<double>& faktoren) {
    std::vector<double> f;
    for (std::size_t von = 0; von <= w.size();) {
        const std::size_t komma = std::min(w.find(',', von), w.size());
        double x = 0.0;
        if (!LeseZahl(w.substr(von, komma - von), x) || !(x >= 0.0 && x <= 100.0) || (!f.empty() && !(x > f.back())))
            return false;
        f.push_back(x);
        von = komma + 1;
    }
    if (f.size() > 10) return false;
    faktoren = std::move(f);
    return true;
}

bool Nein(std::string& fehler, std::string text) {
    fehler = std::move(text);
    return false;
}

bool PruefeZusammenfassen(const Optionen& o, const Genannt& gesetzt, std::string& fehler) {
    if (const std::string x = Eine(gesetzt, {"--spieler", "--antwort-port", "--zufall", "--anzahl", "--speichere",
                                             "--status-port", "--status-warten", "--zeitlimit", "--nur-senden",
                                             "--kugeln", "--gruppe", "--rauschen", "--modell", "--lokal", "--planer",
                                             "--threads", "--zeitgrenze", "--protokoll", "--config", "--bild", "--bilder", "--ab",
                                             "--welt", "--beobachtungen", "--spieler-a", "--spieler-b"});
        !x.empty())
        return Nein(fehler, "--zusammenfassen liest nur Berichte (und --json); " + x + " gehört nicht dazu.");
    if (o.dateien.empty()) return Nein(fehler, "--zusammenfassen braucht Berichte: DATEI.json …");
    return true;
}

bool PruefePartien(const Optionen& o, const Genannt& gesetzt, std::string& fehler) {
    if (const std::string x = Eine(gesetzt, {"--spieler", "--anzahl", "--status-port", "--status-warten",
                                             "--nur-senden", "--kugeln", "--gruppe", "--lokal", "--planer"});
        !x.empty())
        return Nein(fehler, x + " gehört nicht zu --partien.");
    if (!o.dateien.empty()) return Nein(fehler, "--partien spielt Gestelle, keine Dateien.");
    if (!o.zufallSaat) return Nein(fehler, "--partien braucht --zufall SAAT.");
    if (o.spielerA.empty() || o.spielerB.empty()) return Nein(fehler, "--partien braucht --spieler-a und --spieler-b.");
    if (o.rauschreihe) {
        if (const std::string x = Eine(gesetzt, {"--rauschen", "--protokoll", "--beobachtungen", "--bilder", "--speichere"});
            !x.empty())
            return Nein(fehler, "--rauschreihe spielt dieselben Partien bei F = 0, 0.5, 1, 1.5 und 2; " + x +
                                    " gehört nicht dazu.");
    }
    if (o.ab - 1 + o.partien / 2 > kHoechstesGestell)
        return Nein(fehler, "--ab und --partien reichen über Gestell " + std::to_string(kHoechstesGestell) + " hinaus.");
    std::string adresse;
    std::uint16_t port = 0;
    const bool netz = LeseNetzadresse(o.spielerA, adresse, port) || LeseNetzadresse(o.spielerB, adresse, port);
    if (o.threads > 1 && netz)
        return Nein(fehler, "--threads gilt nur, wenn beide Spieler im Prozess planen: über das Netz spielt ein "
                            "Spieler Stoß für Stoß.");
    if (o.mitteilen && netz)
        return Nein(fehler, "--mitteilen gilt nur, wenn beide Spieler im Prozess planen: einem Spieler über das Netz "
                            "sagt niemand das Rauschen.");
    return true;
}

bool PruefeSpielen(const Optionen& o, const Genannt& gesetzt, std::string& fehler) {
    if (!o.dateien.empty() || o.anzahl == 0 || o.nurSenden)
        return Nein(fehler, "--spielen braucht --zufall SAAT --anzahl K, keine Dateien und kein --nur-senden.");
    if (const std::string x = Eine(gesetzt, {"--status-port", "--status-warten"}); !x.empty())
        return Nein(fehler, x + " gehört nicht zu --spielen.");
    if (o.lokal && gesetzt.count("--spieler")) return Nein(fehler, "--spieler gilt nicht mit --lokal.");
    if (o.threads > 1 && !o.lokal)
        return Nein(fehler, "--threads gilt nur mit --lokal: über das Netz spielt ein Spieler Stoß für Stoß.");
    if (o.zeitgrenze && !o.lokal)
        return Nein(fehler, "--zeitgrenze gilt nur mit --lokal: über das Netz rechnet der Spieler, wie seine config.ini sagt.");
    if (static_cast<std::uint64_t>(o.ab) - 1 + o.anzahl > kHoechsterTisch)
        return Nein(fehler, "--ab und --anzahl reichen über Tisch " + std::to_string(kHoechsterTisch) + " hinaus.");
    return true;
}

// Welche Optionen zusammengehören; false mit Meldung.
bool PruefeZusammenspiel(Optionen& o, const Genannt& gesetzt, std::string& fehler) {
    const int arten = o.spielen + o.vergleich + (o.partien > 0) + o.zusammenfassen + o.lernkurve;
    if (arten > 1)
        return Nein(fehler, "--spielen, --vergleich, --partien, --lernkurve und --zusammenfassen schließen einander aus.");
    if (!o.lernkurve && gesetzt.count("--bis")) return Nein(fehler, "--bis gehört zu --lernkurve.");
    if (!o.zusammenfassen && gesetzt.count("--erwartet")) return Nein(fehler, "--erwartet gehört zu --zusammenfassen.");
    if (o.zusammenfassen) return PruefeZusammenfassen(o, gesetzt, fehler);
    if (o.partien > 0 && !PruefePartien(o, gesetzt, fehler)) return false;
    if (o.partien == 0) {
        if (const std::string x = Eine(gesetzt, {"--spieler-a", "--spieler-b"}); !x.empty())
            return Nein(fehler, x + " gehört zu --partien.");
    }
    if (o.lernkurve) {
        // Drei robuste Spieler im Prozess auf dem fremden Tisch aus --welt.
        if (const std::string x = Eine(gesetzt, {"--planer", "--protokoll", "--bilder", "--speichere", "--beobachtungen",
                                                 "--lokal", "--modell"});
            !x.empty())
            return Nein(fehler, "--lernkurve spielt drei robuste Spieler im Prozess in Welt R; " + x +
                                    " gehört nicht dazu.");
        if (o.welt.empty()) return Nein(fehler, "--lernkurve braucht den fremden Tisch: --welt DATEI.");
        o.spielen = o.lokal = o.robust = true;
    } else if (o.vergleich) {
        // Der Vergleich spielt beide Planer im Prozess, also wie --spielen --lokal.
        if (const std::string x = Eine(gesetzt, {"--planer", "--protokoll", "--bilder", "--speichere", "--beobachtungen"});
            !x.empty())
            return Nein(fehler, "--vergleich spielt beide Planer; " + x + " gehört zu --spielen.");
        o.spielen = o.lokal = true;
    } else if (!o.bild.empty() && !o.rauschreihe) {
        return Nein(fehler, "--bild gehört zu --vergleich, --lernkurve oder --partien --rauschreihe.");
    }
    if (o.rauschreihe && o.partien == 0) return Nein(fehler, "--rauschreihe gehört zu --partien.");
    if (!o.rauschreihe)
        if (const std::string x = Eine(gesetzt, {"--faktoren", "--mitteilen"}); !x.empty())
            return Nein(fehler, x + " gehört zu --partien --rauschreihe.");
    const bool spielt = o.spielen || o.partien > 0;
    if (o.robust && !o.lokal && !o.lernkurve)
        return Nein(fehler, "--planer gilt nur mit --lokal; über das Netz plant der Spieler, wie seine config.ini sagt.");
    if (!o.spielen) {
        if (const std::string x = Eine(gesetzt, {"--lokal", "--kugeln", "--gruppe"}); !x.empty())
            return Nein(fehler, x + " gehört zu --spielen.");
    }
    if (!spielt) {
        if (const std::string x = Eine(gesetzt, {"--config", "--json", "--protokoll", "--bilder", "--rauschen",
                                                 "--modell", "--threads", "--ab", "--welt", "--beobachtungen",
                                                 "--zeitgrenze"});
            !x.empty())
            return Nein(fehler, x + " gehört zu --spielen oder --partien.");
    }
    if (!o.welt.empty() && gesetzt.count("--modell") && o.modell == Modell::P)
        return Nein(fehler, "--welt spielt in Welt R; --modell P passt nicht dazu.");
    if (!o.welt.empty()) o.modell = Modell::R;
    if (o.spielen) return PruefeSpielen(o, gesetzt, fehler);
    if (spielt) return true;
    if (o.dateien.empty() && o.anzahl == 0)
        return Nein(fehler, "Keine Tische: Dateien angeben oder --zufall SAAT --anzahl K.");
    if (o.dateien.size() + o.anzahl > 9999)
        return Nein(fehler, "Höchstens 9999 Tische (die cmdid hat in den Dateinamen vier Stellen).");
    return true;
}

}  // namespace

bool LeseNetzadresse(std::string_view wert, std::string& adresse, std::uint16_t& port) {
    const auto doppelpunkt = wert.rfind(':');
    if (doppelpunkt == std::string_view::npos) return false;
    const std::string a(wert.substr(0, doppelpunkt));
    in_addr ip{};
    if (::inet_pton(AF_INET, a.c_str(), &ip) != 1) return false;
    std::uint32_t p = 0;
    if (!LeseZahl(wert.substr(doppelpunkt + 1), p) || p < 1 || p > 65535) return false;
    adresse = a;
    port = static_cast<std::uint16_t>(p);
    return true;
}

std::optional<Optionen> LeseOptionen(const std::vector<std::string>& argumente, std::string& fehler) {
    Optionen o;
    std::uint32_t saat = 0, anzahl = 0, partien = 0, zeitgrenze = 0;
    std::uint16_t statusPort = 0;
    std::string modell, planer;
    Aufruf aufruf{
        .programm = "spieltisch",
        .hilfe = kHilfetext,
        .optionen =
            {Schalter("--nur-senden", o.nurSenden), Schalter("--spielen", o.spielen), Schalter("--lokal", o.lokal),
             Schalter("--json", o.json), Schalter("--vergleich", o.vergleich),
             Schalter("--zusammenfassen", o.zusammenfassen), Schalter("--lernkurve", o.lernkurve),
             Schalter("--rauschreihe", o.rauschreihe), Schalter("--mitteilen", o.mitteilen),
             {"--spieler", "IPv4-ADRESSE:PORT, z. B. 127.0.0.1:2222",
              [&o](std::string_view w) { return LeseNetzadresse(w, o.spielerAdresse, o.spielerPort); }},
             Port("--antwort-port", o.antwortPort, 0, "eine Portnummer 0..65535"),
             Port("--status-port", statusPort, 1, "eine Portnummer 1..65535"),
             Zahlwert<std::uint32_t>("--zufall", saat, 0, UINT32_MAX, "eine Zahl 0..4294967295"),
             Zahlwert<std::uint32_t>("--anzahl", anzahl, 1, 9999, "eine Zahl 1..9999"),
             Zahlwert<std::uint32_t>("--zeitlimit", o.zeitlimitMs, 1, 600000, "Millisekunden 1..600000"),
             Zahlwert<std::uint32_t>("--status-warten", o.statusWartenMs, 0, 600000, "Millisekunden 0..600000"),
             Zahlwert("--kugeln", o.kugeln, 1, 15, "eine Zahl 1..15"),
             Zahlwert<std::int32_t>("--gruppe", o.gruppe, 0, 2, "0 (halbe), 1 (volle) oder 2 (alle)"),
             Zahlwert("--rauschen", o.rauschen, 0.0, 100.0, "eine Zahl 0..100, z. B. 1 oder 0.5"),
             {"--modell", "P oder R", [&modell](std::string_view w) { return (w == "P" || w == "R") && (modell = w, true); }},
             {"--planer", "vorgegeben oder robust",
              [&planer](std::string_view w) { return (w == "vorgegeben" || w == "robust") && (planer = w, true); }},
             Zahlwert("--threads", o.threads, 1, 64, "eine Zahl 1..64"),
             Zahlwert<std::uint32_t>("--zeitgrenze", zeitgrenze, 0, 600000, "Millisekunden 0..600000"),
             {"--partien", "eine gerade Zahl 2..8000000 (jedes Gestell wird in beiden Reihenfolgen gespielt)",
              [&partien](std::string_view w) {
                  return LeseZahl(w, partien) && partien >= 2 && partien <= 2 * kHoechstesGestell && partien % 2 == 0;
              }},
             Zahlwert<std::uint32_t>("--bis", o.bis, 20, 5000, "eine Zahl 20..5000"),
             Zahlwert<std::uint32_t>("--ab", o.ab, 1, kHoechsterTisch, "eine Zahl 1..60000000"),
             Text("--bild", o.bild, "eine Datei oder einen Spieler"),
             Text("--config", o.konfiguration, "eine Datei oder einen Spieler"),
             Text("--protokoll", o.protokollDatei, "eine Datei oder einen Spieler"),
             Text("--bilder", o.bilderVerzeichnis, "ein Verzeichnis"),
             Text("--speichere", o.speicherVerzeichnis, "ein Verzeichnis"),
             Text("--spieler-a", o.spielerA, "eine Datei oder einen Spieler"),
             Text("--spieler-b", o.spielerB, "eine Datei oder einen Spieler"),
             Text("--welt", o.welt, "eine Datei oder einen Spieler"),
             Text("--beobachtungen", o.beobachtungen, "eine Datei oder einen Spieler"),
             {"--faktoren", "steigende Rauschfaktoren 0..100 mit Komma, z. B. 1,3,5 (höchstens 10)",
              [&o](std::string_view w) { return LeseFaktoren(w, o.rauschfaktoren); }},
             {"--erwartet", "VON-BIS, z. B. 1-500 (die ersten und letzten Tische oder Gestelle)",
              [&o](std::string_view w) {
                  const auto strich = w.find('-');
                  return strich != std::string_view::npos && LeseZahl(w.substr(0, strich), o.erwartetVon) &&
                         LeseZahl(w.substr(strich + 1), o.erwartetBis) && o.erwartetVon >= 1 &&
                         o.erwartetVon <= o.erwartetBis;
              }}},
        .dateien = &o.dateien};
    if (!LeseArgumente(aufruf, argumente, fehler)) return std::nullopt;
    o.hilfe = aufruf.hilfeVerlangt;
    o.version = aufruf.versionVerlangt;
    if (o.hilfe || o.version) return o;
    const Genannt& gesetzt = aufruf.gesetzt;
    if (gesetzt.count("--zufall")) o.zufallSaat = saat;
    if (gesetzt.count("--status-port")) o.statusPort = statusPort;
    if (gesetzt.count("--zeitgrenze")) o.zeitgrenze = zeitgrenze;
    if (gesetzt.count("--modell")) o.modell = modell == "P" ? Modell::P : Modell::R;
    o.robust = planer == "robust";
    o.partien = partien;
    if (o.partien == 0 && !o.zusammenfassen && o.zufallSaat.has_value() != (gesetzt.count("--anzahl") > 0)) {
        fehler = "--zufall und --anzahl gehören zusammen.";
        return std::nullopt;
    }
    o.anzahl = anzahl;
    if (!PruefeZusammenspiel(o, gesetzt, fehler)) return std::nullopt;
    return o;
}
