#include "net/anfrage.h"

#include "net/xml_schreiben.h"

void MeldeFehlerhafteAnfrage(const Anzeige& a) {
    ZeigeMeldung(a, "Netzwerkfehler", "Fehlerhafte XML-Datei empfangen.", Symbol::Keins);
}

void Beantworte(const Sender& s, const NetzStatus& anfrage, const Vektor& stoss, const std::string& eigeneAdresse) {
    NetzStatus antwort;
    antwort.ipAdresse = eigeneAdresse;
    antwort.cmd = anfrage.cmd;
    antwort.port = s.netz.port;
    antwort.running = true;
    std::optional<std::string> ergebnis = ErzeugeErgebnisXML(s.anzeige, s.verzeichnis, stoss, antwort);
    if (!ergebnis) return;
    StarteSendeThread(s, std::move(*ergebnis), anfrage.ipAdresse, anfrage.port);
}
