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
#include <exception>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "net/anfrage.h"
#include "net/eigene_adresse.h"
#include "net/verbindung.h"

namespace {

using std::chrono::milliseconds;

// So lange ruht das Annehmen nach einem gescheiterten accept (etwa zu viele
// offene Dateien): die offenen Verbindungen werden weiter bedient.
constexpr milliseconds kAnnahmepause{100};

// Ein Lauf des Servers. Jedes Einschalten bekommt einen neuen, damit ein
// auslaufender alter Thread nichts vom neuen anfasst; er hält Kopien der
// Rückrufe und kann so den Aufrufer überdauern.
struct ServerLauf {
    std::atomic<bool> laeuft{true};  // ServerLaeuft
    int port = 0;                    // ServerPort
    std::string eigeneAdresse;       // einmal beim Einschalten aufgelöst, nicht je Antwort
    Anzeige anzeige;
    Dokumentbearbeiter bearbeite;
    std::function<void()> unerwartetesEnde;
    Fristen fristen{};
    std::size_t verbindungen = 1;  // höchstens so viele zugleich offen
    // Der lauschende Socket gehört dem Server-Thread, der ihn auch schließt.
    // Unter dem Mutex darf StoppeServer ihn wecken (shutdown), aber nie
    // schließen: eine geschlossene Nummer könnte schon einer anderen Datei gehören.
    std::mutex mutex;
    int serverSocket = -1;
};

void SchliesseServerSocket(ServerLauf& lauf) {
    std::lock_guard sperre(lauf.mutex);
    if (lauf.serverSocket >= 0) ::close(lauf.serverSocket);
    lauf.serverSocket = -1;
}

void Fehler(const ServerLauf& lauf, const char* text) { ZeigeMeldung(lauf.anzeige, "StartTCPServer()", text, Symbol::Fehler); }

// Socket, bind und listen, noch bevor jemand "running" hört. Jeder Fehlschlag
// zeigt seine Meldung und sagt im Protokoll, warum das Netz aus bleibt.
bool Oeffne(ServerLauf& lauf) {
    const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (s < 0) {
        const int fehler = errno;
        Fehler(lauf, "Fehler beim Erstellen des TCP-Sockets");
        SchreibeLog(lauf.anzeige, "Kein TCP-Socket (Errorcode: %d), Netzwerk bleibt aus.\r\n", fehler);
        return false;
    }
    lauf.serverSocket = s;
    int an = 1;
    ::setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &an, sizeof an);
    sockaddr_in adresse{};
    adresse.sin_family = AF_INET;
    adresse.sin_addr.s_addr = htonl(INADDR_ANY);
    adresse.sin_port = htons(static_cast<std::uint16_t>(lauf.port & 0xFFFF));
    if (::bind(s, reinterpret_cast<sockaddr*>(&adresse), sizeof adresse) != 0) {
        const int fehler = errno;
        Fehler(lauf, "Fehler: 'bind' gescheitert! Der Server konnte nicht an den Port gebunden werden!");
        SchliesseServerSocket(lauf);
        SchreibeLog(lauf.anzeige, "Port %d nicht nutzbar (Errorcode: %d), Netzwerk bleibt aus.\r\n", lauf.port, fehler);
        return false;
    }
    // Die Warteschlange fasst so viele, wie offen sein dürfen: während einer
    // Planung wartet ein neuer Spielserver dort, statt dass sein Verbindungs-
    // aufbau verworfen und erst nach einer Sekunde wiederholt wird.
    if (::listen(s, static_cast<int>(std::min<std::size_t>(lauf.verbindungen, 4096))) != 0) {
        const int fehler = errno;
        Fehler(lauf, "Fehler: 'listen' gescheitert! Der Server kann nicht nach Anfragen lauschen!");
        SchliesseServerSocket(lauf);
        SchreibeLog(lauf.anzeige, "Kein Lauschen an Port %d (Errorcode: %d), Netzwerk bleibt aus.\r\n", lauf.port, fehler);
        return false;
    }
    return true;
}

