// Die Lage auf dem Tisch des Ersatzservers: zufällige, gültige Tische ohne
// Überlappung innerhalb der Banden.
#pragma once

#include <cstdint>
#include <random>

#include "model/serverkoordinaten.h"
#include "model/tisch.h"
#include "model/tischlage.h"

// Abstand zwischen Kugeln über 2r hinaus und zur Bande über r hinaus. Er deckt
// das Runden der Serverkoordinaten auf sechs Stellen (Fehler < 1e-4) reichlich.
constexpr float kSicherheitsabstand = 0.05f;

// Der Spielstand, wie ihn der Tisch sieht (ohne die Rundung des Dokuments;
// die Lagen sind schon gerundet): inloch aus bagcount, gruppe aus player.
Spielstand StandAus(const Tisch& t, const Zufallstisch& lage);

// Liegt (x, y) innerhalb der Banden (mit Sicherheitsabstand) und mehr als
// 2r + Sicherheitsabstand von jeder Kugel auf dem Tisch außer ausser?
bool PlatzFrei(const Tisch& t, const Zufallstisch& tisch, int ausser, float x, float y);

// Der nächste Tisch aus dem Generator; gleiche Saat, gleiche Folge von Tischen.
// Die Lagen sind schon auf die sechs Nachkommastellen des Dokuments gerundet,
// stimmen also mit dem überein, was der Spieler liest.
Zufallstisch ErzeugeZufallstisch(const Tisch& t, std::mt19937& zufall);

// Ein Tisch für ganze Aufnahmen: die Weiße und objektkugeln Kugeln (bei
// weniger als 15 zufällig gewählt, die Schwarze immer dabei) ohne
// Überlappung, jede Tasche erlaubt; die übrigen liegen eingelocht in Tasche 0.
Zufallstisch ErzeugeSpieltisch(const Tisch& t, std::mt19937& zufall, int objektkugeln, std::int32_t gruppe);
