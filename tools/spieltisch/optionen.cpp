#include "optionen.h"

#include <arpa/inet.h>

#include <charconv>
#include <string_view>

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

bool LeseAdresse(std::string_view wert, Optionen& o) {
    const auto doppelpunkt = wert.rfind(':');
    if (doppelpunkt == std::string_view::npos) return false;
    const std::string adresse(wert.substr(0, doppelpunkt));
    in_addr a{};
    if (::inet_pton(AF_INET, adresse.c_str(), &a) != 1) return false;
    std::uint32_t port = 0;
    if (!LeseZahl<std::uint32_t>(wert.substr(doppelpunkt + 1), 1, 65535, port)) return false;
    o.spielerAdresse = adresse;
    o.spielerPort = static_cast<std::uint16_t>(port);
    return true;
}

}  // namespace

const char* const kHilfetext =
    "Aufruf: spieltisch [Optionen] [DATEI...]\n"
    "\n"
    "Ein Ersatz für den Spielserver: schickt Tischstand-Dokumente an den Spieler,\n"
    "wartet auf jede Antwort und prüft sie.\n"
    "\n"
    "  DATEI...               diese Dokumente senden; cmdid, <ipv4> und <port>\n"
    "                         werden durch die eigenen Werte ersetzt\n"
    "  --zufall SAAT --anzahl K\n"
    "                         zusätzlich K zufällige, gültige Tische (je Saat gleich)\n"
    "  --spieler HOST:PORT    Adresse des Spielers, nur IPv4 (Vorgabe 127.0.0.1:2222)\n"
    "  --antwort-port N       eigener TCP-Port für die Antworten (Vorgabe 2223;\n"
    "                         0: ein freier Port, er wird als antwort_port=N ausgegeben)\n"
    "  --zeitlimit MS         Frist je Tisch vom Verbinden bis zur Antwort (Vorgabe 5000)\n"
    "  --speichere DIR        jedes gesendete Dokument als DIR/tisch-NNNN.xml ablegen\n"
    "  --status-port N        UDP-Port 0.0.0.0:N abhören, jedes Datagramm als\n"
    "                         Zeile \"status: TEXT\" ausgeben\n"
    "  --status-warten MS     nach dem letzten Tisch so lange auf Status warten (Vorgabe 0)\n"
    "  --nur-senden           nur senden, auf keine Antwort warten\n"
    "  --help                 diese Hilfe\n"
    "  --version              die Version ausgeben\n"
    "\n"
    "Ganze Aufnahmen spielen (der Tisch referiert wie ein Spielserver):\n"
    "  --spielen              je Tisch die Aufnahme des Spielers: Tischstand senden,\n"
    "                         den geantworteten Stoß (mit Rauschen) auf dem Tisch\n"
    "                         spielen, beurteilen und, solange es gut geht, den\n"
    "                         neuen Stand senden; am Ende ein Bericht\n"
    "  --kugeln N             N Objektkugeln je Tisch (Vorgabe 15, die Schwarze\n"
    "                         immer dabei), alle Taschen erlaubt\n"
    "  --gruppe 0|1|2         Gruppe des Spielers: halbe, volle, alle (Vorgabe 0)\n"
    "  --rauschen F           Rauschfaktor des Queues: Richtung ± 0.125°·F und\n"
    "                         Stärke ± 0.075·F (Standardabweichungen; Vorgabe 0)\n"
    "  --modell P|R           P: die Welt des Planers, R: ein echtes Tuch (Vorgabe R)\n"
    "  --lokal                den Planer im Prozess fragen statt über das Netz; er\n"
    "                         spielt genau den Stoß, den die Antwort trüge\n"
    "  --threads T            mit --lokal: Tische auf T Threads, gleiches Ergebnis\n"
    "  --config DATEI         config.ini für --spielen (Welt P/R und, mit --lokal,\n"
    "                         der Planer) statt der Datei neben dem Programm\n"
    "  --planer vorgegeben|robust\n"
    "                         mit --lokal: welcher Planer; robust nimmt die übrigen\n"
    "                         Werte aus [planer] der config.ini (Vorgabe: vorgegeben)\n"
    "  --json                 den Bericht als ein JSON-Objekt\n"
    "  --protokoll DATEI      je Stoß eine JSON-Zeile (Lage vorher, Antwort,\n"
    "                         gespielter Stoß, versenkte Kugeln, Urteil)\n"
    "  --bilder DIR           je misslungenem Stoß ein Bild DIR/tisch-T-stoss-S.png\n"
    "  --vergleich            beide Planer im Prozess über die Rauschfaktoren 0, 0.5,\n"
    "                         1, 1.5 und 2, auf denselben Tischen und unter denselben\n"
    "                         Störungen; eine Tabelle (oder JSON)\n"
    "  --bild DATEI.png       mit --vergleich: Erfolg je Stoß (mit 95-%-Intervall) und\n"
    "                         Kugeln je Aufnahme als Kurven\n"
    "Gleiche Optionen geben gleiche Berichte (bis auf die Zeiten). Auf einem\n"
    "Terminal zeigt die Fehlerausgabe den Fortschritt.\n"
    "\n"
    "Ausgabe: je Tisch eine Zeile \"cmdid=N x=X y=Y rtt_ms=T\", \"cmdid=N fehlt\" oder\n"
    "\"cmdid=N fehlerhaft\", zum Schluss \"beantwortet=A fehlend=M fehlerhaft=F\n"
    "median_ms=T p99_ms=T\" (\"-\" ohne Antworten). Mit --nur-senden je Tisch\n"
    "\"cmdid=N gesendet\" oder \"cmdid=N nicht_gesendet\", zum Schluss\n"
    "\"gesendet=S nicht_gesendet=U\".\n"
    "\n"
    "Rückgabewert: 0, wenn jeder Tisch wohlgeformt beantwortet (bzw. gesendet) wurde;\n"
    "1, wenn eine Antwort fehlt oder fehlerhaft ist; 2 bei falschem Aufruf oder\n"
    "wenn ein Port nicht geöffnet werden kann.\n";