// Die Wartezeit des poll bis frist, aufgerundet (sonst wacht er knapp davor
// auf und dreht Runden ohne Arbeit); -1 ohne Frist.
int PollGrenze(Uhr::time_point frist, Uhr::time_point jetzt) {
    if (frist == Uhr::time_point::max()) return -1;
    if (frist <= jetzt) return 0;
    const auto rest = std::chrono::ceil<milliseconds>(frist - jetzt).count();
    return static_cast<int>(std::min<decltype(rest)>(rest, INT_MAX));
}

// Was der Server-Thread zwischen zwei poll hält. Beim Verlassen, auch durch
// eine Ausnahme, schließt er jede noch offene Verbindung.
struct Tafel {
    std::vector<Verbindung> offen;
    std::vector<Verbindung> fertig;  // geschlossen, Dokument vollständig, noch nicht bearbeitet
    std::vector<pollfd> p;           // [0] der lauschende Socket, dann offen in derselben Reihenfolge
    Uhr::time_point annehmenAb{};    // davor ruht das Annehmen nach einem Fehler
    int annahmefehler = 0;           // der zuletzt gemeldete, bis ein accept gelingt
    ~Tafel() {
        for (const Verbindung& v : offen) ::close(v.fd);
    }
};

// Liest jede Verbindung, für die poll etwas meldet, und trennt die, deren
// Frist abgelaufen ist. Fertige Dokumente gehen nach tafel.fertig.
void LeseUndPruefe(const ServerLauf& lauf, Tafel& tafel, Uhr::time_point jetzt) {
    std::size_t behalten = 0;
    for (std::size_t i = 0; i < tafel.offen.size(); ++i) {
        Verbindung& v = tafel.offen[i];
        const bool bereit = tafel.p[i + 1].revents != 0;
        Empfang e = bereit ? Empfange(lauf.anzeige, v, jetzt) : Empfang::Offen;
        if (e == Empfang::Offen) e = PruefeFristen(lauf.anzeige, v, lauf.fristen, jetzt, bereit);
        if (e == Empfang::Offen) {
            if (behalten != i) tafel.offen[behalten] = std::move(v);
            ++behalten;
            continue;
        }
        ::close(v.fd);
        v.fd = -1;
        if (e == Empfang::Geschlossen) {
            tafel.fertig.push_back(std::move(v));
        } else {
            // Getrennt ist kein fehlerhaftes Dokument: keine Meldung, keine Antwort.
            SchreibeLog(lauf.anzeige, "Warte auf Anfrage vom Client...\r\n");
        }
    }
    tafel.offen.resize(behalten);
}

// Sind alle Plätze belegt, muss die Verbindung gehen, die am längsten nichts geschickt hat.
void TrenneStillste(const Anzeige& a, std::vector<Verbindung>& offen) {
    auto stillste = std::min_element(offen.begin(), offen.end(), [](const Verbindung& a, const Verbindung& b) {
        return a.letzteDaten < b.letzteDaten;
    });
    SchreibeLog(a, "Schon %d Verbindungen offen, die am längsten stille zu %s, Port %d getrennt.\r\n",
                static_cast<int>(offen.size()), stillste->adresse.c_str(), stillste->port);
    ::close(stillste->fd);
    offen.erase(stillste);
}

