#include "bote.h"

#include <filesystem>
#include <fstream>

#include "anfrage.h"
#include "antwort.h"
#include "net/xml_lesen.h"
#include "net/xml_schreiben.h"

namespace {

// Schreibt das Dokument (und legt es ab); false, wenn der Spieler es mit dem
// Tisch leser nicht lesen könnte.
bool Dokument(const Dokumentkopf& kopf, const Tischkontext& leser, const Zufallstisch& lage, std::uint32_t cmdid,
              std::string& dokument, Planerantwort& a) {
    dokument = SchreibeAnfrage(kopf.tisch.tisch, lage, cmdid, kopf.eigeneAdresse, kopf.antwortPort);
    if (kopf.ablage) kopf.ablage->Lege(cmdid, dokument);
    return LeseSpielstandXML(leser, dokument, a.gelesen, false);
}

}  // namespace

void Ablage::Lege(std::uint32_t cmdid, const std::string& dokument) {
    if (verzeichnis.empty()) return;
    const auto pfad = std::filesystem::path(verzeichnis) / Ablagename(cmdid);
    std::ofstream datei(pfad, std::ios::binary | std::ios::trunc);
    if ((datei << dokument) && datei.flush()) return;
    std::lock_guard halt(sperre);
    if (fehler.empty()) fehler = pfad.string();
}

Planer LokalerBote(const Dokumentkopf& kopf, std::shared_ptr<const LokalerPlaner> p) {
    return LokalerBote(kopf, p->tisch, [p](const Spielstand& gelesen) { return PlaneLokal(*p, gelesen); });
}

Planer LokalerBote(const Dokumentkopf& kopf, const Tischkontext& leser, Planung plane) {
    return [kopf, leser, plane](const Zufallstisch& lage, std::uint32_t cmdid) {
        Planerantwort a;
        std::string dokument;
        if (!Dokument(kopf, leser, lage, cmdid, dokument, a)) return a;
        const Planergebnis p = plane(a.gelesen);
        a.gut = true;
        a.x = Festkomma(p.stoss.x);
        a.y = Festkomma(p.stoss.y);
        a.mitStoss = true;
        a.bester = p.bericht.bester;
        a.anstoss = p.bericht.anstoss;
        a.sicherheit = p.bericht.sicherheit;
        a.gekappt = p.bericht.gekappt;
        return a;
    };
}

Planer NetzBote(const Dokumentkopf& kopf, const std::string& adresse, std::uint16_t port, const Socket& hoerer,
                std::uint32_t zeitlimitMs, std::ostream& meldungen) {
    return [kopf, adresse, port, &hoerer, zeitlimitMs, &meldungen](const Zufallstisch& lage, std::uint32_t cmdid) {
        Planerantwort a;
        std::string dokument, fehler;
        if (!Dokument(kopf, kopf.tisch, lage, cmdid, dokument, a)) return a;
        const Zeitpunkt frist = Uhr::now() + std::chrono::milliseconds(zeitlimitMs);
        if (!SendeDokument(adresse, port, dokument, frist, fehler)) {
            meldungen << "spieltisch: cmdid=" << cmdid << ": Senden an " << adresse << ":" << port
                      << " gescheitert: " << fehler << "\n";
            return a;
        }
        for (;;) {
            std::string text;
            const Empfang e = EmpfangeAntwort(hoerer.fd, -1, frist, text, {});
            if (e == Empfang::zeitueberschreitung) {
                meldungen << "spieltisch: cmdid=" << cmdid << ": keine Antwort binnen " << zeitlimitMs << " ms.\n";
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
