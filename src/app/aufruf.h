// Was die Programme an Eingaben gemeinsam haben: ein Dokument aus einer Datei
// oder der Standardeingabe, die config.ini und der Tisch daraus, deutsche Gründe.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "kommandozeile.h"
#include "model/konfiguration.h"
#include "model/tischkontext.h"

// Die ganze Datei, oder mit "-" die Standardeingabe. Bei false sagt errno, warum.
bool LeseDokument(const std::string& pfad, std::string& text);

// Die config.ini eines Programms, einmal gelesen, und der Tisch daraus.
struct Programmtisch {
    Pfade pfade;
    std::shared_ptr<const IniDatei> ini;
    Tischkontext tisch;
};

// Was stosswerk-plan und stosswerk-sim vor dem Planen tun: die genannte
// config.ini (sie muss lesbar sein) oder die neben dem Programm, der Tisch
// daraus, dann die Grundaufstellung mit gruppe oder die Kugeln und die Gruppe
// des Dokuments. 0, sonst der Rückgabewert des Programms (1: eine genannte
// Datei ist nicht lesbar oder das Dokument fehlerhaft), die Meldung schon
// geschrieben. Mit json schreibt der Dokumentleser keine "fehler"-Zeilen.
int LadeTischUndStand(const char* programm, const std::string& config, const std::string& dokumentPfad,
                      std::int32_t gruppe, bool json, Programmtisch& p, Spielstand& stand);
