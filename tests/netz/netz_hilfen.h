// Hilfen für die Netztests: freie Ports, ein Spielserver-Ersatz im Prozess,
// der Dokumente schickt und Antworten annimmt. Alles auf 127.0.0.1; wer den
// Status-Broadcast auslöst, läuft nur im privaten Netz-Namensraum (Label netz).
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

inline sockaddr_in Loopback(int port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(static_cast<std::uint16_t>(port));
    return a;
}

// Ein lauschender TCP-Socket auf 127.0.0.1 an einem freien Port.
struct Lauscher {
    int fd = -1;
    int port = 0;
    explicit Lauscher(int warteschlange = 16) {
        fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a = Loopback(0);
        ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::listen(fd, warteschlange);
        socklen_t l = sizeof a;
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &l);
        port = ntohs(a.sin_port);
    }
    ~Lauscher() {
        if (fd >= 0) ::close(fd);
    }
    // Nimmt eine Verbindung an und liest bis zum Schließen; nichts nach der Zeitgrenze.
    std::optional<std::string> Empfange(std::chrono::milliseconds grenze = std::chrono::seconds(10)) const {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(grenze.count())) != 1) return std::nullopt;
        int c = ::accept(fd, nullptr, nullptr);
        if (c < 0) return std::nullopt;
        std::string text;
        char puffer[4096];
        for (;;) {
            pollfd q{c, POLLIN, 0};
            if (::poll(&q, 1, static_cast<int>(grenze.count())) != 1) break;
            ssize_t n = ::recv(c, puffer, sizeof puffer, 0);
            if (n <= 0) break;
            text.append(puffer, static_cast<std::size_t>(n));
        }
        ::close(c);
        return text;
    }
};

// Ein Port, der gerade frei ist (gebunden, gelesen, wieder freigegeben).
inline int FreierPort() {
    Lauscher l;
    return l.port;
}

inline int Verbinde(int port) {
    int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a = Loopback(port);
    if (::connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        ::close(s);
        return -1;
    }
    return s;
}

inline bool SendeAlles(int s, std::string_view text) {
    while (!text.empty()) {
        ssize_t n = ::send(s, text.data(), text.size(), MSG_NOSIGNAL);
        if (n <= 0) return false;
        text.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Eine Verbindung: alles senden, Senderichtung schließen, schließen.
inline bool SendeDokument(int port, std::string_view text) {
    int s = Verbinde(port);
    if (s < 0) return false;
    bool ok = SendeAlles(s, text);
    ::shutdown(s, SHUT_WR);
    ::close(s);
    return ok;
}

// Ein Tischstand-Dokument: die 16 Kugeln in Serverkoordinaten (0, 0 ist die
// Tischmitte), die Antwort an 127.0.0.1:antwortPort.
inline std::string Anfrage(int antwortPort, int cmdid, int kugeln = 16, int player = 2) {
    std::string d = "<tablestate cmdid=\"" + std::to_string(cmdid) + "\"><player>" + std::to_string(player) +
                    "</player><ipv4>127.0.0.1</ipv4><port>" + std::to_string(antwortPort) +
                    "</port><running>true</running>";
    for (int i = 0; i < kugeln; ++i) {
        const double sx = -0.4 + 0.8 * (i % 4) / 3.0, sy = -0.8 + 1.6 * (i / 4) / 3.0;
        d += "<ball><x-position>" + std::to_string(sx) + "</x-position><y-position>" + std::to_string(sy) +
             "</y-position><bagcount>-1</bagcount><target>0</target></ball>";
    }
    return d + "</tablestate>";
}
