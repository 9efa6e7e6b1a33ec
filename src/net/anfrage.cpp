#include "net/anfrage.h"

#include "anzeige/anzeige.h"
#include "model/tisch.h"
#include "net/eigene_adresse.h"
#include "net/senden.h"
#include "net/xml_lesen.h"
#include "net/xml_schreiben.h"
#include "planner/robuste_suche.h"

namespace {

// Das Ergebnis an die Adresse, die die Anfrage nennt; es nennt den eigenen Server.
void Beantworte(const NetzStatus& anfrage, const Vektor& stoss) {
    NetzStatus antwort;
    EigeneIPAdresse(antwort.ipAdresse);
    antwort.cmd = anfrage.cmd;
    antwort.port = tisch.port;
    antwort.running = true;
    std::optional<std::string> ergebnis = ErzeugeErgebnisXML(stoss, antwort);
    if (!ergebnis) return;
    StarteSendeThread(std::move(*ergebnis), anfrage.ipAdresse, anfrage.port);
}

Anfragebeobachter beobachter;

}  // namespace

void SetzeAnfragebeobachter(const Anfragebeobachter& b) { beobachter = b; }

void MeldeFehlerhafteAnfrage() {
    ZeigeMeldung("Netzwerkfehler", "Fehlerhafte XML-Datei empfangen.", Symbol::Keins);
}

void BearbeiteAnfrage(const std::string& dokument) {
    Spielstand stand{};
    NetzStatus anfrage;  // cmd und die Antwortadresse: anfrage.ipAdresse, anfrage.port
    if (!LeseSpielstandXML(dokument, stand) || !LeseNetzStatusXML(anfrage, dokument)) {
        MeldeFehlerhafteAnfrage();
        return;
    }
    UebernehmeKugeln(stand);
    ZeigeKugeln(stand);
    const std::string adresse = anfrage.ipAdresse + ":" + std::to_string(anfrage.port);
    if (beobachter.vorDemPlanen) beobachter.vorDemPlanen(adresse, stand);
    Vektor stoss{};
    PlaneStoss(stand, stoss);  // vorgegeben wie immer, robust nur, wenn [planer] es sagt
    ZeigeVektor(stoss);
    if (beobachter.nachDemPlanen) beobachter.nachDemPlanen(adresse, stand, stoss);
    Beantworte(anfrage, stoss);
}
