#include "planner/suche.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "planner/stoss_linien.h"
#include "planner/stossstaerke.h"

int SammleStoesse(const Spielstand& stand, Stoss* liste, int anzahl[7]) {
    static constexpr FindeFunktion arten[6] = {
        FindeWeisseKugelLoch, FindeWeisseBandeKugelLoch, FindeWeisseKugelBandeLoch,
        FindeWeisseKugelKugelLoch, FindeNurAnspielen, FindeUngewisserStoss,
    };
    int summe = 0;
    for (int a = 0; a < 6; ++a) {
        anzahl[a] = arten[a](stand, liste + summe);
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

Vektor Stossrichtung(const Stoss& s) {
    Vektor nach = s.ziel;
    if (s.art == WeisseBandeKugelLoch) nach = s.bande;
    else if (s.art == WeisseKugelKugelLoch) nach = s.zwischenziel;
    return {nach.x - s.weiss.x, nach.y - s.weiss.y, 0.0f};
}

void SucheStoss(const Spielstand& stand, Vektor& stoss, Suchbericht* bericht) {
    // Auf dem Stack ohne Initialisierung: jede Art schreibt ganze Datensätze.
    Stoss liste[kListenGroesse];
    int anzahl[7];
    const int summe = SammleStoesse(stand, liste, anzahl);

    SchreibeLog("\r\ncntWeisseKugelLoch=%d\r\n", anzahl[0]);
    SchreibeLog("cntWeisseBandeKugelLoch=%d\r\n", anzahl[1]);
    SchreibeLog("cntWeisseKugelBandeLoch=%d\r\n", anzahl[2]);
    SchreibeLog("cntWeisseKugelKugelLoch=%d\r\n", anzahl[3]);
    SchreibeLog("cntNurAnspielen=%d\r\n", anzahl[4]);
    SchreibeLog("cntUngewisserStoss=%d\r\n", anzahl[5]);
    SchreibeLog("Anzahl möglicher Stöße: %d\r\n", summe);

    SortiereStoesse(liste, summe);
    ZeichneStoss(liste, 1);

    const Stoss& bester = liste[0];
    Vektor d = Stossrichtung(bester);
    // Eine Weiße genau in der Tischmitte gibt dem blinden Stoß keine Richtung:
    // dann entlang +x statt eines NaN-Vektors.
    if (d.x == 0.0f && d.y == 0.0f) d = {1.0f, 0.0f, 0.0f};
    stoss = Normiere(d);
    stoss = Skaliere(stoss, BerechneStossstaerke(bester));
    if (bericht) {
        std::copy(anzahl, anzahl + 7, bericht->anzahl);
        bericht->bester = bester;
    }
    MeldeStoss(stand, stoss);
}
