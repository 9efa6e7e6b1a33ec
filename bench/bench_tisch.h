// Der Tisch aus der config.ini neben dem Benchmark, wie ein Programm ihn beim
// Start einmal baut, und der Pfad dieser Datei.
#pragma once

#include <string>

#include "model/konfiguration.h"
#include "model/tischkontext.h"

inline std::string Benchkonfiguration() { return BestimmePfade().konfiguration; }

inline const Tischkontext& Benchtisch() {
    static const Tischkontext tk = [] {
        IniDatei ini;
        LeseKonfiguration(Benchkonfiguration(), ini);
        Tisch t;
        TischAus(ini, t);
        return BaueTischkontext(t);
    }();
    return tk;
}
