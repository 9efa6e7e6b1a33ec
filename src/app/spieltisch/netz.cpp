#include "netz.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

// Für poll: verbleibende Millisekunden bis zur Frist, aufgerundet.
int RestMs(Zeitpunkt frist) {
    const auto rest = frist - Uhr::now();
    if (rest <= Uhr::duration::zero()) return 0;
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(rest).count();
    return ms > 600000 ? 600000 : static_cast<int>(ms);
}

// Wartet auf ein Ereignis an fd; false bei abgelaufener Frist oder Fehler.
bool WarteAuf(int fd, short ereignis, Zeitpunkt frist) {
    for (;;) {
        pollfd p{fd, ereignis, 0};
        const int n = ::poll(&p, 1, RestMs(frist));
        if (n > 0) return true;
        if (n == 0 && Uhr::now() >= frist) return false;
        if (n < 0 && errno != EINTR) return false;
    }
}

// Alle anstehenden Datagramme; höchstens 64 am Stück, damit ein Flut-Sender
// den Rest nicht aushungert.
void LeseStatus(int fd, const Statusausgabe& status) {
    char puffer[65536];
    for (int i = 0; i < 64; ++i) {
        const ssize_t n = ::recv(fd, puffer, sizeof puffer, MSG_DONTWAIT);
        if (n < 0) return;
        status(std::string_view(puffer, static_cast<std::size_t>(n)));
    }
}

sockaddr_in Adresse(in_addr_t ip, std::uint16_t port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = ip;
    a.sin_port = htons(port);
    return a;
}

}  // namespace

Socket& Socket::operator=(Socket&& s) noexcept {
    if (this != &s) {
        if (fd >= 0) ::close(fd);
        fd = s.fd;
        s.fd = -1;
    }
    return *this;
}

Socket::~Socket() {
    if (fd >= 0) ::close(fd);
}

std::string Fehlertext(int fehlernummer) {
    switch (fehlernummer) {
        case ECONNREFUSED: return "Verbindung abgelehnt";
        case EADDRINUSE: return "Adresse schon belegt";
        case EACCES: return "keine Berechtigung";
        case ENETUNREACH: return "Netz nicht erreichbar";
        case EHOSTUNREACH: return "Rechner nicht erreichbar";
        case ECONNRESET: return "Verbindung zurückgesetzt";
        case EPIPE: return "Verbindung abgebrochen";
        case ETIMEDOUT: return "Zeitlimit überschritten";
        default:
            return "Fehler " + std::to_string(fehlernummer) + " (" + std::strerror(fehlernummer) + ")";
    }
}

