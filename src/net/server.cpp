#include "net/server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include "anzeige/anzeige.h"
#include "model/tisch.h"
#include "net/eigene_adresse.h"
#include "net/senden.h"
#include "net/xml_lesen.h"
#include "net/xml_schreiben.h"
#include "planner/robuste_suche.h"

namespace {

using std::chrono::milliseconds;
using Uhr = std::chrono::steady_clock;

// Ein Lauf des Servers. Jedes Einschalten bekommt einen neuen, damit ein
// auslaufender alter Thread nichts vom neuen anfasst.
struct ServerLauf {
    std::atomic<bool> laeuft{true};  // ServerLaeuft
    int port = 0;                    // ServerPort
    milliseconds wartezeit{};        // ohne Daten
    milliseconds gesamtzeit{};       // für ein ganzes Dokument
    // Die Deskriptoren gehören dem Server-Thread, der sie auch schließt. Unter
    // dem Mutex darf StoppeServer sie wecken (shutdown), aber nie schließen:
    // eine geschlossene Nummer könnte schon einer anderen Datei gehören.
    std::mutex mutex;
    int serverSocket = -1;
    int clientSocket = -1;
};

std::mutex laufMutex;
std::shared_ptr<ServerLauf> aktuellerLauf;
std::condition_variable threadEnde;
int laufendeThreads = 0;  // unter laufMutex

void Setze(ServerLauf& lauf, int ServerLauf::*feld, int fd) {
    std::lock_guard sperre(lauf.mutex);
    lauf.*feld = fd;
}

void Schliesse(ServerLauf& lauf, int ServerLauf::*feld) {
    std::lock_guard sperre(lauf.mutex);
    if (lauf.*feld >= 0) ::close(lauf.*feld);
    lauf.*feld = -1;
}

void Fehler(const char* text) { ZeigeMeldung("StartTCPServer()", text, Symbol::Fehler); }

void MeldeFehlerhaft() { ZeigeMeldung("Netzwerkfehler", "Fehlerhafte XML-Datei empfangen.", Symbol::Keins); }

// Socket, bind und listen, noch bevor jemand "running" hört. Jeder Fehlschlag
// zeigt seine Meldung und sagt im Protokoll, warum das Netz aus bleibt.
bool Oeffne(ServerLauf& lauf) {
    int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (s < 0) {
        const int fehler = errno;
        Fehler("Fehler beim Erstellen des TCP-Sockets");
        SchreibeLog("Kein TCP-Socket (Errorcode: %d), Netzwerk bleibt aus.\r\n", fehler);
        return false;
    }
    Setze(lauf, &ServerLauf::serverSocket, s);
    int an = 1;
    ::setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &an, sizeof an);
    sockaddr_in adresse{};
    adresse.sin_family = AF_INET;
    adresse.sin_addr.s_addr = htonl(INADDR_ANY);
    adresse.sin_port = htons(static_cast<std::uint16_t>(lauf.port & 0xFFFF));
    if (::bind(s, reinterpret_cast<sockaddr*>(&adresse), sizeof adresse) != 0) {
        const int fehler = errno;
        Fehler("Fehler: 'bind' gescheitert! Der Server konnte nicht an den Port gebunden werden!");
        Schliesse(lauf, &ServerLauf::serverSocket);
        SchreibeLog("Port %d nicht nutzbar (Errorcode: %d), Netzwerk bleibt aus.\r\n", lauf.port, fehler);
        return false;
    }
    if (::listen(s, 1) != 0) {
        const int fehler = errno;
        Fehler("Fehler: 'listen' gescheitert! Der Server kann nicht nach Anfragen lauschen!");
        Schliesse(lauf, &ServerLauf::serverSocket);
        SchreibeLog("Kein Lauschen an Port %d (Errorcode: %d), Netzwerk bleibt aus.\r\n", lauf.port, fehler);
        return false;
    }
    return true;
}

enum class Empfang { Geschlossen, Fehler, Still, ZuLangsam };

