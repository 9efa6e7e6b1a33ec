// Die Sockets von spieltisch: der Antwort-Port (TCP), der Status-Port (UDP)
// und das Senden eines Dokuments. Alles Warten geht über poll mit einer Frist.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

using Uhr = std::chrono::steady_clock;
using Zeitpunkt = Uhr::time_point;

// Besitzt einen Dateideskriptor und schließt ihn am Ende.
struct Socket {
    int fd = -1;
    Socket() = default;
    explicit Socket(int f) : fd(f) {}
    Socket(Socket&& s) noexcept : fd(s.fd) { s.fd = -1; }
    Socket& operator=(Socket&& s) noexcept;
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    ~Socket();
    explicit operator bool() const { return fd >= 0; }
};

// Eine Antwort größer als das ist kein Ergebnis-Dokument mehr.
constexpr std::size_t kMaxAntwort = 1 << 20;

// TCP auf 127.0.0.1:port (0: ein freier), lauschend; gewaehlt ist der echte Port.
Socket OeffneAntwortPort(std::uint16_t port, std::uint16_t& gewaehlt, std::string& fehler);

// UDP auf 0.0.0.0:port mit SO_REUSEADDR und SO_REUSEPORT, damit er neben
// anderen Hörern desselben Ports empfängt. Hier wird nur gelesen.
Socket OeffneStatusPort(std::uint16_t port, std::string& fehler);

// Verbindet, schickt den ganzen Text, schließt die Senderichtung und dann den
// Socket: der Spieler liest bis zum Schluss der Verbindung.
bool SendeDokument(const std::string& adresse, std::uint16_t port, std::string_view text, Zeitpunkt frist,
                   std::string& fehler);

using Statusausgabe = std::function<void(std::string_view datagramm)>;

enum class Empfang { erhalten, zeitueberschreitung, zu_gross };

// Nimmt eine Verbindung am Antwort-Port an und liest bis zu ihrem Schluss.
// Status-Datagramme (statusFd >= 0) werden unterdessen weitergegeben.
Empfang EmpfangeAntwort(int hoerer, int statusFd, Zeitpunkt frist, std::string& text, const Statusausgabe& status);

// Gibt Status-Datagramme weiter, bis die Frist um ist.
void WarteAufStatus(int statusFd, Zeitpunkt frist, const Statusausgabe& status);

// errno als deutscher Text für die häufigen Fälle.
std::string Fehlertext(int fehlernummer);