Socket OeffneAntwortPort(std::uint16_t port, std::uint16_t& gewaehlt, std::string& fehler) {
    Socket s(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!s) {
        fehler = "TCP-Socket: " + Fehlertext(errno);
        return {};
    }
    const int ein = 1;
    ::setsockopt(s.fd, SOL_SOCKET, SO_REUSEADDR, &ein, sizeof ein);
    sockaddr_in a = Adresse(htonl(INADDR_LOOPBACK), port);
    if (::bind(s.fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        fehler = "Antwort-Port 127.0.0.1:" + std::to_string(port) + ": " + Fehlertext(errno);
        return {};
    }
    if (::listen(s.fd, 16) != 0) {
        fehler = "listen am Antwort-Port: " + Fehlertext(errno);
        return {};
    }
    socklen_t laenge = sizeof a;
    ::getsockname(s.fd, reinterpret_cast<sockaddr*>(&a), &laenge);
    gewaehlt = ntohs(a.sin_port);
    return s;
}

Socket OeffneStatusPort(std::uint16_t port, std::string& fehler) {
    Socket s(::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!s) {
        fehler = "UDP-Socket: " + Fehlertext(errno);
        return {};
    }
    const int ein = 1;
    ::setsockopt(s.fd, SOL_SOCKET, SO_REUSEADDR, &ein, sizeof ein);
    ::setsockopt(s.fd, SOL_SOCKET, SO_REUSEPORT, &ein, sizeof ein);
    sockaddr_in a = Adresse(htonl(INADDR_ANY), port);
    if (::bind(s.fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        fehler = "Status-Port 0.0.0.0:" + std::to_string(port) + ": " + Fehlertext(errno);
        return {};
    }
    return s;
}

bool SendeDokument(const std::string& adresse, std::uint16_t port, std::string_view text, Zeitpunkt frist,
                   std::string& fehler) {
    in_addr ip{};
    if (::inet_pton(AF_INET, adresse.c_str(), &ip) != 1) {
        fehler = "keine IPv4-Adresse: " + adresse;
        return false;
    }
    Socket s(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!s) {
        fehler = "TCP-Socket: " + Fehlertext(errno);
        return false;
    }
    const sockaddr_in ziel = Adresse(ip.s_addr, port);
    if (::connect(s.fd, reinterpret_cast<const sockaddr*>(&ziel), sizeof ziel) != 0) {
        if (errno != EINPROGRESS) {
            fehler = "connect: " + Fehlertext(errno);
            return false;
        }
        if (!WarteAuf(s.fd, POLLOUT, frist)) {
            fehler = "connect: Zeitlimit überschritten";
            return false;
        }
        int fehlernummer = 0;
        socklen_t laenge = sizeof fehlernummer;
        ::getsockopt(s.fd, SOL_SOCKET, SO_ERROR, &fehlernummer, &laenge);
        if (fehlernummer != 0) {
            fehler = "connect: " + Fehlertext(fehlernummer);
            return false;
        }
    }
    std::size_t gesendet = 0;
    while (gesendet < text.size()) {
        const ssize_t n = ::send(s.fd, text.data() + gesendet, text.size() - gesendet, MSG_NOSIGNAL);
        if (n > 0) {
            gesendet += static_cast<std::size_t>(n);
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
            if (!WarteAuf(s.fd, POLLOUT, frist)) {
                fehler = "send: Zeitlimit überschritten nach " + std::to_string(gesendet) + " Bytes";
                return false;
            }
        } else {
            fehler = "send: " + Fehlertext(errno);
            return false;
        }
    }
    ::shutdown(s.fd, SHUT_WR);
    return true;
}

Empfang EmpfangeAntwort(int hoerer, int statusFd, Zeitpunkt frist, std::string& text, const Statusausgabe& status) {
    text.clear();
    Socket verbindung;
    char puffer[16384];
    for (;;) {
        pollfd p[2] = {{verbindung ? verbindung.fd : hoerer, POLLIN, 0}, {statusFd, POLLIN, 0}};
        const int n = ::poll(p, statusFd >= 0 ? 2 : 1, RestMs(frist));
        if (n < 0 && errno != EINTR) return Empfang::zeitueberschreitung;
        if (n > 0 && statusFd >= 0 && (p[1].revents & POLLIN)) LeseStatus(statusFd, status);
        if (n > 0 && p[0].revents != 0) {
            if (!verbindung) {
                verbindung = Socket(::accept4(hoerer, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
                continue;  // ein fehlgeschlagenes accept (Gegenseite schon weg) wartet einfach weiter
            }
            const ssize_t k = ::recv(verbindung.fd, puffer, sizeof puffer, 0);
            if (k > 0) {
                text.append(puffer, static_cast<std::size_t>(k));
                if (text.size() > kMaxAntwort) return Empfang::zu_gross;
                continue;
            }
            if (k == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
                // Ende der Verbindung; bei einem Reset gilt, was bis dahin kam.
                if (statusFd >= 0) LeseStatus(statusFd, status);
                return Empfang::erhalten;
            }
        }
        if (Uhr::now() >= frist) return Empfang::zeitueberschreitung;
    }
}

void WarteAufStatus(int statusFd, Zeitpunkt frist, const Statusausgabe& status) {
    if (statusFd < 0) return;
    for (;;) {
        LeseStatus(statusFd, status);
        if (Uhr::now() >= frist || !WarteAuf(statusFd, POLLIN, frist)) return;
    }
}