// Nimmt an, was wartet: so viele, wie Plätze frei sind, und mindestens eine,
// für die dann die stillste Verbindung geht.
void NimmAn(const ServerLauf& lauf, Tafel& tafel, Uhr::time_point jetzt) {
    const std::size_t frei = lauf.verbindungen > tafel.offen.size() ? lauf.verbindungen - tafel.offen.size() : 0;
    for (std::size_t i = 0; i < std::max<std::size_t>(frei, 1); ++i) {
        sockaddr_in peer{};
        socklen_t laenge = sizeof peer;
        const int c = ::accept4(lauf.serverSocket, reinterpret_cast<sockaddr*>(&peer), &laenge,
                                SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (c < 0) {
            const int fehler = errno;
            if (fehler == EAGAIN || fehler == EWOULDBLOCK || fehler == EINTR || !lauf.laeuft) return;
            // Etwa zu viele offene Dateien: nach einer Pause noch einmal. Solange
            // derselbe Fehler bleibt, steht er nur einmal im Protokoll.
            if (fehler != tafel.annahmefehler)
                SchreibeLog(lauf.anzeige, "Fehler bei 'accept' (Errorcode: %d), neuer Versuch in %d ms...\r\n", fehler,
                            static_cast<int>(kAnnahmepause.count()));
            tafel.annahmefehler = fehler;
            tafel.annehmenAb = jetzt + kAnnahmepause;
            return;
        }
        tafel.annahmefehler = 0;
        // Jede neue Verbindung beginnt ein frisches Protokoll, aber nicht, solange
        // eine andere noch sendet: deren Zeilen gehören zu einer Anfrage in Arbeit.
        if (tafel.offen.empty()) LoescheLog(lauf.anzeige);
        if (tafel.offen.size() >= lauf.verbindungen) TrenneStillste(lauf.anzeige, tafel.offen);
        char text[INET_ADDRSTRLEN] = {};
        ::inet_ntop(AF_INET, &peer.sin_addr, text, sizeof text);
        const int port = static_cast<int>(ntohs(peer.sin_port));
        tafel.offen.push_back(Verbindung{c, text, port, {}, false, jetzt, jetzt});
        SchreibeLog(lauf.anzeige, "Verbindung zu %s, Port %d \r\nWarte auf Daten vom Client...\r\n", text, port);
    }
}

// Die fertigen Dokumente der Reihe nach. false, wenn dabei ausgeschaltet wurde.
bool BearbeiteFertige(const ServerLauf& lauf, Tafel& tafel) {
    for (const Verbindung& v : tafel.fertig) {
        if (!lauf.laeuft) return false;
        if (v.zuLang) {
            SchreibeLog(lauf.anzeige, "Dokument zu lang (mehr als %d Zeichen), verworfen.\r\n",
                        static_cast<int>(kMaxDokument));
            MeldeFehlerhafteAnfrage(lauf.anzeige);
        } else {
            lauf.bearbeite(v.dokument, lauf.eigeneAdresse);
        }
        if (!lauf.laeuft) return false;
        SchreibeLog(lauf.anzeige, "Warte auf Anfrage vom Client...\r\n");
    }
    tafel.fertig.clear();
    return true;
}

// Der Server-Thread. true, wenn er ausgeschaltet wurde; false, wenn poll
// scheitert (dann kann er niemanden mehr bedienen).
bool StartTCPServer(ServerLauf& lauf) {
    SchreibeLog(lauf.anzeige, "Server gestartet...   (IP: %s Port: %d) \r\n", lauf.eigeneAdresse.c_str(), lauf.port);
    SchreibeLog(lauf.anzeige, "Warte auf Anfrage vom Client...\r\n");

    Tafel tafel;
    for (;;) {
        const Uhr::time_point vorher = Uhr::now();
        const bool annehmen = vorher >= tafel.annehmenAb;
        Uhr::time_point frist = annehmen ? Uhr::time_point::max() : tafel.annehmenAb;
        tafel.p.assign(1, pollfd{annehmen ? lauf.serverSocket : -1, POLLIN, 0});
        for (const Verbindung& v : tafel.offen) {
            tafel.p.push_back(pollfd{v.fd, POLLIN, 0});
            frist = std::min(frist, NaechsteFrist(v, lauf.fristen));
        }
        if (::poll(tafel.p.data(), tafel.p.size(), PollGrenze(frist, vorher)) < 0) {
            if (errno == EINTR) continue;
            SchreibeLog(lauf.anzeige, "SOCKET_ERROR! (Errorcode: %d) Server fährt runter...\r\n", errno);
            return false;
        }
        if (!lauf.laeuft) {
            // Mitten im Empfang ist ein Dokument nur ein Bruchstück: es wird nicht bearbeitet.
            SchreibeLog(lauf.anzeige, tafel.offen.empty() ? "Server wurde gestoppt!\r\n" : "\r\nServer beendet...\r\n");
            return true;
        }
        const Uhr::time_point jetzt = Uhr::now();
        LeseUndPruefe(lauf, tafel, jetzt);
        // Erst die fertigen Dokumente, dann neue Verbindungen: das Annehmen
        // leert das Protokoll, und das soll die Zeilen einer Anfrage nicht
        // zwischen ihrem Empfang und ihrer Antwort treffen.
        if (!BearbeiteFertige(lauf, tafel)) {
            SchreibeLog(lauf.anzeige, "\r\nServer beendet...\r\n");
            return true;
        }
        if (tafel.p[0].revents != 0) NimmAn(lauf, tafel, Uhr::now());
    }
}

}  // namespace

