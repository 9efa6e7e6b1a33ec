#include "model/ini_datei.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace {

bool IstLeer(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::string_view Trimme(std::string_view s) {
    while (!s.empty() && IstLeer(s.front())) s.remove_prefix(1);
    while (!s.empty() && IstLeer(s.back())) s.remove_suffix(1);
    return s;
}

char Klein(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool GleichOhneFall(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Klein(a[i]) != Klein(b[i])) return false;
    return true;
}

}  // namespace

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
        std::string_view zeile = Trimme(rest.substr(0, ende));
        rest = (ende == std::string_view::npos) ? std::string_view{} : rest.substr(ende + 1);
        if (zeile.empty() || zeile.front() == ';') continue;
        if (zeile.front() == '[') {
            std::size_t zu = zeile.find(']');
            sektion = Trimme(zeile.substr(1, zu == std::string_view::npos ? std::string_view::npos : zu - 1));
            sektionGilt = true;
            for (std::string_view s : gesehen)
                if (GleichOhneFall(s, sektion)) sektionGilt = false;
            if (sektionGilt) gesehen.push_back(sektion);
            continue;
        }
        if (!sektionGilt) continue;
        std::size_t gleich = zeile.find('=');
        if (gleich == std::string_view::npos) continue;
        ini.eintraege.push_back({sektion, Trimme(zeile.substr(0, gleich)), Trimme(zeile.substr(gleich + 1))});
    }
}

std::uint32_t LeseGanzzahl(std::string_view wert) {
    std::size_t i = 0;
    while (i < wert.size() && IstLeer(wert[i])) ++i;
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
        if (GleichOhneFall(e.schluessel, schluessel) && GleichOhneFall(e.sektion, sektion))
            return LeseGanzzahl(e.wert);
    return static_cast<std::uint32_t>(vorgabe);
}
