// spieltisch --zusammenfassen: JSON-Berichte von Teilläufen (--ab auf mehreren
// Rechnern) zu einem Bericht, als wäre es ein Lauf gewesen.
#pragma once

#include <ostream>

#include "optionen.h"

// Bericht nach aus (deutsch oder mit --json als Objekt), Meldungen nach
// meldungen. 0, oder 2, wenn eine Datei fehlt, kein Bericht ist, die Berichte
// nicht zusammenpassen (auch: andere Einstellungen eines Spielers) oder mit
// --erwartet VON-BIS die Tische (Gestelle) nicht genau VON bis BIS ohne Lücke sind.
int FasseZusammen(const Optionen& o, std::ostream& aus, std::ostream& meldungen);
