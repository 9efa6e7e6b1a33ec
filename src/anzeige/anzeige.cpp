#include "anzeige/anzeige.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>

namespace {

Anzeige anzeige = KonsolenAnzeige();

constexpr std::size_t kLogGrenze = 1023;
constexpr std::size_t kKugelnGrenze = 554;
constexpr std::size_t kFeldGrenze = 19;

std::string FormatiereLogListe(const char* format, va_list werte) {
    std::string text;
    if (!format) return text;
    char zahl[64];
    for (const char* p = format; *p; ++p) {
        if (*p != '%') {
            text += *p;
            continue;
        }
        ++p;
        if (!*p) break;  // % am Ende beendet den Text
        switch (*p) {
            case 'd':
                std::snprintf(zahl, sizeof zahl, "%d", va_arg(werte, int));
                text += zahl;
                break;
            case 'f': {
                // %.2f einer riesigen Zahl passt in keinen kleinen Puffer
                double d = va_arg(werte, double);
                int n = std::snprintf(nullptr, 0, "%.2f", d);
                std::string s(static_cast<std::size_t>(n), '\0');
                std::snprintf(s.data(), s.size() + 1, "%.2f", d);
                text += s;
                break;
            }
            case 's': {
                const char* s = va_arg(werte, const char*);
                text += s ? s : "(null)";
                break;
            }
            default:
                text += *p;  // auch "%%" und Ziffern: das Zeichen selbst
        }
        if (text.size() > kLogGrenze) break;
    }
    if (text.size() > kLogGrenze) text.resize(kLogGrenze);
    return text;
}

// printf in einen std::string, gekürzt auf grenze Zeichen.
std::string Format(std::size_t grenze, const char* format, ...) {
    char puffer[512];
    va_list werte;
    va_start(werte, format);
    int n = std::vsnprintf(puffer, sizeof puffer, format, werte);
    va_end(werte);
    std::string s(puffer, n < 0 ? 0 : std::min<std::size_t>(static_cast<std::size_t>(n), sizeof puffer - 1));
    if (s.size() > grenze) s.resize(grenze);
    return s;
}

}  // namespace

void InstalliereAnzeige(Anzeige a) { anzeige = std::move(a); }

Anzeige KonsolenAnzeige() {
    Anzeige a;
    a.logEinfuegen = [](std::string_view t) {
        std::fwrite(t.data(), 1, t.size(), stdout);
        std::fflush(stdout);
    };
    a.logLeeren = [] {};
    a.feldSetzen = [](int, std::string_view) {};
    a.linieZeichnen = [](Linie) {};
    a.kugelnUebernommen = [] {};
    a.meldung = [](std::string_view titel, std::string_view text, Symbol) {
        std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(titel.size()), titel.data(),
                     static_cast<int>(text.size()), text.data());
    };
    a.stossGespielt = [](const Spielstand&, Vektor) {};
    return a;
}

Anzeige StilleAnzeige() {
    Anzeige a;
    a.logEinfuegen = [](std::string_view) {};
    a.logLeeren = [] {};
    a.feldSetzen = [](int, std::string_view) {};
    a.linieZeichnen = [](Linie) {};
    a.kugelnUebernommen = [] {};
    a.meldung = [](std::string_view, std::string_view, Symbol) {};
    a.stossGespielt = [](const Spielstand&, Vektor) {};
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
    a.kugelnUebernommen = [&z] {
        std::lock_guard l(z.mutex);
        z.geaendert.notify_all();
        ++z.uebernommen;
    };
    a.meldung = [&z](std::string_view titel, std::string_view text, Symbol) {
        std::lock_guard l(z.mutex);
        z.geaendert.notify_all();
        z.meldungen.push_back(std::string(titel) + ": " + std::string(text));
    };
    a.stossGespielt = [&z](const Spielstand&, Vektor stoss) {
        std::lock_guard l(z.mutex);
        z.geaendert.notify_all();
        z.stoesse.push_back(stoss);
    };
    return a;
}

std::string FormatiereLog(const char* format, ...) {
    va_list werte;
    va_start(werte, format);
    std::string text = FormatiereLogListe(format, werte);
    va_end(werte);
    return text;
}

void SchreibeLog(const char* format, ...) {
    if (!format) return;
    va_list werte;
    va_start(werte, format);
    std::string text = FormatiereLogListe(format, werte);
    va_end(werte);
    anzeige.logEinfuegen(text);  // auch leer: ersetzt eine Auswahl
}

void LoescheLog() { anzeige.logLeeren(); }

std::string GruppenText(std::int32_t gruppe) {
    static const char* const namen[] = {"halb", "voll", "beide"};
    if (gruppe >= 0 && gruppe <= 2) return namen[gruppe];
    return Format(kFeldGrenze, "%d", gruppe);  // aus dem Netz kann jede Zahl kommen
}

std::string ZieltaschenText(const Spielstand& stand) {
    return Format(199, "%d", stand.kugeln[8].zieltasche);
}

std::string KugelnText(const Spielstand& stand) {
    std::string text = "Kugeln:\n-------------------\n";
    const Kugel& w = stand.kugeln[0];
    text += Format(199, "weiß:\t%.3f / %.3f\n", static_cast<double>(w.x), static_cast<double>(w.y));
    for (int i = 1; i < kAnzahlKugeln; ++i) {
        const Kugel& k = stand.kugeln[i];
        if (k.inloch)
            text += Format(199, "%2.d:\tim Loch!\n", i);
        else
            text += Format(199, "%2.d:\t%.3f / %.3f\n", i, static_cast<double>(k.x), static_cast<double>(k.y));
    }
    if (text.size() > kKugelnGrenze) text.resize(kKugelnGrenze);
    return text;
}

void VektorTexte(const Vektor& v, std::string texte[4]) {
    const double x = v.x, y = v.y, z = v.z;
    texte[0] = Format(kFeldGrenze, "%.3f", x);
    texte[1] = Format(kFeldGrenze, "%.3f", y);
    texte[2] = Format(kFeldGrenze, "%.3f", z);
    texte[3] = Format(kFeldGrenze, "%.3f", std::sqrt(z * z + y * y + x * x));
}

void ZeigeKugeln(const Spielstand& stand) {
    anzeige.feldSetzen(FeldGruppe, GruppenText(stand.gruppe));
    anzeige.feldSetzen(FeldZieltasche, ZieltaschenText(stand));
    anzeige.feldSetzen(FeldKugeln, KugelnText(stand));
}

void ZeigeVektor(const Vektor& v) {
    std::string t[4];
    VektorTexte(v, t);
    for (int i = 0; i < 4; ++i) anzeige.feldSetzen(FeldX + i, t[i]);
}

void ZeichneLinie(float x1, float y1, float x2, float y2, std::uint32_t farbe) {
    anzeige.linieZeichnen({x1, y1, x2, y2, farbe});
}

void ZeigeMeldung(std::string_view titel, std::string_view text, Symbol symbol) {
    anzeige.meldung(titel, text, symbol);
}

void MeldeStoss(const Spielstand& stand, Vektor stoss) {
    if (anzeige.stossGespielt) anzeige.stossGespielt(stand, stoss);
}

void UebernehmeKugeln(const Spielstand& empfangen) {
    {
        std::lock_guard sperre(spielstandMutex);
        for (int i = 0; i < kAnzahlKugeln; ++i) {
            Kugel& k = spielstand.kugeln[i];
            const Kugel& e = empfangen.kugeln[i];
            k.x = e.x;
            k.y = e.y;
            k.z = e.z;
            k.inloch = e.inloch;
        }
    }
    anzeige.kugelnUebernommen();
}