int PollGrenze(milliseconds m) { return static_cast<int>(std::clamp<milliseconds::rep>(m.count(), 0, INT_MAX)); }

// Liest bis zum Schließen durch die Gegenstelle. Wer zu lange schweigt oder
// sein Dokument nicht in der Gesamtzeit fertig bekommt, hält den Server nicht
// auf: er wird ohne Antwort getrennt.
Empfang EmpfangeDokument(const ServerLauf& lauf, int c, std::string& dokument, bool& zuLang) {
    const Uhr::time_point schluss = Uhr::now() + lauf.gesamtzeit;
    char puffer[32768];
    for (;;) {
        const milliseconds rest = std::chrono::duration_cast<milliseconds>(schluss - Uhr::now());
        // Auch ein ununterbrochener Strom endet an der Gesamtzeit.
        if (rest <= milliseconds::zero()) {
            SchreibeLog("Dokument nicht in %d ms vollständig, Verbindung getrennt.\r\n",
                        PollGrenze(lauf.gesamtzeit));
            return Empfang::ZuLangsam;
        }
        pollfd p{c, POLLIN, 0};
        const int bereit = ::poll(&p, 1, PollGrenze(std::min(rest, lauf.wartezeit)));
        if (bereit < 0 && errno == EINTR) continue;
        if (bereit == 0) {
            if (rest <= lauf.wartezeit) continue;  // die Gesamtzeit ist um: oben melden
            SchreibeLog("Keine Daten seit %d ms, Verbindung getrennt.\r\n", PollGrenze(lauf.wartezeit));
            return Empfang::Still;
        }
        const ssize_t n = bereit < 0 ? -1 : ::recv(c, puffer, sizeof puffer - 1, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            SchreibeLog("SOCKET_ERROR! (Errorcode: %d) Server fährt runter...\r\n", errno);
            return Empfang::Fehler;
        }
        if (n == 0) {
            SchreibeLog("Verbindung anständig geschlossen...\r\n");
            return Empfang::Geschlossen;
        }
        // Wie Text: ein Stück zählt bis zu seinem ersten Nullbyte.
        const std::size_t stueck = ::strnlen(puffer, static_cast<std::size_t>(n));
        if (!zuLang && dokument.size() + stueck <= kMaxDokument)
            dokument.append(puffer, stueck);
        else
            zuLang = true;  // weiterlesen bis zum Schließen, aber nichts mehr speichern
        SchreibeLog("Empfange Daten... (%d Bytes)\r\n", static_cast<int>(n));
    }
}

void StartTCPServer(const std::shared_ptr<ServerLauf>& lauf) {
    const int s = lauf->serverSocket;  // gehört ab hier diesem Thread
    std::string eigene;
    EigeneIPAdresse(eigene);
    SchreibeLog("Server gestartet...   (IP: %s Port: %d) \r\n", eigene.c_str(), lauf->port);

    while (lauf->laeuft) {
        SchreibeLog("Warte auf Anfrage vom Client...\r\n");
        sockaddr_in peer{};
        socklen_t laenge = sizeof peer;
        int c = ::accept4(s, reinterpret_cast<sockaddr*>(&peer), &laenge, SOCK_CLOEXEC);
        if (c < 0 && errno == EINTR && lauf->laeuft) continue;
        if (c < 0) {
            SchreibeLog("Server wurde gestoppt!\r\n");
            Schliesse(*lauf, &ServerLauf::serverSocket);
            return;
        }
        Setze(*lauf, &ServerLauf::clientSocket, c);
        if (!lauf->laeuft) ::shutdown(c, SHUT_RDWR);  // gestoppt zwischen accept und Eintrag

        LoescheLog();
        char text[INET_ADDRSTRLEN] = {};
        ::inet_ntop(AF_INET, &peer.sin_addr, text, sizeof text);
        SchreibeLog("Verbindung zu %s, Port %d \r\nWarte auf Daten vom Client...\r\n", text,
                    static_cast<int>(ntohs(peer.sin_port)));

        std::string dokument;
        bool zuLang = false;
        const Empfang ende = EmpfangeDokument(*lauf, c, dokument, zuLang);
        Schliesse(*lauf, &ServerLauf::clientSocket);
        if (ende == Empfang::Fehler) {
            Schliesse(*lauf, &ServerLauf::serverSocket);
            return;
        }

        // Beim Ausschalten mitten in einer Anfrage ist das Dokument nur ein Bruchstück.
        if (!lauf->laeuft) break;
        // Getrennt ist kein fehlerhaftes Dokument: keine Meldung, keine Antwort.
        if (ende != Empfang::Geschlossen) continue;
        if (zuLang) {
            SchreibeLog("Dokument zu lang (mehr als %d Zeichen), verworfen.\r\n", static_cast<int>(kMaxDokument));
            MeldeFehlerhaft();
            continue;
        }
        BearbeiteAnfrage(dokument);
    }
    Schliesse(*lauf, &ServerLauf::serverSocket);
    SchreibeLog("\r\nServer beendet...\r\n");
}

