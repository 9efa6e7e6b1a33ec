#include "model/ini_datei.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

bool LeseIniDatei(const std::string& pfad, IniDatei& ini) {
    ini.text.clear();
    ini.eintraege.clear();
    int fd = ::open(pfad.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    char puffer[8192];
    bool ok = true;
    int fehler = 0;
    for (;;) {
        ssize_t n = ::read(fd, puffer, sizeof puffer);
        if (n > 0) {
            ini.text.append(puffer, static_cast<std::size_t>(n));
        } else if (n == 0) {
            break;
        } else if (errno != EINTR) {
            ok = false;
            fehler = errno;
            break;
        }
    }
    ::close(fd);
    if (!ok) {
        ini.text.clear();
        errno = fehler;  // für die Meldung des Aufrufers
        return false;
    }
    ZerlegeIniText(ini);
    return true;
}

void ZerlegeIniText(IniDatei& ini) {
    ini.eintraege.clear();
    std::string_view rest = ini.text;
    std::string_view sektion;
    bool sektionGilt = false;  // vor der ersten Sektion und in Wiederholungen: nichts lesen
    std::vector<std::string_view> gesehen;
    while (!rest.empty()) {
        std::size_t ende = rest.find('\n');
        std::string_view zeile = IniTrimme(rest.substr(0, ende));
        rest = (ende == std::string_view::npos) ? std::string_view{} : rest.substr(ende + 1);
        if (zeile.empty() || zeile.front() == ';') continue;
        if (zeile.front() == '[') {
            std::size_t zu = zeile.find(']');
            sektion = IniTrimme(zeile.substr(1, zu == std::string_view::npos ? std::string_view::npos : zu - 1));
            sektionGilt = true;
            for (std::string_view s : gesehen)
                if (IniGleich(s, sektion)) sektionGilt = false;
            if (sektionGilt) gesehen.push_back(sektion);
            continue;
        }
        if (!sektionGilt) continue;
        std::size_t gleich = zeile.find('=');
        if (gleich == std::string_view::npos) continue;
        ini.eintraege.push_back({sektion, IniTrimme(zeile.substr(0, gleich)), IniTrimme(zeile.substr(gleich + 1))});
    }
}

std::uint32_t LeseGanzzahl(std::string_view wert) {
    std::size_t i = 0;
    while (i < wert.size() && IniLeer(wert[i])) ++i;
    bool negativ = false;
    if (i < wert.size() && (wert[i] == '+' || wert[i] == '-')) {
        negativ = wert[i] == '-';
        ++i;
    }
    std::uint32_t zahl = 0;
    for (; i < wert.size() && wert[i] >= '0' && wert[i] <= '9'; ++i)
        zahl = zahl * 10u + static_cast<std::uint32_t>(wert[i] - '0');
    return negativ ? 0u - zahl : zahl;
}

std::uint32_t IniGanzzahl(const IniDatei& ini, std::string_view sektion, std::string_view schluessel,
                          std::int32_t vorgabe) {
    for (const IniEintrag& e : ini.eintraege)
        if (IniGleich(e.schluessel, schluessel) && IniGleich(e.sektion, sektion))
            return LeseGanzzahl(e.wert);
    return static_cast<std::uint32_t>(vorgabe);
}
