#include "optionen.h"

#include <arpa/inet.h>

#include <charconv>
#include <set>

namespace {

template <typename Zahl>
bool LeseZahl(std::string_view s, Zahl minimum, Zahl maximum, Zahl& zahl) {
    Zahl z{};
    auto [ende, fehler] = std::from_chars(s.data(), s.data() + s.size(), z);
    if (s.empty() || fehler != std::errc{} || ende != s.data() + s.size()) return false;
    if (!(z >= minimum && z <= maximum)) return false;  // auch NaN
    zahl = z;
    return true;
}

bool IstSchalter(std::string_view a) {
    return a == "--nur-senden" || a == "--spielen" || a == "--lokal" || a == "--json" || a == "--vergleich" ||
           a == "--zusammenfassen" || a == "--lernkurve" || a == "--rauschreihe";
}

bool HatWert(std::string_view a) {
    for (const char* o : {"--spieler", "--antwort-port", "--zufall", "--anzahl", "--speichere", "--status-port",
                          "--status-warten", "--zeitlimit", "--kugeln", "--gruppe", "--rauschen", "--modell",
                          "--threads", "--protokoll", "--bilder", "--planer", "--config", "--bild", "--partien",
                          "--spieler-a", "--spieler-b", "--ab", "--welt", "--beobachtungen", "--bis"})
        if (a == o) return true;
    return false;
}

// Liest den Wert einer Option; false mit Meldung.
bool SetzeWert(std::string_view a, std::string_view wert, Optionen& o, std::optional<std::uint32_t>& anzahl,
               std::string& fehler) {
    const auto falsch = [&](const char* erwartet) {
        fehler = "Ungültiger Wert \"" + std::string(wert) + "\" für " + std::string(a) + ": erwartet " + erwartet + ".";
        return false;
    };
    std::uint32_t z = 0;
    if (a == "--spieler") {
        if (!LeseNetzadresse(wert, o.spielerAdresse, o.spielerPort)) return falsch("IPv4-ADRESSE:PORT, z. B. 127.0.0.1:2222");
    } else if (a == "--antwort-port") {
        if (!LeseZahl<std::uint32_t>(wert, 0, 65535, z)) return falsch("eine Portnummer 0..65535");
        o.antwortPort = static_cast<std::uint16_t>(z);
    } else if (a == "--status-port") {
        if (!LeseZahl<std::uint32_t>(wert, 1, 65535, z)) return falsch("eine Portnummer 1..65535");
        o.statusPort = static_cast<std::uint16_t>(z);
    } else if (a == "--zufall") {
        if (!LeseZahl<std::uint32_t>(wert, 0, UINT32_MAX, z)) return falsch("eine Zahl 0..4294967295");
        o.zufallSaat = z;
    } else if (a == "--anzahl") {
        if (!LeseZahl<std::uint32_t>(wert, 1, 9999, z)) return falsch("eine Zahl 1..9999");
        anzahl = z;
    } else if (a == "--zeitlimit") {
        if (!LeseZahl<std::uint32_t>(wert, 1, 600000, o.zeitlimitMs)) return falsch("Millisekunden 1..600000");
    } else if (a == "--status-warten") {
        if (!LeseZahl<std::uint32_t>(wert, 0, 600000, o.statusWartenMs)) return falsch("Millisekunden 0..600000");
    } else if (a == "--kugeln") {
        if (!LeseZahl<int>(wert, 1, 15, o.kugeln)) return falsch("eine Zahl 1..15");
    } else if (a == "--gruppe") {
        if (!LeseZahl<std::int32_t>(wert, 0, 2, o.gruppe)) return falsch("0 (halbe), 1 (volle) oder 2 (alle)");
    } else if (a == "--rauschen") {
        if (!LeseZahl<double>(wert, 0.0, 100.0, o.rauschen)) return falsch("eine Zahl 0..100, z. B. 1 oder 0.5");
    } else if (a == "--modell") {
        if (wert != "P" && wert != "R") return falsch("P oder R");
        o.modell = wert == "P" ? Modell::P : Modell::R;
    } else if (a == "--planer") {
        if (wert != "vorgegeben" && wert != "robust") return falsch("vorgegeben oder robust");
        o.robust = wert == "robust";
    } else if (a == "--threads") {
        if (!LeseZahl<int>(wert, 1, 64, o.threads)) return falsch("eine Zahl 1..64");
    } else if (a == "--partien") {
        if (!LeseZahl<std::uint32_t>(wert, 2, 2 * kHoechstesGestell, o.partien) || o.partien % 2 != 0)
            return falsch("eine gerade Zahl 2..8000000 (jedes Gestell wird in beiden Reihenfolgen gespielt)");
    } else if (a == "--bis") {
        if (!LeseZahl<std::uint32_t>(wert, 20, 5000, o.bis)) return falsch("eine Zahl 20..5000");
    } else if (a == "--ab") {
        if (!LeseZahl<std::uint32_t>(wert, 1, kHoechsterTisch, o.ab)) return falsch("eine Zahl 1..60000000");
    } else if (wert.empty()) {
        return falsch(a == "--speichere" || a == "--bilder" ? "ein Verzeichnis" : "eine Datei oder einen Spieler");
    } else {
        (a == "--bild"            ? o.bild
         : a == "--config"        ? o.konfiguration
         : a == "--protokoll"     ? o.protokollDatei
         : a == "--bilder"        ? o.bilderVerzeichnis
         : a == "--speichere"     ? o.speicherVerzeichnis
         : a == "--spieler-a"     ? o.spielerA
         : a == "--spieler-b"     ? o.spielerB
         : a == "--welt"          ? o.welt
                                  : o.beobachtungen) = wert;
    }
    return true;
}

using Gesetzt = std::set<std::string, std::less<>>;

// Die erste der genannten Optionen, die gesetzt ist, sonst leer.
std::string Eine(const Gesetzt& gesetzt, std::initializer_list<const char*> namen) {
    for (const char* n : namen)
        if (gesetzt.count(n)) return n;
    return {};
}

bool Nein(std::string& fehler, std::string text) {
    fehler = std::move(text);
    return false;
}

bool PruefeZusammenfassen(const Optionen& o, const Gesetzt& gesetzt, std::string& fehler) {
    if (const std::string x = Eine(gesetzt, {"--spieler", "--antwort-port", "--zufall", "--anzahl", "--speichere",
                                             "--status-port", "--status-warten", "--zeitlimit", "--nur-senden",
                                             "--kugeln", "--gruppe", "--rauschen", "--modell", "--lokal", "--planer",
                                             "--threads", "--protokoll", "--config", "--bild", "--bilder", "--ab",
                                             "--welt", "--beobachtungen", "--spieler-a", "--spieler-b"});
        !x.empty())
        return Nein(fehler, "--zusammenfassen liest nur Berichte (und --json); " + x + " gehört nicht dazu.");
    if (o.dateien.empty()) return Nein(fehler, "--zusammenfassen braucht Berichte: DATEI.json …");
    return true;
}

bool PruefePartien(const Optionen& o, const Gesetzt& gesetzt, std::string& fehler) {
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
    return true;
}

bool PruefeSpielen(const Optionen& o, const Gesetzt& gesetzt, std::string& fehler) {
    if (!o.dateien.empty() || o.anzahl == 0 || o.nurSenden)
        return Nein(fehler, "--spielen braucht --zufall SAAT --anzahl K, keine Dateien und kein --nur-senden.");
    if (const std::string x = Eine(gesetzt, {"--status-port", "--status-warten"}); !x.empty())
        return Nein(fehler, x + " gehört nicht zu --spielen.");
    if (o.lokal && gesetzt.count("--spieler")) return Nein(fehler, "--spieler gilt nicht mit --lokal.");
    if (o.threads > 1 && !o.lokal)
        return Nein(fehler, "--threads gilt nur mit --lokal: über das Netz spielt ein Spieler Stoß für Stoß.");
    if (static_cast<std::uint64_t>(o.ab) - 1 + o.anzahl > kHoechsterTisch)
        return Nein(fehler, "--ab und --anzahl reichen über Tisch " + std::to_string(kHoechsterTisch) + " hinaus.");
    return true;
}

// Welche Optionen zusammengehören; false mit Meldung.
bool PruefeZusammenspiel(Optionen& o, const Gesetzt& gesetzt, std::string& fehler) {
    const int arten = o.spielen + o.vergleich + (o.partien > 0) + o.zusammenfassen + o.lernkurve;
    if (arten > 1)
        return Nein(fehler, "--spielen, --vergleich, --partien, --lernkurve und --zusammenfassen schließen einander aus.");
    if (!o.lernkurve && gesetzt.count("--bis")) return Nein(fehler, "--bis gehört zu --lernkurve.");
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
    const bool spielt = o.spielen || o.partien > 0;
    if (o.robust && !o.lokal && !o.lernkurve)
        return Nein(fehler, "--planer gilt nur mit --lokal; über das Netz plant der Spieler, wie seine config.ini sagt.");
    if (!o.spielen) {
        if (const std::string x = Eine(gesetzt, {"--lokal", "--kugeln", "--gruppe"}); !x.empty())
            return Nein(fehler, x + " gehört zu --spielen.");
    }
    if (!spielt) {
        if (const std::string x = Eine(gesetzt, {"--config", "--json", "--protokoll", "--bilder", "--rauschen",
                                                 "--modell", "--threads", "--ab", "--welt", "--beobachtungen"});
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
    if (!LeseZahl<std::uint32_t>(wert.substr(doppelpunkt + 1), 1, 65535, p)) return false;
    adresse = a;
    port = static_cast<std::uint16_t>(p);
    return true;
}

std::optional<Optionen> LeseOptionen(const std::vector<std::string>& argumente, std::string& fehler) {
    Optionen o;
    std::optional<std::uint32_t> anzahl;
    Gesetzt gesetzt;
    for (std::size_t i = 0; i < argumente.size(); ++i) {
        const std::string_view a = argumente[i];
        if (a == "--help" || a == "-h") {
            o.hilfe = true;
            continue;
        }
        if (a == "--version") {
            o.version = true;
            continue;
        }
        if (IstSchalter(a)) {
            (a == "--nur-senden"   ? o.nurSenden
             : a == "--spielen"    ? o.spielen
             : a == "--lokal"      ? o.lokal
             : a == "--json"       ? o.json
             : a == "--vergleich"  ? o.vergleich
             : a == "--lernkurve"  ? o.lernkurve
             : a == "--rauschreihe" ? o.rauschreihe
                                   : o.zusammenfassen) = true;
            gesetzt.emplace(a);
            continue;
        }
        if (a == "--") {  // alles Weitere sind Dateien
            for (++i; i < argumente.size(); ++i) o.dateien.push_back(argumente[i]);
            break;
        }
        if (!a.starts_with("-") || a == "-") {
            o.dateien.emplace_back(a);
            continue;
        }
        if (!HatWert(a)) {
            fehler = "Unbekannte Option " + std::string(a) + ".";
            return std::nullopt;
        }
        if (i + 1 >= argumente.size()) {
            fehler = "Option " + std::string(a) + " braucht einen Wert.";
            return std::nullopt;
        }
        if (!SetzeWert(a, argumente[++i], o, anzahl, fehler)) return std::nullopt;
        gesetzt.emplace(a);
    }
    if (o.hilfe || o.version) return o;
    if (o.partien == 0 && !o.zusammenfassen && o.zufallSaat.has_value() != anzahl.has_value()) {
        fehler = "--zufall und --anzahl gehören zusammen.";
        return std::nullopt;
    }
    o.anzahl = anzahl.value_or(0);
    if (!PruefeZusammenspiel(o, gesetzt, fehler)) return std::nullopt;
    return o;
}