void ThreadZuEnde() {
    std::lock_guard sperre(laufMutex);
    --laufendeThreads;
    threadEnde.notify_all();
}

}  // namespace

bool StarteServer(int port) {
    auto lauf = std::make_shared<ServerLauf>();
    lauf->port = port;
    lauf->wartezeit = milliseconds(tisch.wartezeit);
    lauf->gesamtzeit = milliseconds(tisch.gesamtzeit);
    if (!Oeffne(*lauf)) return false;
    {
        std::lock_guard sperre(laufMutex);
        ++laufendeThreads;
    }
    try {
        std::thread([lauf] {
            StartTCPServer(lauf);
            ThreadZuEnde();
        }).detach();
    } catch (const std::system_error& fehler) {
        ThreadZuEnde();
        Schliesse(*lauf, &ServerLauf::serverSocket);
        SchreibeLog("Kein Server-Thread (Errorcode: %d), Netzwerk bleibt aus.\r\n", fehler.code().value());
        return false;
    }
    std::lock_guard sperre(laufMutex);
    aktuellerLauf = lauf;
    return true;
}

bool WarteAufServerende(milliseconds grenze) {
    std::unique_lock sperre(laufMutex);
    return threadEnde.wait_for(sperre, grenze, [] { return laufendeThreads == 0; });
}

void StoppeServer() {
    std::shared_ptr<ServerLauf> lauf;
    {
        std::lock_guard sperre(laufMutex);
        lauf = std::move(aktuellerLauf);
    }
    if (!lauf) return;
    lauf->laeuft = false;
    std::lock_guard sperre(lauf->mutex);
    if (lauf->serverSocket >= 0) ::shutdown(lauf->serverSocket, SHUT_RDWR);
    if (lauf->clientSocket >= 0) ::shutdown(lauf->clientSocket, SHUT_RDWR);
}

void BearbeiteAnfrage(const std::string& dokument) {
    Spielstand stand{};
    NetzStatus anfrage;
    if (!LeseSpielstandXML(dokument, stand) || !LeseNetzStatusXML(anfrage, dokument)) {
        MeldeFehlerhaft();
        return;
    }
    UebernehmeKugeln(stand);
    ZeigeKugeln(stand);
    Vektor stoss{};
    PlaneStoss(stand, stoss);  // vorgegeben wie immer, robust nur, wenn [planer] es sagt
    ZeigeVektor(stoss);

    NetzStatus antwort;
    EigeneIPAdresse(antwort.ipAdresse);
    antwort.cmd = anfrage.cmd;
    antwort.port = tisch.port;
    antwort.running = true;
    std::optional<std::string> ergebnis = ErzeugeErgebnisXML(stoss, antwort);
    if (!ergebnis) return;
    StarteSendeThread(std::move(*ergebnis), anfrage.ipAdresse, anfrage.port);
}
