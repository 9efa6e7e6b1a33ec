// Sicherheitsstöße, die verstecken: die Weiße bleibt so liegen, dass der
// Gegner keinen guten direkten Lochstoß hat. Die breitesten Fenster gültiger
// Stöße (Sicherheitsrichtungen) sind die leichtesten Treffer, nicht die besten
// Verstecke: nach ihnen lochte der Gegner fast so oft wie sonst.
#pragma once

#include <vector>

#include "planner/robuste_proben.h"

// Wie offen stand für den, der am Zug ist (Gruppe von stand): je leichter
// sein bester direkter Lochstoß nach der Bewertung der Liste, desto größer;
// 0, wenn er keinen hat.
float Offenheit(const Tischkontext& tk, const Spielstand& stand);

// Spielt rundum in drei sanften Stärken in ganzen Grad ohne Rauschen und
// hängt an stoesse die Richtungen an, deren Ausgang mit beiden Nachbarn
// sicher ist und dem Gegner am wenigsten offen lässt (die Nachbarn zählen
// halb so viel wie die Mitte), die verstecktesten zuerst, höchstens
// kVerstecke. false, wenn die Zeit um war.
constexpr std::size_t kVerstecke = 6;
bool Versteckstoesse(Durchspiel& d, float grenze, std::vector<Vektor>& stoesse);
