// Ein Spieler, wie stosswerk ihn ohne Fenster baut, mit aufzeichnender Anzeige
// und eigenem freien Port; beim Abbau wartet er, bis sein Server-Thread endet.
#pragma once

#include <chrono>
#include <string>

#include "anzeige/anzeige.h"
#include "netz_hilfen.h"
#include "spieler/spielerkontext.h"

struct Testspieler {
    Aufzeichnung a;
    Spielerkontext k;

    // config: die config.ini (leer: die neben dem Testprogramm). Ohne logLeeren
    // überstehen die Zeilen einer Verbindung das Annehmen der nächsten.
    explicit Testspieler(const std::string& config = "", bool logLeeren = true) {
        Anzeige anzeige = AufzeichnendeAnzeige(a);
        if (!logLeeren) anzeige.logLeeren = [] {};
        BaueSpieler(k, BestimmePfade("", config), anzeige);
        SetzePort(FreierPort());
    }
    // Auch die Sendethreads schreiben in die Aufzeichnung (etwa "connect
    // gescheitert"): sie stirbt erst, wenn keiner mehr läuft.
    ~Testspieler() {
        StoppeServer(k.server);
        WarteAufServerende(k.server, std::chrono::seconds(10));
        WarteAufSender(k.sender, std::chrono::seconds(15));
    }
    Testspieler(const Testspieler&) = delete;
    Testspieler& operator=(const Testspieler&) = delete;

    int Port() const { return k.netz.port; }
    void SetzePort(int port) {
        k.netz.port = port;
        k.sender.netz.port = port;
    }
    bool Starte() { return StarteServer(k.server, k.netz.port, k.netz); }
};
