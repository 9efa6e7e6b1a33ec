#include "anzeige/texte.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>

namespace {

constexpr std::size_t kLogGrenze = 1023;
constexpr std::size_t kKugelnGrenze = 554;
constexpr std::size_t kFeldGrenze = 19;

}  // namespace

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

namespace {

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

std::string FormatiereLog(const char* format, ...) {
    va_list werte;
    va_start(werte, format);
    std::string text = FormatiereLogListe(format, werte);
    va_end(werte);
    return text;
}

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

