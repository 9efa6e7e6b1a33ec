#include "aufruf.h"

#include <cerrno>
#include <cstdio>

std::string Grund(int fehler) {
    switch (fehler) {
        case ENOENT: return "Datei nicht gefunden";
        case EACCES: return "keine Leserechte";
        case EISDIR: return "ist ein Verzeichnis";
        default: return "Fehler " + std::to_string(fehler);
    }
}

bool LeseDokument(const std::string& pfad, std::string& text) {
    std::FILE* f = pfad == "-" ? stdin : std::fopen(pfad.c_str(), "rb");
    if (!f) return false;
    char puffer[65536];
    std::size_t n;
    while ((n = std::fread(puffer, 1, sizeof puffer, f)) > 0) text.append(puffer, n);
    const bool ok = !std::ferror(f);
    if (f != stdin) std::fclose(f);
    return ok;
}
