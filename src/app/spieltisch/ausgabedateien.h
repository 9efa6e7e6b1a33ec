// Die Dateien und Verzeichnisse, in die ein Lauf schreibt: vor dem ersten
// Stoß geöffnet oder angelegt, damit ein falscher Pfad nicht erst nach
// Stunden auffällt. Jede Meldung ist eine deutsche Zeile.
#pragma once

#include <fstream>
#include <ostream>
#include <string>

// Legt verzeichnis an (leer: nichts zu tun); false mit Meldung.
bool LegeVerzeichnisAn(const std::string& verzeichnis, std::ostream& meldungen);

// Öffnet pfad zum Schreiben (leer: nichts zu tun), anhaengen: hinten an;
// false mit Meldung "was pfad kann nicht geschrieben werden".
bool OeffneAusgabe(std::ofstream& datei, const std::string& pfad, bool anhaengen, const char* was,
                   std::ostream& meldungen);

// Nach dem letzten Schreiben: false mit Meldung, wenn etwas nicht ankam.
bool SchliesseAusgabe(std::ofstream& datei, const std::string& pfad, const char* was, std::ostream& meldungen);
