// Ball in der Hand: nach einem Foul legt der Tisch dem Gegner die Weiße hin,
// denn die Antwort trägt keine Lage. Er legt sie, wie ein Spieler es täte,
// hinter eine Kugel, die der Gegner zuerst spielen darf, für den kürzesten
// freien, geraden Lochstoß.
#pragma once

#include <cstdint>

#include "model/tischkontext.h"
#include "spiel/zufallstisch.h"

// Abstand der Weißen (Mitte zu Mitte) hinter der Objektkugel.
constexpr float kAnlauf = 10.0f;
// Höchstens so weit (Grad) weicht der Lauf der Objektkugel von der Senkrechten
// auf das Taschenmaul ab: steiler trifft sie die Backen.
constexpr double kMaulwinkelGrad = 40.0;

// gruppe: die des Gegners (alle bei offenem Tisch). Gesucht wird über jede
// Kugel, die er zuerst treffen darf (ErlaubteErste), und jede Tasche: die
// Weiße kAnlauf hinter der Kugel auf der Geraden von der Maulmitte durch die
// Kugel, wo die Weiße frei liegt, ihr Weg zur Kugel und der Weg der Kugel zum
// Maul frei sind (wie KugelImWeg des Planers) und die Kugel höchstens
// kMaulwinkelGrad schräg ins Maul läuft. Gewählt wird der kürzeste Weg der
// Kugel zum Maul (bei Gleichstand die kleinere Kugel, dann Tasche). Gibt es
// keinen, liegt die Weiße kAnlauf vor der ersten erlaubten Kugel, die sie
// gerade und frei treffen kann (Richtungen in 10°-Schritten); erst wenn es
// auch das nicht gibt, auf dem Kopfpunkt oder dem nächsten freien Punkt.
void LegeWeisseHin(const Tischkontext& tk, Zufallstisch& lage, std::int32_t gruppe);
