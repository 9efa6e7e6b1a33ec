// Der Spieler ohne Fenster als eigener Prozess, für die Tests unter Grenzen:
// Programm, Vorlagen und config.ini in einem Verzeichnis auf Zeit, dazu die
// Status-Broadcasts, Threads und CPU-Zeit des Prozesses. Nur im privaten
// Netz-Namensraum (Label netz).
#pragma once

#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "../hilfen.h"
#include "../prozess.h"
#include "netz_hilfen.h"

// Ein UDP-Socket auf 0.0.0.0:port, der die Status-Broadcasts empfängt.
struct StatusEmpfaenger {
    int fd = -1;
    explicit StatusEmpfaenger(int port) {
        fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        int an = 1;
        ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &an, sizeof an);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_ANY);
        a.sin_port = htons(static_cast<std::uint16_t>(port));
        ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    }
    ~StatusEmpfaenger() { ::close(fd); }
    std::optional<std::string> Naechstes(std::chrono::milliseconds grenze = std::chrono::seconds(10)) const {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(grenze.count())) != 1) return std::nullopt;
        char puffer[2048];
        ssize_t n = ::recv(fd, puffer, sizeof puffer, 0);
        if (n < 0) return std::nullopt;
        return std::string(puffer, static_cast<std::size_t>(n));
    }
};

inline bool Laeuft(const std::optional<std::string>& status, bool an) {
    return status && status->find(an ? "<running>true</running>" : "<running>false</running>") != std::string::npos;
}

inline int Threads(pid_t pid) {
    std::ifstream f("/proc/" + std::to_string(pid) + "/status");
    std::string zeile;
    while (std::getline(f, zeile))
        if (zeile.rfind("Threads:", 0) == 0) return std::stoi(zeile.substr(8));
    return -1;
}

// Rechenzeit des Prozesses (Benutzer und System) in Takten von sysconf(_SC_CLK_TCK).
inline long Rechenzeit(pid_t pid) {
    std::ifstream f("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    // Nach dem Namen in Klammern: Feld 3 ist der Zustand, utime und stime sind Feld 14 und 15.
    std::istringstream rest(text.substr(text.rfind(')') + 2));
    std::string feld;
    long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && rest >> feld; ++i) {
        if (i == 14) utime = std::stol(feld);
        if (i == 15) stime = std::stol(feld);
    }
    return utime + stime;
}

inline int OffeneDateien(pid_t pid) {
    int n = 0;
    for ([[maybe_unused]] const auto& e :
         std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/fd"))
        ++n;
    return n;
}

inline int EigenerPort(int s) {
    sockaddr_in a{};
    socklen_t l = sizeof a;
    ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &l);
    return ntohs(a.sin_port);
}

// Wie der Spieltisch: senden, Senderichtung schließen, warten, bis der Server
// das Dokument gelesen und geschlossen hat. So steht nie mehr als eine
// Verbindung dieses Senders in seiner Warteschlange.
inline bool SendeUndWarte(int port, const std::string& dokument) {
    const int s = Verbinde(port);
    if (s < 0) return false;
    bool ok = SendeAlles(s, dokument);
    ::shutdown(s, SHUT_WR);
    pollfd p{s, POLLIN, 0};
    char c;
    ok = ok && ::poll(&p, 1, 10000) == 1 && ::recv(s, &c, 1, 0) == 0;
    ::close(s);
    return ok;
}

// stosswerk --ohne-fenster mit eigener config.ini ([netzwerk] mit port, bport
// und den Zeilen netzwerk). Mit Grenzen (etwa {"--nproc=12"}) läuft er als
// nobody unter prlimit: für root gelten sie sonst nicht, und so kann er nie die
// Threads oder Dateien des Rechners aufbrauchen. Dafür liegt auch das Programm
// im Verzeichnis, das nobody lesen kann. Die Fehlerausgabe steht mit in ausgabe.
struct Spielerprozess {
    TempVerzeichnis dir;
    int port = FreierPort();
    int bport = FreierPort();
    std::unique_ptr<Kind> kind;

    explicit Spielerprozess(const std::string& netzwerk, const std::vector<std::string>& grenzen = {}) {
        namespace fs = std::filesystem;
        fs::permissions(dir.pfad, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                      fs::perms::others_read | fs::perms::others_exec);
        const std::string bin = VerzeichnisDesProgramms();
        for (const char* datei : {"stosswerk", "ki-status.xml", "ki-result.xml"})
            fs::copy_file(bin + datei, dir.pfad / datei);
        dir.Schreibe("config.ini", "[netzwerk]\nport=" + std::to_string(port) + "\nbport=" + std::to_string(bport) +
                                       "\n" + netzwerk);
        fs::permissions(dir.pfad / "config.ini", fs::perms::others_read, fs::perm_options::add);
        std::vector<std::string> aufruf = {"/bin/sh", "-c", "exec \"$0\" \"$@\" 2>&1"};
        if (!grenzen.empty()) {
            const passwd* nobody = ::getpwnam("nobody");
            aufruf.insert(aufruf.end(), {"/usr/bin/setpriv", "--reuid=" + std::to_string(nobody ? nobody->pw_uid : 65534),
                                         "--regid=" + std::to_string(nobody ? nobody->pw_gid : 65534),
                                         "--clear-groups", "prlimit"});
            aufruf.insert(aufruf.end(), grenzen.begin(), grenzen.end());
        }
        aufruf.insert(aufruf.end(), {(dir.pfad / "stosswerk").string(), "--ohne-fenster", "--verzeichnis",
                                     dir.pfad.string()});
        kind = std::make_unique<Kind>(aufruf);  // sh, setpriv und prlimit ersetzen sich: eine pid
    }
    pid_t pid() const { return kind->pid; }
    bool Bereit() { return kind->WarteAufAusgabe("Warte auf Anfrage vom Client..."); }
    // Wie oft text bisher in der Ausgabe steht.
    std::size_t Anzahl(const std::string& text) {
        std::lock_guard sperre(kind->mutex);
        std::size_t n = 0;
        for (std::size_t i = kind->ausgabe.find(text); i != std::string::npos; i = kind->ausgabe.find(text, i + 1)) ++n;
        return n;
    }
};
