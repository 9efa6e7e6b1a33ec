#include "planner/suche.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "anzeige/texte.h"
#include "planner/stoss_linien.h"
#include "planner/stossstaerke.h"

int SammleStoesse(const Tischkontext& tk, const Spielstand& stand, Stoss* liste, int anzahl[7]) {
    static constexpr FindeFunktion arten[6] = {
        FindeWeisseKugelLoch, FindeWeisseBandeKugelLoch, FindeWeisseKugelBandeLoch,
        FindeWeisseKugelKugelLoch, FindeNurAnspielen, FindeUngewisserStoss,
    };
    int summe = 0;
    for (int a = 0; a < 6; ++a) {
        anzahl[a] = arten[a](tk, stand, liste + summe);
        summe += anzahl[a];
    }
    anzahl[6] = summe;
    return summe;
}

void SortiereStoesseBlasensort(Stoss* liste, int n) {
    for (int durchgang = n - 1; durchgang >= 1; --durchgang)
        for (int j = 0; j < durchgang; ++j)
            if (liste[j].bewertung > liste[j + 1].bewertung) std::swap(liste[j], liste[j + 1]);
}

void SortiereStoesse(Stoss* liste, int n) {
    auto kleiner = [](const Stoss& a, const Stoss& b) { return a.bewertung < b.bewertung; };
    int anfang = 0;
    for (int i = 0; i <= n; ++i) {
        if (i == n || std::isnan(liste[i].bewertung)) {
            if (i - anfang > 1) std::stable_sort(liste + anfang, liste + i, kleiner);
            anfang = i + 1;
        }
    }
}

const char* Artname(std::int32_t art) {
    static const char* const namen[6] = {"WeisseKugelLoch",      "WeisseBandeKugelLoch", "WeisseKugelBandeLoch",
                                         "WeisseKugelKugelLoch", "NurAnspielen",         "UngewisserStoss"};
    return art >= 0 && art < 6 ? namen[art] : "?";
}

Vektor Stossrichtung(const Stoss& s) {
    Vektor nach = s.ziel;
    if (s.art == WeisseBandeKugelLoch) nach = s.bande;
    else if (s.art == WeisseKugelKugelLoch) nach = s.zwischenziel;
    return {nach.x - s.weiss.x, nach.y - s.weiss.y, 0.0f};
}

int SucheKandidaten(const Tischkontext& tk, const Spielstand& stand, Stoss* liste, int anzahl[7]) {
    const int summe = SammleStoesse(tk, stand, liste, anzahl);
    SortiereStoesse(liste, summe);
    return summe;
}

std::vector<std::string> Zaehlerzeilen(const int anzahl[7]) {
    // Je Anfrage einmal: ohne den Formatierer, der Zeichen für Zeichen anhängt.
    static constexpr const char* kNamen[7] = {"\r\ncntWeisseKugelLoch=", "cntWeisseBandeKugelLoch=",
                                              "cntWeisseKugelBandeLoch=",   "cntWeisseKugelKugelLoch=",
                                              "cntNurAnspielen=",           "cntUngewisserStoss=",
                                              "Anzahl möglicher Stöße: "};
    std::vector<std::string> zeilen(7);
    for (int i = 0; i < 7; ++i) zeilen[i].append(kNamen[i]).append(std::to_string(anzahl[i])).append("\r\n");
    return zeilen;
}

Vektor StossVektor(const Stoss& s, float staerke) {
    Vektor d = Stossrichtung(s);
    // Eine Weiße genau in der Tischmitte gibt dem blinden Stoß keine Richtung:
    // dann entlang +x statt eines NaN-Vektors.
    if (d.x == 0.0f && d.y == 0.0f) d = {1.0f, 0.0f, 0.0f};
    return Skaliere(Normiere(d), staerke);
}

Planergebnis SucheStoss(const Tischkontext& tk, const Spielstand& stand, const Physik& physik, float radius) {
    // Auf dem Stack ohne Initialisierung: jede Art schreibt ganze Datensätze.
    Stoss liste[kListenGroesse];
    Planergebnis p;
    SucheKandidaten(tk, stand, liste, p.bericht.anzahl);
    p.protokoll = Zaehlerzeilen(p.bericht.anzahl);
    const Stoss& bester = liste[0];
    p.linien = StossLinien(bester);
    p.stoss = StossVektor(bester, BerechneStossstaerke(bester, physik, radius));
    p.bericht.bester = bester;
    return p;
}
