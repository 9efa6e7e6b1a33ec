#include "lernen/lerner.h"

#include <string>

bool LernerSieht(Lerner& l, const Tischgeometrie& g, const Spielstand& stand, const Kalibrieroptionen& o) {
    if (!l.hatAntwort) return false;
    l.hatAntwort = false;
    if (l.bis > 0 && static_cast<long>(l.beobachtungen.size()) >= l.bis) return false;
    Beobachtung b{l.antwortStand, l.antwortStoss, stand};
    b.nachher.gruppe = b.vorher.gruppe;
    if (!PruefeBeobachtung(g, l.welt, b).angenommen) return false;
    l.beobachtungen.push_back(b);
    if (l.beobachtungen.size() % static_cast<std::size_t>(l.lernenAlle) != 0) return false;
    Kalibrierergebnis e;
    std::string fehler;
    Kalibrieroptionen mit = o;
    mit.rauschen = l.rauschen;
    if (!Kalibriere(l.beobachtungen, l.welt, g, mit, e, fehler)) return false;
    l.welt = e.welt;
    l.rauschen = e.rauschfaktor;
    l.klassenrauschen = Klassenrauschen(e);
    l.letztes = std::move(e);
    ++l.anpassungen;
    return true;
}

void LernerAntwortet(Lerner& l, const Spielstand& stand, Vektor stoss) {
    l.hatAntwort = true;
    l.antwortStand = stand;
    l.antwortStoss = stoss;
}
