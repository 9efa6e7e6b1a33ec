#include "ablauf.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "anfrage.h"
#include "antwort.h"
#include "model/ini_datei.h"
#include "model/konfiguration.h"
#include "netz.h"
#include "statistik.h"
#include "spiel/zufallstisch.h"

namespace {

constexpr const char* kEigeneAdresse = "127.0.0.1";

std::string Millisekunden(std::optional<double> ms) {
    if (!ms) return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", *ms);
    return text;
}

// Ein Datagramm als eine Zeile: Steuerzeichen und Bytes über 126 als \xNN.
std::string Druckbar(std::string_view text) {
    std::string z;
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 32 && b < 127 && b != '\\') {
            z += c;
        } else {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\x%02X", b);
            z += esc;
        }
    }
    return z;
}

// Ein Verzeichnis ließe sich öffnen, aber nicht lesen; darum die Prüfung vorweg.
bool LeseDatei(const std::string& pfad, std::string& inhalt) {
    std::error_code fehler;
    std::ifstream datei(pfad, std::ios::binary);
    if (!std::filesystem::is_regular_file(pfad, fehler) || !datei) return false;
    inhalt.assign(std::istreambuf_iterator<char>(datei), std::istreambuf_iterator<char>());
    return !datei.bad();
}

struct Bilanz {
    int beantwortet = 0, fehlend = 0, fehlerhaft = 0, gesendet = 0, nichtGesendet = 0;
    std::vector<double> laufzeiten;
};

}  // namespace

