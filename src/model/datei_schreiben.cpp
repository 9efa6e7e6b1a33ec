#include "model/datei_schreiben.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace {

bool SchreibeGanz(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t n = ::write(fd, text.data(), text.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = ENOSPC;
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

}  // namespace

bool ErsetzeDatei(const std::string& pfad, std::string_view text, int* fehler) {
    // Je Prozess ein eigener Name daneben: zwei, die dieselbe Datei ersetzen,
    // schreiben nicht ineinander.
    const std::string neu = pfad + ".neu." + std::to_string(::getpid());
    const int fd = ::open(neu.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    bool gut = fd >= 0 && SchreibeGanz(fd, text) && ::fsync(fd) == 0;
    int grund = gut ? 0 : errno;
    if (fd >= 0 && ::close(fd) != 0 && gut) {
        gut = false;
        grund = errno;
    }
    if (gut && std::rename(neu.c_str(), pfad.c_str()) != 0) {
        gut = false;
        grund = errno;
    }
    if (!gut) {
        if (fd >= 0) std::remove(neu.c_str());
        if (fehler) *fehler = grund;
    }
    return gut;
}

std::string Dateigrund(int e) {
    switch (e) {
        case ENOENT: return "Datei oder Verzeichnis nicht gefunden";
        case EACCES: return "keine Berechtigung";
        case ENOSPC: return "kein Platz mehr auf dem Datenträger";
        case EROFS: return "nur lesbares Dateisystem";
        case EISDIR: return "ist ein Verzeichnis";
        default: return "Fehler " + std::to_string(e);
    }
}
