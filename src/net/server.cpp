#include "net/server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <cerrno>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>

#include "anzeige/anzeige.h"
#include "model/tisch.h"
#include "net/eigene_adresse.h"
#include "net/senden.h"
#include "net/xml_lesen.h"
#include "net/xml_schreiben.h"
#include "planner/suche.h"

namespace {

// Ein Lauf des Servers. Jedes Einschalten bekommt einen neuen, damit ein
// auslaufender alter Thread nichts vom neuen anfasst.
struct ServerLauf {
    std::atomic<bool> laeuft{true};  // ServerLaeuft
    int port = 0;                    // ServerPort
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

void StartTCPServer(const std::shared_ptr<ServerLauf>& lauf) {
    int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (s < 0) {
        Fehler("Fehler beim Erstellen des TCP-Sockets");
        return;
    }
    Setze(*lauf, &ServerLauf::serverSocket, s);
    int an = 1;
    ::setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &an, sizeof an);
    sockaddr_in adresse{};
    adresse.sin_family = AF_INET;
    adresse.sin_addr.s_addr = htonl(INADDR_ANY);
    adresse.sin_port = htons(static_cast<std::uint16_t>(lauf->port & 0xFFFF));
    if (::bind(s, reinterpret_cast<sockaddr*>(&adresse), sizeof adresse) != 0) {
        Fehler("Fehler: 'bind' gescheitert! Der Server konnte nicht an den Port gebunden werden!");
        Schliesse(*lauf, &ServerLauf::serverSocket);
        return;
    }
    if (::listen(s, 1) != 0) {
        Fehler("Fehler: 'listen' gescheitert! Der Server kann nicht nach Anfragen lauschen!");
        Schliesse(*lauf, &ServerLauf::serverSocket);
        return;
    }
    std::string eigene;
    EigeneIPAdresse(eigene);
    SchreibeLog("Server gestartet...   (IP: %s Port: %d) \r\n", eigene.c_str(), lauf->port);

    char puffer[32768];
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
        for (;;) {
            const ssize_t n = ::recv(c, puffer, sizeof puffer - 1, 0);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                SchreibeLog("SOCKET_ERROR! (Errorcode: %d) Server fährt runter...\r\n", errno);
                Schliesse(*lauf, &ServerLauf::clientSocket);
                Schliesse(*lauf, &ServerLauf::serverSocket);
                return;
            }
            if (n == 0) {
                SchreibeLog("Verbindung anständig geschlossen...\r\n");
                break;
            }
            // Wie Text: ein Stück zählt bis zu seinem ersten Nullbyte.
            const std::size_t stueck = ::strnlen(puffer, static_cast<std::size_t>(n));
            if (!zuLang && dokument.size() + stueck <= kMaxDokument)
                dokument.append(puffer, stueck);
            else
                zuLang = true;  // weiterlesen bis zum Schließen, aber nichts mehr speichern
            SchreibeLog("Empfange Daten... (%d Bytes)\r\n", static_cast<int>(n));
        }
        Schliesse(*lauf, &ServerLauf::clientSocket);

        // Beim Ausschalten mitten in einer Anfrage ist das Dokument nur ein Bruchstück.
        if (!lauf->laeuft) break;
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

}  // namespace

void StarteServer(int port) {
    auto lauf = std::make_shared<ServerLauf>();
    lauf->port = port;
    {
        std::lock_guard sperre(laufMutex);
        aktuellerLauf = lauf;
    }
    {
        std::lock_guard sperre(laufMutex);
        ++laufendeThreads;
    }
    std::thread([lauf] {
        StartTCPServer(lauf);
        std::lock_guard sperre(laufMutex);
        --laufendeThreads;
        threadEnde.notify_all();
    }).detach();
}

bool WarteAufServerende(std::chrono::milliseconds grenze) {
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
    SucheStoss(stand, stoss);
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
