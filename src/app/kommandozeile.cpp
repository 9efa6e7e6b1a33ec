#include "kommandozeile.h"

#include <cerrno>
#include <cstdio>

#include "stosswerk_version.h"

namespace {

const Option* Finde(const Aufruf& a, std::string_view name) {
    for (const Option& o : a.optionen)
        if (o.name == name) return &o;
    return nullptr;
}

}  // namespace

bool LeseArgumente(Aufruf& a, const std::vector<std::string>& argumente, std::string& fehler) {
    for (std::size_t i = 0; i < argumente.size(); ++i) {
        const std::string_view arg = argumente[i];
        const bool datei = arg == "-" || !arg.starts_with("-");
        if (arg == "--help" || arg == "-h") {
            a.hilfeVerlangt = true;
        } else if (arg == "--version") {
            a.versionVerlangt = true;
        } else if (arg == "--" && a.dateien) {
            for (++i; i < argumente.size(); ++i) a.dateien->push_back(argumente[i]);
        } else if (datei && a.dateien) {
            a.dateien->emplace_back(arg);
        } else if (datei) {
            fehler = "Unerwartetes Argument \"" + std::string(arg) + "\".";
            return false;
        } else if (const Option* o = Finde(a, arg); !o) {
            fehler = "Unbekannte Option \"" + std::string(arg) + "\".";
            return false;
        } else if (!o->erwartet) {
            o->setze({});
            a.gesetzt.emplace(arg);
        } else if (i + 1 >= argumente.size()) {
            fehler = "Option " + std::string(arg) + " braucht einen Wert.";
            return false;
        } else if (const std::string_view wert = argumente[++i]; !o->setze(wert)) {
            fehler = "Ungültiger Wert \"" + std::string(wert) + "\" für " + std::string(arg) + ": erwartet " +
                     o->erwartet + ".";
            return false;
        } else {
            a.gesetzt.emplace(arg);
        }
    }
    return true;
}

int LeseAufruf(Aufruf& a, int argc, char** argv) {
    std::string fehler;
    if (!LeseArgumente(a, std::vector<std::string>(argv + 1, argv + argc), fehler))
        return Aufruffehler(a.programm, fehler);
    if (a.hilfeVerlangt) {
        std::fputs(a.hilfe, stdout);
    } else if (a.versionVerlangt) {
        std::printf("%s %s\n", a.programm, kStosswerkVersion);
    } else {
        return -1;
    }
    return SchliesseAusgabe(a.programm, kGut);
}

int SchliesseAusgabe(const char* programm, int rueckgabe) {
    if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return rueckgabe;
    const int fehler = errno;
    std::fprintf(stderr, "%s: Die Standardausgabe kann nicht geschrieben werden (%s).\n", programm,
                 Grund(fehler).c_str());
    return kFehlerhafteEingabe;
}

std::string Grund(int fehler) {
    switch (fehler) {
        case ENOENT: return "Datei nicht gefunden";
        case EACCES: return "keine Rechte";
        case EISDIR: return "ist ein Verzeichnis";
        case ENOSPC: return "kein Platz mehr";
        case EROFS: return "nur lesbar eingehängt";
        case EPIPE: return "der Empfänger ist fort";
        default: return "Fehler " + std::to_string(fehler);
    }
}

int Aufruffehler(const char* programm, const std::string& text) {
    std::fprintf(stderr, "%s: %s\n(Hilfe mit --help)\n", programm, text.c_str());
    return kFalscherAufruf;
}

int Eingabefehler(const char* programm, const std::string& text) {
    std::fprintf(stderr, "%s: %s\n", programm, text.c_str());
    return kFehlerhafteEingabe;
}

Option Schalter(std::string_view name, bool& ziel) {
    return {name, nullptr, [&ziel](std::string_view) { return ziel = true; }};
}

Option Text(std::string_view name, std::string& ziel, const char* erwartet) {
    return {name, erwartet, [&ziel](std::string_view w) {
                if (w.empty()) return false;
                ziel = w;
                return true;
            }};
}
