#include "aufruf.h"

#include <cerrno>
#include <cstdio>

#include "model/konfiguration.h"
#include "net/xml_lesen.h"

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

int Aufruffehler(const char* programm, const std::string& text) {
    std::fprintf(stderr, "%s: %s\n(Hilfe mit --help)\n", programm, text.c_str());
    return 2;
}

int LadeTischUndStand(const char* programm, const std::string& config, const std::string& dokumentPfad,
                      std::int32_t gruppe, bool json, Spielstand& stand) {
    if (!config.empty()) {
        // Nur die Datei neben dem Programm darf fehlen; eine genannte muss lesbar sein.
        IniDatei ini;
        if (!LeseIniDatei(config, ini))
            return Aufruffehler(programm, "Die Konfigurationsdatei \"" + config + "\" kann nicht gelesen werden (" +
                                              Grund(errno) + ").");
        SetzeKonfigurationsdatei(config);
    }
    LadeTisch(tisch, Konfigurationsdatei());
    BerechneTaschenpunkte();
    SetzeStandardaufstellung(stand);
    stand.gruppe = gruppe;
    if (dokumentPfad.empty()) return 0;
    std::string text;
    if (!LeseDokument(dokumentPfad, text))
        return Aufruffehler(programm, "Das Dokument \"" + dokumentPfad + "\" kann nicht gelesen werden (" +
                                          Grund(errno) + ").");
    SetzeXmlFehlerausgabe(!json);  // "fehler"-Zeilen gehören nicht in die JSON-Ausgabe
    if (!LeseSpielstandXML(text, stand)) {
        std::fprintf(stderr, "%s: Fehlerhaftes Tischstand-Dokument \"%s\": es fehlen Kugeln, "
                             "Elemente einer Kugel oder player, oder eine Lage ist keine Zahl.\n",
                     programm, dokumentPfad.c_str());
        return 1;
    }
    return 0;
}