struct Serverzustand {
    std::mutex mutex;
    std::shared_ptr<ServerLauf> lauf;  // der laufende, nullptr, wenn keiner läuft
    std::condition_variable threadEnde;
    int laufendeThreads = 0;  // alles unter mutex
};

std::shared_ptr<Serverzustand> NeuerServerzustand() { return std::make_shared<Serverzustand>(); }

namespace {

// Rund um StartTCPServer: schließt, was übrig ist, und meldet ein unerwartetes Ende.
void ServerThread(const std::shared_ptr<Serverzustand>& z, const std::shared_ptr<ServerLauf>& lauf) {
    bool ausgeschaltet = false;
    try {
        ausgeschaltet = StartTCPServer(*lauf);
    } catch (const std::exception& fehler) {
        try {
            SchreibeLog(lauf->anzeige, "Unerwarteter Fehler im Server (%s), Server fährt runter...\r\n", fehler.what());
        } catch (const std::exception&) {
        }
    }
    SchliesseServerSocket(*lauf);
    bool melde = false;
    {
        std::lock_guard sperre(z->mutex);
        if (!ausgeschaltet && lauf->laeuft && z->lauf == lauf) {
            z->lauf.reset();
            melde = true;
        }
    }
    if (melde && lauf->unerwartetesEnde) lauf->unerwartetesEnde();
    std::lock_guard sperre(z->mutex);
    --z->laufendeThreads;
    z->threadEnde.notify_all();
}

}  // namespace

bool StarteServer(Anfrageserver& s, int port, const Netzeinstellung& netz) {
    auto lauf = std::make_shared<ServerLauf>();
    lauf->port = port;
    lauf->anzeige = s.anzeige;
    lauf->bearbeite = s.bearbeite;
    lauf->unerwartetesEnde = s.unerwartetesEnde;
    lauf->fristen = {milliseconds(netz.wartezeit), milliseconds(netz.gesamtzeit)};
    lauf->verbindungen = std::max<std::size_t>(netz.verbindungen, 1);
    if (!Oeffne(*lauf)) return false;
    EigeneIPAdresse(lauf->eigeneAdresse);
    const std::shared_ptr<Serverzustand> z = s.zustand;
    {
        // Vor dem Thread eingetragen: endet er sofort, findet er sich hier.
        std::lock_guard sperre(z->mutex);
        ++z->laufendeThreads;
        z->lauf = lauf;
    }
    try {
        std::thread([z, lauf] { ServerThread(z, lauf); }).detach();
    } catch (const std::system_error& fehler) {
        {
            std::lock_guard sperre(z->mutex);
            --z->laufendeThreads;
            z->lauf.reset();
            z->threadEnde.notify_all();
        }
        SchliesseServerSocket(*lauf);
        SchreibeLog(s.anzeige, "Kein Server-Thread (Errorcode: %d), Netzwerk bleibt aus.\r\n", fehler.code().value());
        return false;
    }
    return true;
}

void StoppeServer(Anfrageserver& s) {
    std::shared_ptr<ServerLauf> lauf;
    {
        std::lock_guard sperre(s.zustand->mutex);
        lauf = std::move(s.zustand->lauf);
    }
    if (!lauf) return;
    lauf->laeuft = false;
    std::lock_guard sperre(lauf->mutex);
    if (lauf->serverSocket >= 0) ::shutdown(lauf->serverSocket, SHUT_RDWR);
}

bool ServerLaeuft(const Anfrageserver& s) {
    std::lock_guard sperre(s.zustand->mutex);
    return s.zustand->lauf != nullptr;
}

bool WarteAufServerende(const Anfrageserver& s, milliseconds grenze) {
    std::unique_lock sperre(s.zustand->mutex);
    return s.zustand->threadEnde.wait_for(sperre, grenze, [&] { return s.zustand->laufendeThreads == 0; });
}