std::optional<Optionen> LeseOptionen(const std::vector<std::string>& argumente, std::string& fehler) {
    Optionen o;
    std::optional<std::uint32_t> anzahl;
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
        if (a == "--nur-senden" || a == "--spielen" || a == "--lokal" || a == "--json" || a == "--vergleich") {
            (a == "--nur-senden" ? o.nurSenden
             : a == "--spielen"  ? o.spielen
             : a == "--lokal"    ? o.lokal
             : a == "--json"     ? o.json
                                 : o.vergleich) = true;
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
        const bool mitWert = a == "--spieler" || a == "--antwort-port" || a == "--zufall" ||
                             a == "--anzahl" || a == "--speichere" || a == "--status-port" ||
                             a == "--status-warten" || a == "--zeitlimit" || a == "--kugeln" || a == "--gruppe" ||
                             a == "--rauschen" || a == "--modell" || a == "--threads" || a == "--protokoll" ||
                             a == "--bilder" || a == "--planer" || a == "--config" || a == "--bild";
        if (!mitWert) {
            fehler = "Unbekannte Option " + std::string(a) + ".";
            return std::nullopt;
        }
        if (i + 1 >= argumente.size()) {
            fehler = "Option " + std::string(a) + " braucht einen Wert.";
            return std::nullopt;
        }
        const std::string_view wert = argumente[++i];
        const auto falsch = [&](const char* erwartet) {
            fehler = "Ungültiger Wert \"" + std::string(wert) + "\" für " + std::string(a) + ": erwartet " +
                     erwartet + ".";
            return std::nullopt;
        };
        std::uint32_t z = 0;
        if (a == "--spieler") {
            if (!LeseAdresse(wert, o)) return falsch("IPv4-ADRESSE:PORT, z. B. 127.0.0.1:2222");
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
            if (!LeseZahl<std::uint32_t>(wert, 1, 600000, z)) return falsch("Millisekunden 1..600000");
            o.zeitlimitMs = z;
        } else if (a == "--status-warten") {
            if (!LeseZahl<std::uint32_t>(wert, 0, 600000, z)) return falsch("Millisekunden 0..600000");
            o.statusWartenMs = z;
        } else if (a == "--kugeln") {
            if (!LeseZahl<std::uint32_t>(wert, 1, 15, z)) return falsch("eine Zahl 1..15");
            o.kugeln = static_cast<int>(z);
        } else if (a == "--gruppe") {
            if (!LeseZahl<std::uint32_t>(wert, 0, 2, z)) return falsch("0 (halbe), 1 (volle) oder 2 (alle)");
            o.gruppe = static_cast<std::int32_t>(z);
        } else if (a == "--rauschen") {
            if (!LeseZahl<double>(wert, 0.0, 100.0, o.rauschen)) return falsch("eine Zahl 0..100, z. B. 1 oder 0.5");
        } else if (a == "--modell") {
            if (wert != "P" && wert != "R") return falsch("P oder R");
            o.modell = wert == "P" ? Modell::P : Modell::R;
        } else if (a == "--planer") {
            if (wert != "vorgegeben" && wert != "robust") return falsch("vorgegeben oder robust");
            o.robust = wert == "robust";
        } else if (a == "--threads") {
            if (!LeseZahl<std::uint32_t>(wert, 1, 64, z)) return falsch("eine Zahl 1..64");
            o.threads = static_cast<int>(z);
        } else if (a == "--bild") {
            if (wert.empty()) return falsch("eine Datei");
            o.bild = wert;
        } else if (a == "--config") {
            if (wert.empty()) return falsch("eine Datei");
            o.konfiguration = wert;
        } else if (a == "--protokoll" || a == "--bilder" || a == "--speichere") {
            if (wert.empty()) return falsch(a == "--protokoll" ? "eine Datei" : "ein Verzeichnis");
            (a == "--protokoll" ? o.protokollDatei : a == "--bilder" ? o.bilderVerzeichnis : o.speicherVerzeichnis) = wert;
        }
    }
    if (o.hilfe || o.version) return o;
    if (o.zufallSaat.has_value() != anzahl.has_value()) {
        fehler = "--zufall und --anzahl gehören zusammen.";
        return std::nullopt;
    }
    o.anzahl = anzahl.value_or(0);
    if (o.vergleich) {
        // Der Vergleich spielt beide Planer im Prozess, also wie --spielen --lokal.
        o.spielen = o.lokal = true;
        if (o.robust || !o.protokollDatei.empty() || !o.bilderVerzeichnis.empty()) {
            fehler = "--vergleich spielt beide Planer; --planer, --protokoll und --bilder gehören zu --spielen.";
            return std::nullopt;
        }
    } else if (!o.bild.empty()) {
        fehler = "--bild gehört zu --vergleich.";
        return std::nullopt;
    }
    if (o.robust && !o.lokal) {
        fehler = "--planer gilt nur mit --lokal; über das Netz plant der Spieler, wie seine config.ini sagt.";
        return std::nullopt;
    }
    const bool nurFuerSpielen = !o.konfiguration.empty() || o.lokal || o.json || !o.protokollDatei.empty() || !o.bilderVerzeichnis.empty();
    if (!o.spielen && nurFuerSpielen) {
        fehler = "--config, --lokal, --json, --protokoll und --bilder gehören zu --spielen.";
        return std::nullopt;
    }
    if (o.spielen) {
        if (!o.dateien.empty() || o.anzahl == 0 || o.nurSenden) {
            fehler = "--spielen braucht --zufall SAAT --anzahl K, keine Dateien und kein --nur-senden.";
            return std::nullopt;
        }
        if (o.threads > 1 && !o.lokal) {
            fehler = "--threads gilt nur mit --lokal: über das Netz spielt ein Spieler Stoß für Stoß.";
            return std::nullopt;
        }
    }
    if (o.dateien.empty() && o.anzahl == 0) {
        fehler = "Keine Tische: Dateien angeben oder --zufall SAAT --anzahl K.";
        return std::nullopt;
    }
    if (o.dateien.size() + o.anzahl > 9999) {
        fehler = "Höchstens 9999 Tische (die cmdid hat in den Dateinamen vier Stellen).";
        return std::nullopt;
    }
    return o;
}
