#include "model/konfiguration.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

// Vorzeichenlos gelesen, dann als float skaliert: -1 wird eine riesige Länge.
float Hundertstel(const IniDatei& ini, const char* sektion, const char* schluessel, int vorgabe) {
    return static_cast<float>(IniGanzzahl(ini, sektion, schluessel, vorgabe)) * 0.01f;
}

struct Grundlage {
    int x, y;
};

// Die Grundaufstellung in Hundertsteln.
constexpr Grundlage kGrundaufstellung[kAnzahlKugeln] = {
    {4130, 670},  {3000, 475},  {1400, 1275}, {9000, 2075}, {5000, 1075}, {3000, 3475},
    {500, 4875},  {6500, 5075}, {2000, 2775}, {8000, 3575}, {8500, 575},  {500, 2775},
    {900, 575},   {7500, 1575}, {4000, 4975}, {5500, 3975},
};

// Das Paket legt die Programme nach WURZEL/usr/lib/stosswerk/ und ihre Dateien
// nach WURZEL/etc/stosswerk/; die Verweise neben den Programmen zeigen absolut
// auf /etc/stosswerk/. Installiert ist WURZEL leer und beides dasselbe, ein nur
// ausgepacktes Paket aber liest so seine eigenen Dateien und nicht die des
// Rechners. Jedes andere Verzeichnis (der Bau: bin/) bleibt, wie es ist.
std::string DateienImPaket(const std::string& verzeichnis) {
    constexpr std::string_view kProgramme = "/usr/lib/stosswerk/";
    if (!verzeichnis.ends_with(kProgramme)) return verzeichnis;
    std::string etc = verzeichnis.substr(0, verzeichnis.size() - kProgramme.size()) + "/etc/stosswerk/";
    struct stat info {};
    if (::stat(etc.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return verzeichnis;
    return etc;
}

std::string MitSchraegstrich(std::string s) {
    if (s.empty()) return "./";
    if (s.back() != '/') s += '/';
    return s;
}

}  // namespace

std::string VerzeichnisDesProgramms() {
    char pfad[4096];
    ssize_t n = ::readlink("/proc/self/exe", pfad, sizeof pfad - 1);
    if (n <= 0) return "./";
    std::string s(pfad, static_cast<std::size_t>(n));
    return DateienImPaket(s.substr(0, s.rfind('/') + 1));
}

Pfade BestimmePfade(const std::string& verzeichnis, const std::string& konfiguration, const std::string& daten) {
    Pfade p;
    p.verzeichnis = verzeichnis.empty() ? VerzeichnisDesProgramms() : MitSchraegstrich(verzeichnis);
    p.konfiguration = konfiguration.empty() ? p.verzeichnis + "config.ini" : konfiguration;
    if (!daten.empty()) {
        p.daten = MitSchraegstrich(daten);
    } else if (const char* dienst = std::getenv("STATE_DIRECTORY"); dienst && *dienst) {
        // systemd kann mehrere, durch ':' getrennt, nennen: das erste ist unseres.
        const std::string s(dienst);
        p.daten = MitSchraegstrich(s.substr(0, s.find(':')));
    } else {
        const auto schraeg = p.konfiguration.rfind('/');
        p.daten = schraeg == std::string::npos ? "./" : p.konfiguration.substr(0, schraeg + 1);
    }
    return p;
}

int LeseKonfiguration(const std::string& pfad, IniDatei& ini) {
    // Fehlt die Datei (oder ein Verzeichnis davor), gelten still die Vorgaben.
    if (!LeseIniDatei(pfad, ini) && errno != ENOENT && errno != ENOTDIR) return errno;
    return 0;
}

void TischAus(const IniDatei& ini, Tisch& t) {
    t.breite = Hundertstel(ini, "tisch", "breite", 10700);
    t.hoehe = Hundertstel(ini, "tisch", "hoehe", 5550);
    t.bande_x = Hundertstel(ini, "tisch", "bande_x", 250);
    t.bande_y = Hundertstel(ini, "tisch", "bande_y", 250);
    t.xa = Hundertstel(ini, "tisch", "xa", 550);
    t.xb = Hundertstel(ini, "tisch", "xb", 775);
    t.xc = Hundertstel(ini, "tisch", "xc", 4775);
    t.xd = Hundertstel(ini, "tisch", "xd", 5000);
    t.xe = Hundertstel(ini, "tisch", "xe", 5350);
    t.xf = Hundertstel(ini, "tisch", "xf", 5700);
    t.xg = Hundertstel(ini, "tisch", "xg", 5925);
    t.xh = Hundertstel(ini, "tisch", "xh", 9925);
    t.xi = Hundertstel(ini, "tisch", "xi", 10150);
    t.ya = Hundertstel(ini, "tisch", "ya", 550);
    t.yb = Hundertstel(ini, "tisch", "yb", 775);
    t.yc = Hundertstel(ini, "tisch", "yc", 4775);
    t.yd = Hundertstel(ini, "tisch", "yd", 5000);

    t.tol_ecke = Hundertstel(ini, "toleranz", "tol_ecke", 170);
    t.tol_abstand = Hundertstel(ini, "toleranz", "tol_abstand", 40);
    t.tol_winkel = Hundertstel(ini, "toleranz", "tol_winkel", 500);

    t.radius = KugelradiusAus(ini);
    for (int i = 0; i < kAnzahlKugeln; ++i) {
        char sx[16], sy[16], sl[24], sz[32];
        std::snprintf(sx, sizeof sx, "k%d_x", i);
        std::snprintf(sy, sizeof sy, "k%d_y", i);
        std::snprintf(sl, sizeof sl, "k%d_inloch", i);
        std::snprintf(sz, sizeof sz, "k%d_zieltasche", i);
        Kugel& k = t.kugeln[i];
        k = Kugel{};
        k.x = Hundertstel(ini, "kugeln", sx, kGrundaufstellung[i].x);
        k.y = Hundertstel(ini, "kugeln", sy, kGrundaufstellung[i].y);
        k.inloch = IniGanzzahl(ini, "kugeln", sl, 0) == 1u ? 1 : 0;
        k.zieltasche = static_cast<std::int32_t>(IniGanzzahl(ini, "kugeln", sz, 0));
    }
}

Netzeinstellung NetzAus(const IniDatei& ini) {
    Netzeinstellung n;
    n.port = static_cast<std::int32_t>(IniGanzzahl(ini, "netzwerk", "port", 2222));
    n.bport = static_cast<std::int32_t>(IniGanzzahl(ini, "netzwerk", "bport", 2222));
    n.wartezeit = IniGanzzahl(ini, "netzwerk", "wartezeit", 5000);
    n.gesamtzeit = IniGanzzahl(ini, "netzwerk", "gesamtzeit", 60000);
    n.verbindungen = IniGanzzahl(ini, "netzwerk", "verbindungen", 64);
    n.sender = IniGanzzahl(ini, "netzwerk", "sender", 32);
    n.sender_je_ziel = IniGanzzahl(ini, "netzwerk", "sender_je_ziel", 4);
    return n;
}

Physik PhysikAus(const IniDatei& ini) {
    Physik p{};
    p.g = Hundertstel(ini, "physik", "g", 981);
    p.u = Hundertstel(ini, "physik", "u", 30);
    p.k = Hundertstel(ini, "physik", "k", 20);
    p.vend = Hundertstel(ini, "physik", "vend", 10);
    p.vmax = Hundertstel(ini, "physik", "vmax", 500);
    return p;
}

float KugelradiusAus(const IniDatei& ini) {
    return static_cast<float>(IniGanzzahl(ini, "kugeln", "durchmesser", 350)) * 0.005f;
}

