// Die Texte, die der Bediener sieht, ohne Anzeige aufbereitet: Protokollzeilen,
// Kugelliste, Gruppe, Zieltasche, Stoßvektor.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <string>

#include "geometry/vektor.h"
#include "model/tisch.h"

// printf-ähnlich, aber nur %d (int), %f (double, als %.2f) und %s; jedes andere
// Zeichen nach % wird selbst angehängt. Höchstens 1023 Zeichen.
std::string FormatiereLog(const char* format, ...);
std::string FormatiereLogListe(const char* format, va_list werte);
std::string KugelnText(const Spielstand& stand);
std::string GruppenText(std::int32_t gruppe);
std::string ZieltaschenText(const Spielstand& stand);
// Die vier Felder x, y, z, Betrag.
void VektorTexte(const Vektor& v, std::string texte[4]);
