#include "ausgabedateien.h"

#include <filesystem>

bool LegeVerzeichnisAn(const std::string& verzeichnis, std::ostream& meldungen) {
    if (verzeichnis.empty()) return true;
    std::error_code fehler;
    std::filesystem::create_directories(verzeichnis, fehler);
    if (!fehler && std::filesystem::is_directory(verzeichnis)) return true;
    meldungen << "spieltisch: Verzeichnis " << verzeichnis << " kann nicht angelegt werden.\n";
    return false;
}

bool OeffneAusgabe(std::ofstream& datei, const std::string& pfad, bool anhaengen, const char* was,
                   std::ostream& meldungen) {
    if (pfad.empty()) return true;
    datei.open(pfad, std::ios::binary | (anhaengen ? std::ios::app : std::ios::trunc));
    if (datei) return true;
    meldungen << "spieltisch: " << was << " " << pfad << " kann nicht geschrieben werden.\n";
    return false;
}

bool SchliesseAusgabe(std::ofstream& datei, const std::string& pfad, const char* was, std::ostream& meldungen) {
    if (!datei.is_open()) return true;
    datei.close();
    if (!datei.fail()) return true;
    meldungen << "spieltisch: " << was << " " << pfad << " kann nicht geschrieben werden.\n";
    return false;
}
