// spieltisch --zusammenfassen: JSON-Berichte von Teilläufen (--ab auf mehreren
// Rechnern) zu einem Bericht, als wäre es ein Lauf gewesen.
#pragma once

#include <ostream>

#include "optionen.h"

// Bericht nach aus (deutsch oder mit --json als Objekt), Meldungen nach
// meldungen. 0, oder 2, wenn eine Datei fehlt, kein Bericht ist oder die
// Berichte nicht zusammenpassen.
int FasseZusammen(const Optionen& o, std::ostream& aus, std::ostream& meldungen);
