// Der Rückfallstoß der robusten Wahl: bevor sie teuer sucht, sucht sie billig
// einen Stoß, der ohne Rauschen zuerst eine Kugel trifft, die der Planer
// zuerst treffen darf. Kappt die Grenze die Suche, bevor sie etwas Besseres
// belegt hat, wird er gespielt statt des besten bis dahin: der war oft ein
// Stoß ins Leere, und ohne Gedächtnis zwischen zwei Anfragen kam derselbe
// Stoß aus derselben Lage immer wieder.
#pragma once

#include "planner/robuste_proben.h"
#include "planner/stoss.h"

struct Rueckfallstoss {
    bool gefunden = false;  // trifft zuerst eine erlaubte Kugel, die Weiße fällt nicht
    bool ohneFoul = false;  // dazu ohne Foul (auf dem Anstoß: ein gültiger Anstoß)
    Vektor stoss{};
    Stoss kandidat{};       // NurAnspielen auf die Kugel, über Banden eine Richtung
    int kugel = -1;         // die zuerst getroffene
};

// Ohne Rauschen, in dieser Folge, bis einer ohne Foul ist: listenstoss (der
// Beste der Liste, wie die Wahl ihn spielen würde), gerade auf die Mitte jeder
// erlaubten Kugel (die nächste zuerst) in drei Stärken, und nur wenn keiner
// davon trifft, rundum in 2°-Schritten in zwei Stärken. Sonst der erste, der
// wenigstens trifft. Fragt die Frist nicht: er muss fertig werden. Die Stöße
// zählen für sie. Höchstens grenze stark; auf dem Anstoß die festesten zuerst.
Rueckfallstoss FindeRueckfallstoss(Durchspiel& d, const Stoss& besterDerListe, Vektor listenstoss, float grenze,
                                   bool anstoss);
