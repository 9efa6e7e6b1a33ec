#include "aufruf.h"

#include <cerrno>
#include <cstdio>

#include "model/konfiguration.h"
#include "net/xml_lesen.h"

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

int LadeTischUndStand(const char* programm, const std::string& config, const std::string& dokumentPfad,
                      std::int32_t gruppe, bool json, Programmtisch& p, Spielstand& stand) {
    auto ini = std::make_shared<IniDatei>();
    p.ini = ini;
    if (!config.empty()) {
        // Nur die Datei neben dem Programm darf fehlen; eine genannte muss lesbar sein.
        if (!LeseIniDatei(config, *ini))
            return Eingabefehler(programm, "Die Konfigurationsdatei \"" + config + "\" kann nicht gelesen werden (" +
                                               Grund(errno) + ").");
        p.pfade = BestimmePfade("", config);
    } else {
        p.pfade = BestimmePfade();
        LeseKonfiguration(p.pfade.konfiguration, *ini);
    }
    Tisch t;
    TischAus(*p.ini, t);
    p.tisch = BaueTischkontext(t);
    SetzeStandardaufstellung(t, stand);
    stand.gruppe = gruppe;
    if (dokumentPfad.empty()) return 0;
    std::string text;
    if (!LeseDokument(dokumentPfad, text))
        return Eingabefehler(programm, "Das Dokument \"" + dokumentPfad + "\" kann nicht gelesen werden (" +
                                           Grund(errno) + ").");
    // "fehler"-Zeilen gehören nicht in die JSON-Ausgabe.
    if (!LeseSpielstandXML(p.tisch, text, stand, !json))
        return Eingabefehler(programm, "Fehlerhaftes Tischstand-Dokument \"" + dokumentPfad +
                                           "\": es fehlen Kugeln, Elemente einer Kugel oder player, oder eine Lage "
                                           "ist keine Zahl.");
    return 0;
}
