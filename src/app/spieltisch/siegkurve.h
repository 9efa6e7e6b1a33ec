// Die Siegquote von Spieler A über den Rauschfaktor (--partien --rauschreihe
// --bild), offscreen mit Qt gemalt, mit 95-%-Intervallen. Braucht eine QGuiApplication.
#pragma once

#include <string>
#include <vector>

#include "optionen.h"
#include "partienablauf.h"

bool MaleSiegkurve(const std::vector<Rauschpunkt>& punkte, const Optionen& o, std::string& fehler);