int FuehreAus(const Optionen& o, std::ostream& aus, std::ostream& meldungen) {
    // Die Zufallstische liegen immer auf dem Vorgabetisch, unabhängig von einer config.ini.
    Tisch t{};
    {
        IniDatei leer;
        TischAus(leer, t);
    }

    std::vector<std::string> dateitexte;
    for (const std::string& pfad : o.dateien) {
        std::string inhalt;
        if (!LeseDatei(pfad, inhalt)) {
            meldungen << "spieltisch: Datei " << pfad << " ist nicht lesbar.\n";
            return kFalscherAufruf;
        }
        dateitexte.push_back(std::move(inhalt));
    }
    if (!o.speicherVerzeichnis.empty()) {
        std::error_code fehler;
        std::filesystem::create_directories(o.speicherVerzeichnis, fehler);
        if (fehler || !std::filesystem::is_directory(o.speicherVerzeichnis)) {
            meldungen << "spieltisch: Verzeichnis " << o.speicherVerzeichnis << " kann nicht angelegt werden.\n";
            return kFalscherAufruf;
        }
    }

    // Beide Ports sind offen, bevor irgendetwas hinausgeht.
    std::string fehler;
    Socket status;
    if (o.statusPort) {
        status = OeffneStatusPort(*o.statusPort, fehler);
        if (!status) {
            meldungen << "spieltisch: " << fehler << "\n";
            return kFalscherAufruf;
        }
    }
    std::uint16_t antwortPort = 0;
    const Socket hoerer = OeffneAntwortPort(o.antwortPort, antwortPort, fehler);
    if (!hoerer) {
        meldungen << "spieltisch: " << fehler << "\n";
        return kFalscherAufruf;
    }
    if (o.antwortPort == 0) aus << "antwort_port=" << antwortPort << std::endl;
    meldungen << "spieltisch: Antworten an " << kEigeneAdresse << ":" << antwortPort << ", Spieler "
              << o.spielerAdresse << ":" << o.spielerPort << "\n";

    const Statusausgabe zeigeStatus = [&aus](std::string_view datagramm) {
        aus << "status: " << Druckbar(datagramm) << std::endl;
    };

    Bilanz bilanz;
    std::set<std::uint32_t> ausstehend;  // cmdids ohne Antwort: eine späte Antwort wird übergangen
    std::mt19937 zufall(o.zufallSaat.value_or(0));
    const std::uint32_t anzahl = static_cast<std::uint32_t>(dateitexte.size()) + o.anzahl;

    for (std::uint32_t cmdid = 1; cmdid <= anzahl; ++cmdid) {
        std::string dokument;
        if (cmdid <= dateitexte.size()) {
            dokument = std::move(dateitexte[cmdid - 1]);
            const Kopfdaten k = SetzeKopfdaten(dokument, cmdid, kEigeneAdresse, antwortPort);
            if (!k.cmdid || !k.ipv4 || !k.port) {
                meldungen << "spieltisch: cmdid=" << cmdid << ": " << o.dateien[cmdid - 1] << " hat kein"
                          << (!k.cmdid ? " cmdid=\"…\"" : "") << (!k.ipv4 ? " <ipv4>…</ipv4>" : "")
                          << (!k.port ? " <port>…</port>" : "") << "; gesendet wie es ist.\n";
            }
        } else {
            dokument = SchreibeAnfrage(t, ErzeugeZufallstisch(t, zufall), cmdid, kEigeneAdresse, antwortPort);
        }
        if (!o.speicherVerzeichnis.empty()) {
            const auto pfad = std::filesystem::path(o.speicherVerzeichnis) / Ablagename(cmdid);
            std::ofstream ablage(pfad, std::ios::binary);
            if (!(ablage << dokument) || !ablage.flush()) {
                meldungen << "spieltisch: " << pfad.string() << " kann nicht geschrieben werden.\n";
                return kFalscherAufruf;
            }
        }

        const Zeitpunkt start = Uhr::now();
        const Zeitpunkt frist = start + std::chrono::milliseconds(o.zeitlimitMs);
        if (!SendeDokument(o.spielerAdresse, o.spielerPort, dokument, frist, fehler)) {
            meldungen << "spieltisch: cmdid=" << cmdid << ": Senden an " << o.spielerAdresse << ":" << o.spielerPort
                      << " gescheitert: " << fehler << "\n";
            if (o.nurSenden) {
                ++bilanz.nichtGesendet;
                aus << "cmdid=" << cmdid << " nicht_gesendet" << std::endl;
            } else {
                ++bilanz.fehlend;
                ausstehend.insert(cmdid);
                aus << "cmdid=" << cmdid << " fehlt" << std::endl;
            }
            continue;
        }
        if (o.nurSenden) {
            ++bilanz.gesendet;
            aus << "cmdid=" << cmdid << " gesendet" << std::endl;
            WarteAufStatus(status.fd, Uhr::now(), zeigeStatus);  // nur was schon da ist
            continue;
        }

        // Warten bis zur ersten Antwort, die nicht zu einem früheren, schon
        // als fehlend gezählten Tisch gehört.
        std::string text;
        for (;;) {
            const Empfang e = EmpfangeAntwort(hoerer.fd, status.fd, frist, text, zeigeStatus);
            const double ms = std::chrono::duration<double, std::milli>(Uhr::now() - start).count();
            if (e == Empfang::zeitueberschreitung) {
                meldungen << "spieltisch: cmdid=" << cmdid << ": keine Antwort binnen " << o.zeitlimitMs << " ms.\n";
                ++bilanz.fehlend;
                ausstehend.insert(cmdid);
                aus << "cmdid=" << cmdid << " fehlt" << std::endl;
                break;
            }
            const Antwortpruefung p = e == Empfang::zu_gross ? Antwortpruefung{} : PruefeAntwort(text, cmdid);
            if (!p.gut && p.cmdid && *p.cmdid > 0 && ausstehend.count(static_cast<std::uint32_t>(*p.cmdid))) {
                meldungen << "spieltisch: späte Antwort für cmdid=" << *p.cmdid << " übergangen.\n";
                ausstehend.erase(static_cast<std::uint32_t>(*p.cmdid));
                continue;
            }
            if (!p.gut) {
                const std::string grund =
                    e == Empfang::zu_gross ? "größer als " + std::to_string(kMaxAntwort) + " Bytes" : p.fehler;
                meldungen << "spieltisch: cmdid=" << cmdid << ": fehlerhafte Antwort: " << grund << ".\n";
                ++bilanz.fehlerhaft;
                aus << "cmdid=" << cmdid << " fehlerhaft" << std::endl;
                break;
            }
            ++bilanz.beantwortet;
            bilanz.laufzeiten.push_back(ms);
            aus << "cmdid=" << cmdid << " x=" << p.x << " y=" << p.y << " rtt_ms=" << Millisekunden(ms) << std::endl;
            break;
        }
    }

    WarteAufStatus(status.fd, Uhr::now() + std::chrono::milliseconds(o.statusWartenMs), zeigeStatus);

    if (o.nurSenden) {
        aus << "gesendet=" << bilanz.gesendet << " nicht_gesendet=" << bilanz.nichtGesendet << std::endl;
        return bilanz.nichtGesendet == 0 ? kAllesBeantwortet : kAntwortFehlt;
    }
    aus << "beantwortet=" << bilanz.beantwortet << " fehlend=" << bilanz.fehlend << " fehlerhaft=" << bilanz.fehlerhaft
        << " median_ms=" << Millisekunden(Median(bilanz.laufzeiten))
        << " p99_ms=" << Millisekunden(Perzentil99(bilanz.laufzeiten)) << std::endl;
    return bilanz.fehlend == 0 && bilanz.fehlerhaft == 0 ? kAllesBeantwortet : kAntwortFehlt;
}
