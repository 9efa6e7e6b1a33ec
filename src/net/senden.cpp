#include "net/senden.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <exception>
#include <condition_variable>
#include <map>
#include <mutex>
#include <system_error>
#include <thread>

#include "anzeige/anzeige.h"
#include "net/eigene_adresse.h"
#include "net/xml_schreiben.h"

namespace {

using Ziel = std::pair<std::string, int>;

}  // namespace

// Antworten, die gerade gesendet werden, insgesamt und je Ziel (Adresse und
// Port). Jede kann an einer stummen Adresse bis zur Sendezeitgrenze hängen;
// ohne Obergrenze machte eine Flut solcher Anfragen Tausende Threads, und ohne
// Grenze je Ziel nähme eine Flut an eine Adresse allen anderen die Plätze.
struct Senderplaetze {
    std::mutex mutex;
    std::condition_variable frei;          // laufend ist gesunken
    std::uint32_t laufend = 0;             // unter mutex
    std::map<Ziel, std::uint32_t> jeZiel;  // unter mutex, nur Ziele mit laufenden Sendern
};

std::shared_ptr<Senderplaetze> NeueSenderplaetze() { return std::make_shared<Senderplaetze>(); }

namespace {

void Fehler(const Anzeige& a, const char* titel, const std::string& text) { ZeigeMeldung(a, titel, text, Symbol::Fehler); }

// Belegt einen Platz für ziel. Ist keiner frei: false, und laufend sagt, wie
// viele Antworten die Grenze erreicht haben (insgesamt oder an dieses Ziel).
bool Belege(Senderplaetze& p, const Netzeinstellung& n, const Ziel& ziel, std::uint32_t& laufend) {
    std::lock_guard sperre(p.mutex);
    const auto gefunden = p.jeZiel.find(ziel);
    const std::uint32_t dorthin = gefunden == p.jeZiel.end() ? 0 : gefunden->second;
    laufend = p.laufend >= n.sender ? p.laufend : dorthin;
    if (p.laufend >= n.sender || dorthin >= n.sender_je_ziel) return false;
    ++p.laufend;
    ++p.jeZiel[ziel];
    return true;
}

void GibFrei(Senderplaetze& p, const Ziel& ziel) {
    std::lock_guard sperre(p.mutex);
    --p.laufend;
    const auto gefunden = p.jeZiel.find(ziel);
    if (--gefunden->second == 0) p.jeZiel.erase(gefunden);
    p.frei.notify_all();
}

}  // namespace

void StarteSendeThread(const Sender& s, std::string dokument, std::string ipAdresse, int port) {
    // Derselbe Port wie beim Verbinden: nur die unteren 16 Bit zählen.
    const Ziel ziel{ipAdresse, port & 0xFFFF};
    std::uint32_t laufend = 0;
    if (!Belege(*s.plaetze, s.netz, ziel, laufend)) {
        SchreibeLog(s.anzeige, "Schon %d Antworten unterwegs, Antwort an %s, Port %d verworfen.\r\n",
                    static_cast<int>(laufend), ipAdresse.c_str(), port);
        return;
    }
    try {
        // Der Thread hält seine Plätze und seine Anzeige selbst: er darf den Aufrufer überdauern.
        std::thread([d = std::move(dokument), ziel, port, plaetze = s.plaetze, a = s.anzeige] {
            try {
                SendeTCPPacket(a, d, ziel.first, port);
            } catch (const std::exception&) {
                // Etwa kein Speicher für die Meldung: die Antwort fällt aus, der Platz wird frei.
            }
            GibFrei(*plaetze, ziel);
        }).detach();
    } catch (const std::system_error& fehler) {
        // Etwa am Thread-Limit des Benutzers: die Antwort fällt aus, der Spieler läuft weiter.
        GibFrei(*s.plaetze, ziel);
        SchreibeLog(s.anzeige, "Kein Sendethread (Errorcode: %d), Antwort an %s, Port %d verworfen.\r\n",
                    fehler.code().value(), ipAdresse.c_str(), port);
    }
}

bool WarteAufSender(const Sender& s, std::chrono::milliseconds grenze) {
    std::unique_lock sperre(s.plaetze->mutex);
    return s.plaetze->frei.wait_for(sperre, grenze, [&] { return s.plaetze->laufend == 0; });
}

void SendeTCPPacket(const Anzeige& a, const std::string& dokument, const std::string& ipAdresse, int port) {
    const char* titel = "SendeTCPPacket()";
    int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (s < 0) {
        Fehler(a, titel, "Fehler beim Erstellen des TCP-Sockets!");
        return;
    }
    // Ohne Zeitgrenze hinge ein Sendethread an einer stummen Adresse minutenlang.
    timeval grenze{10, 0};
    ::setsockopt(s, SOL_SOCKET, SO_SNDTIMEO, &grenze, sizeof grenze);

    sockaddr_in ziel{};
    ziel.sin_family = AF_INET;
    ziel.sin_port = htons(static_cast<std::uint16_t>(port & 0xFFFF));
    // Nur Ziffernschreibweise: ein Name wird nicht aufgelöst, sondern scheitert
    // wie eine Adresse, die nicht annimmt.
    const bool adresseGueltig = ::inet_pton(AF_INET, ipAdresse.c_str(), &ziel.sin_addr) == 1;
    if (!adresseGueltig || ::connect(s, reinterpret_cast<sockaddr*>(&ziel), sizeof ziel) != 0) {
        Fehler(a, titel, FormatiereLog("Fehler: 'connect' gescheitert! Es kann keine Verbindung zum Server (IP:%s, "
                                    "Port:%d) erstellt werden!",
                                    ipAdresse.c_str(), port));
        ::close(s);
        return;
    }
    const ssize_t n = ::send(s, dokument.data(), dokument.size(), MSG_NOSIGNAL);
    if (n != static_cast<ssize_t>(dokument.size()))
        Fehler(a, titel, "Fehler: 'send' gescheitert! Das Paket wurde nicht korrekt übertragen!");
    ::close(s);
}

void SendeUDPBroadcast(const Anzeige& a, const std::string& daten, int port) {
    const char* titel = "SendeUDPBroadcast()";
    int s = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (s < 0) {
        Fehler(a, titel, "Fehler beim Erstellen des Sockets");
        return;
    }
    int an = 1;
    ::setsockopt(s, SOL_SOCKET, SO_BROADCAST, &an, sizeof an);  // ein Fehlschlag zeigt sich beim Senden
    sockaddr_in ziel{};
    ziel.sin_family = AF_INET;
    ziel.sin_port = htons(static_cast<std::uint16_t>(port & 0xFFFF));
    ziel.sin_addr.s_addr = htonl(INADDR_BROADCAST);
    if (::sendto(s, daten.data(), daten.size(), 0, reinterpret_cast<sockaddr*>(&ziel), sizeof ziel) < 0)
        Fehler(a, titel, "Fehler: 'sendto' gescheitert! Die Daten wurden nicht korrekt als Broadcast verschickt!");
    ::close(s);
}

void SendeNetzStatus(const Sender& s, bool running) {
    NetzStatus status;
    EigeneIPAdresse(status.ipAdresse);
    status.cmd = 0;
    status.port = s.netz.port;
    status.running = running;
    std::optional<std::string> dokument = ErzeugeStatusXML(s.anzeige, s.verzeichnis, status);
    if (!dokument) return;
    SendeUDPBroadcast(s.anzeige, *dokument, s.netz.bport);
}
