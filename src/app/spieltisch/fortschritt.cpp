#include "fortschritt.h"

#include <unistd.h>

#include <cstdio>
#include <string>

std::string Fortschrittszeile(std::uint32_t fertig, std::uint32_t gesamt, long stoesse, double sekunden,
                              const char* einheit) {
    constexpr int kBreite = 30;
    const int voll = gesamt ? static_cast<int>(static_cast<double>(fertig) / gesamt * kBreite) : kBreite;
    std::string balken(static_cast<std::size_t>(voll), '#');
    balken.resize(kBreite, '.');
    const double rate = sekunden > 0 ? stoesse / sekunden : 0.0;
    char rest[32] = "--:--";
    if (fertig > 0 && fertig < gesamt) {
        const long s = static_cast<long>(sekunden / fertig * (gesamt - fertig) + 0.5);
        std::snprintf(rest, sizeof rest, "%ld:%02ld", s / 60, s % 60);
    } else if (fertig >= gesamt) {
        std::snprintf(rest, sizeof rest, "0:00");
    }
    char zeile[160];
    std::snprintf(zeile, sizeof zeile, "[%s] %u/%u %s, %.0f Stöße/s, noch %s", balken.c_str(), fertig, gesamt,
                  einheit, rate, rest);
    return zeile;
}

void BeginneFortschritt(Fortschritt& f, std::uint32_t gesamt, int fd, std::ostream& aus) {
    f.aktiv = ::isatty(fd) == 1;
    f.gesamt = gesamt;
    f.start = f.zuletzt = std::chrono::steady_clock::now();
    f.aus = &aus;
}

namespace {

void Zeige(Fortschritt& f) {
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - f.start).count();
    // \r an den Zeilenanfang, \033[K löscht den Rest der alten Zeile.
    *f.aus << '\r' << Fortschrittszeile(f.fertig, f.gesamt, f.stoesse, s, f.einheit) << "\033[K" << std::flush;
}

}  // namespace

void TischFertig(Fortschritt& f, long stoesse) {
    f.stoesse += stoesse;
    ++f.fertig;
    if (!f.aus) return;  // nie begonnen: still
    if (!f.aktiv) {
        // Ohne Terminal liest das ein Mensch später im Log: keine \r, eine Zeile je 5 %.
        std::lock_guard sperre(f.mutex);
        const int stufe = f.gesamt ? static_cast<int>(std::uint64_t{f.fertig} * 20 / f.gesamt) : 20;
        if (stufe <= f.stufe) return;
        f.stufe = stufe;
        const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - f.start).count();
        *f.aus << "spieltisch: " << Fortschrittszeile(f.fertig, f.gesamt, f.stoesse, s, f.einheit) << std::endl;
        return;
    }
    const auto jetzt = std::chrono::steady_clock::now();
    std::lock_guard sperre(f.mutex);
    if (jetzt - f.zuletzt < std::chrono::milliseconds(200) && f.fertig < f.gesamt) return;
    f.zuletzt = jetzt;
    Zeige(f);
}

void BeendeFortschritt(Fortschritt& f) {
    if (!f.aktiv) return;
    std::lock_guard sperre(f.mutex);
    Zeige(f);
    *f.aus << '\n' << std::flush;
}
