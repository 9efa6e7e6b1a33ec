#include "anzeige/anzeige.h"

#include <cstdarg>
#include <cstdio>

Anzeige KonsolenAnzeige() {
    Anzeige a;
    a.logEinfuegen = [](std::string_view t) {
        std::fwrite(t.data(), 1, t.size(), stdout);
        std::fflush(stdout);
    };
    a.logLeeren = [] {};
    a.feldSetzen = [](int, std::string_view) {};
    a.linieZeichnen = [](Linie) {};
    a.kugelnUebernommen = [](const Spielstand&) {};
    a.meldung = [](std::string_view titel, std::string_view text, Symbol) {
        std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(titel.size()), titel.data(),
                     static_cast<int>(text.size()), text.data());
    };
    return a;
}

Anzeige StilleAnzeige() {
    Anzeige a;
    a.logEinfuegen = [](std::string_view) {};
    a.logLeeren = [] {};
    a.feldSetzen = [](int, std::string_view) {};
    a.linieZeichnen = [](Linie) {};
    a.kugelnUebernommen = [](const Spielstand&) {};
    a.meldung = [](std::string_view, std::string_view, Symbol) {};
    return a;
}

Anzeige AufzeichnendeAnzeige(Aufzeichnung& z) {
    Anzeige a;
    a.logEinfuegen = [&z](std::string_view t) {
        std::lock_guard l(z.mutex);
        z.geaendert.notify_all();
        z.log += t;
    };
    a.logLeeren = [&z] {
        std::lock_guard l(z.mutex);
        z.geaendert.notify_all();
        z.log.clear();
    };
    a.feldSetzen = [&z](int feld, std::string_view t) {
        std::lock_guard l(z.mutex);
        z.geaendert.notify_all();
        z.felder[feld] = std::string(t);
    };
    a.linieZeichnen = [&z](Linie linie) {
        std::lock_guard l(z.mutex);
        z.geaendert.notify_all();
        z.linien.push_back(linie);
    };
    a.kugelnUebernommen = [&z](const Spielstand&) {
        std::lock_guard l(z.mutex);
        z.geaendert.notify_all();
        ++z.uebernommen;
    };
    a.meldung = [&z](std::string_view titel, std::string_view text, Symbol) {
        std::lock_guard l(z.mutex);
        z.geaendert.notify_all();
        z.meldungen.push_back(std::string(titel) + ": " + std::string(text));
    };
    return a;
}

void SchreibeLog(const Anzeige& a, const char* format, ...) {
    if (!format) return;
    va_list werte;
    va_start(werte, format);
    std::string text = FormatiereLogListe(format, werte);
    va_end(werte);
    a.logEinfuegen(text);  // auch leer: ersetzt eine Auswahl
}

void LoescheLog(const Anzeige& a) { a.logLeeren(); }

void ZeigeKugeln(const Anzeige& a, const Spielstand& stand) {
    a.feldSetzen(FeldGruppe, GruppenText(stand.gruppe));
    a.feldSetzen(FeldZieltasche, ZieltaschenText(stand));
    a.feldSetzen(FeldKugeln, KugelnText(stand));
}

void ZeigeVektor(const Anzeige& a, const Vektor& v) {
    std::string t[4];
    VektorTexte(v, t);
    for (int i = 0; i < 4; ++i) a.feldSetzen(FeldX + i, t[i]);
}

void ZeigeMeldung(const Anzeige& a, std::string_view titel, std::string_view text, Symbol symbol) {
    a.meldung(titel, text, symbol);
}

void ZeigeProtokoll(const Anzeige& a, const std::vector<std::string>& zeilen) {
    for (const std::string& z : zeilen) a.logEinfuegen(z);
}

void ZeichneLinien(const Anzeige& a, const std::vector<Linie>& linien) {
    for (const Linie& l : linien) a.linieZeichnen(l);
}
