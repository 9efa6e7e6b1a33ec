#include "sim/beobachtungsdatei.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>

#include "model/datei_schreiben.h"

namespace {

// Ein offener Deskriptor, der beim Verlassen schließt (und damit die Sperre löst).
struct Deskriptor {
    int fd;
    ~Deskriptor() {
        if (fd >= 0) ::close(fd);
    }
};

bool LiesAlles(int fd, std::string& text) {
    char puffer[65536];
    for (off_t stelle = 0;;) {
        const ssize_t n = ::pread(fd, puffer, sizeof puffer, stelle);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) return true;
        text.append(puffer, static_cast<std::size_t>(n));
        stelle += n;
    }
}

// Schneidet ein abgerissenes Ende (nach dem letzten Zeilenende) ab.
bool SchneideAbgerissenesEndeAb(int fd, const std::string& text, std::string& fehler) {
    if (text.empty() || text.back() == '\n') return true;
    const std::size_t ende = text.rfind('\n');
    const off_t laenge = ende == std::string::npos ? 0 : static_cast<off_t>(ende + 1);
    return ::ftruncate(fd, laenge) == 0 || (fehler = Dateigrund(errno), false);
}

long Zeilen(std::string_view text) {
    long n = 0;
    for (char c : text) n += c == '\n';
    return n;
}

// Die neuesten hoechstens Zeilen von text (das mit '\n' endet): zurück bis
// zur so vielten Zeilengrenze.
std::string_view Neueste(std::string_view text, long hoechstens) {
    long n = 0;
    for (std::size_t i = text.size(); i-- > 0;)
        if (text[i] == '\n' && i + 1 < text.size() && ++n == hoechstens) return text.substr(i + 1);
    return text;
}

// Unter der Sperre: erst neu schreiben und umbenennen; geht das nicht (das
// Verzeichnis nimmt keine neue Datei an), an Ort und Stelle kürzen.
bool Kuerze(int fd, const Beobachtungsdatei& datei, std::string_view text, std::string& fehler) {
    const std::string& pfad = datei.pfad;
    const std::string_view behalten = Neueste(text, datei.hoechstens);
    int grund = 0;
    if (ErsetzeDatei(pfad, behalten, &grund)) return true;
    if (::ftruncate(fd, 0) == 0) {
        std::string_view rest = behalten;
        while (!rest.empty()) {
            const ssize_t n = ::write(fd, rest.data(), rest.size());  // O_APPEND: nach dem Kürzen von vorn
            if (n <= 0) break;
            rest.remove_prefix(static_cast<std::size_t>(n));
        }
        if (rest.empty()) return true;
    }
    fehler = "nicht zu kürzen (" + Dateigrund(grund ? grund : errno) + ")";
    return false;
}

}  // namespace

Anhaengen HaengeBeobachtungAn(Beobachtungsdatei& datei, const Beobachtung& b, std::string& fehler) {
    const std::string zeile = BeobachtungAlsJson(b) + '\n';
    std::lock_guard halt(datei.mutex);
    const Deskriptor sperre{::open((datei.pfad + ".sperre").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644)};
    if (sperre.fd < 0) return fehler = Dateigrund(errno), Anhaengen::gescheitert;
    while (::flock(sperre.fd, LOCK_EX) != 0)
        if (errno != EINTR) return fehler = Dateigrund(errno), Anhaengen::gescheitert;

    const long kuerzenAb = datei.hoechstens + datei.hoechstens / 10, voll = 2 * datei.hoechstens;
    for (int versuch = 0;; ++versuch) {
        const Deskriptor d{::open(datei.pfad.c_str(), O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC, 0644)};
        if (d.fd < 0) return fehler = Dateigrund(errno), Anhaengen::gescheitert;
        struct stat st{};
        if (::fstat(d.fd, &st) != 0) return fehler = Dateigrund(errno), Anhaengen::gescheitert;
        // Gelesen wird nur, wenn ein anderer geschrieben hat (oder beim ersten
        // Mal) und wenn danach gekürzt werden muss.
        long zeilen = datei.zeilen;
        const bool lesen = zeilen < 0 || st.st_size != datei.groesse || zeilen + 1 > kuerzenAb;
        datei.zeilen = -1;  // bis wieder bekannt ist, wie die Datei aussieht
        std::string text;
        if (lesen) {
            if (!LiesAlles(d.fd, text)) return fehler = Dateigrund(errno), Anhaengen::gescheitert;
            if (!SchneideAbgerissenesEndeAb(d.fd, text, fehler)) return Anhaengen::gescheitert;
            text.resize(text.rfind('\n') == std::string::npos ? 0 : text.rfind('\n') + 1);
            zeilen = Zeilen(text);
        }
        if (zeilen >= voll) {
            // Ein früheres Kürzen ging nicht: erst kürzen, sonst lieber eine
            // Beobachtung verlieren als die Platte füllen.
            if (versuch > 0 || !Kuerze(d.fd, datei, text, fehler))
                return fehler = "Datei voll, " + fehler, Anhaengen::gescheitert;
            continue;  // die Datei ist vielleicht eine neue: noch einmal öffnen
        }
        const ssize_t n = ::write(d.fd, zeile.data(), zeile.size());
        if (n != static_cast<ssize_t>(zeile.size()))
            return fehler = n < 0 ? Dateigrund(errno) : "nur teilweise geschrieben", Anhaengen::gescheitert;
        ++zeilen;
        if (zeilen <= kuerzenAb) {
            datei.zeilen = zeilen;
            datei.groesse = static_cast<long long>(lesen ? text.size() : static_cast<std::size_t>(st.st_size)) +
                            static_cast<long long>(zeile.size());
            return Anhaengen::gut;
        }
        text += zeile;
        if (!Kuerze(d.fd, datei, text, fehler)) return Anhaengen::ungekuerzt;
        const std::string_view behalten = Neueste(text, datei.hoechstens);
        datei.zeilen = Zeilen(behalten);
        datei.groesse = static_cast<long long>(behalten.size());
        return Anhaengen::gut;
    }
}
