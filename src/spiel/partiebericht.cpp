#include "spiel/partiebericht.h"

#include <algorithm>

#include "spiel/intervall.h"

namespace {

void ZaehleAnstoss(Spielerzahlen& z, const Partiestoss& s) {
    ++z.anstoesse;
    z.anstoesseLegal += s.spruch.anstossGueltig;
    z.anstoesseVersenkt += s.spruch.versenkt > 0;
    z.anstoesseWeisse += (s.versenkt & 1u) != 0;
}

// Aufnahmen und ihre Kugeln, Sicherheitsstöße und was der Gegner danach tat.
void ZaehleFolge(Partiebericht& b, const Partie& p) {
    for (std::size_t i = 0; i < p.stoesse.size(); ++i) {
        const Partiestoss& s = p.stoesse[i];
        Spielerzahlen& z = b.spieler[s.schuetze];
        if (i == 0 || p.stoesse[i - 1].schuetze != s.schuetze) ++z.aufnahmen;
        z.kugeln += s.spruch.eigene;
        if (!s.sicherheit) continue;
        ++z.sicherheiten;
        if (i + 1 < p.stoesse.size() && p.stoesse[i + 1].schuetze != s.schuetze) {
            const Spruch& danach = p.stoesse[i + 1].spruch;
            z.gegnerVerfehlt += !danach.weiter && danach.ausgang != Ausgang::sieg;
        }
    }
}

// Anstoß und aus: die letzte Aufnahme des Siegers begann mit seinem Anstoß.
bool AnstossUndAus(const Partie& p) {
    for (auto s = p.stoesse.rbegin(); s != p.stoesse.rend(); ++s) {
        if (s->schuetze != p.sieger) return false;
        if (s->anstoss) return true;
    }
    return false;
}

}  // namespace

void Zaehle(Partiebericht& b, const Partie& p) {
    if (p.ohneAntwort) {
        ++b.ohneAntwort;
        return;
    }
    ++b.partien;
    FuegeBereichHinzu(b.gestelle, {p.gestell, p.gestell});
    b.stoesse += static_cast<long>(p.stoesse.size());
    b.stoesseMax = std::max(b.stoesseMax, static_cast<int>(p.stoesse.size()));
    if (p.sieger < 0) {
        ++b.remis;
    } else {
        Spielerzahlen& z = b.spieler[p.sieger];
        ++z.siege;
        z.siegeAlsAnstoesser += p.sieger == p.anstoesser;
        z.durchlaeufe += AnstossUndAus(p);
    }
    for (const Partiestoss& s : p.stoesse) {
        Spielerzahlen& z = b.spieler[s.schuetze];
        ++z.stoesse;
        z.gekappt += s.gekappt;
        Trage(z.zeit, s.planerUs);
        b.ereignisgrenze += s.ereignisgrenze;
        if (s.anstoss) ZaehleAnstoss(z, s);
        ++z.fouls[static_cast<int>(s.spruch.foul)];
        z.schwarzeZuFrueh += s.spruch.niederlage == Niederlage::schwarze_zu_frueh;
        z.schwarzeMitFoul += s.spruch.niederlage == Niederlage::schwarze_mit_foul;
    }
    for (Spielerzahlen& z : b.spieler) z.fouls[0] = 0;
    ZaehleFolge(b, p);
}

bool LegeZusammen(Partiebericht& ziel, const Partiebericht& teil, std::string& fehler) {
    if (ziel.modell != teil.modell || ziel.rauschen != teil.rauschen || !(ziel.lauf == teil.lauf)) {
        fehler = "die Läufe passen nicht zusammen (Saat, Modell, Rauschen, Welt oder Spieler verschieden)";
        return false;
    }
    std::vector<Bereich> gestelle = ziel.gestelle;
    for (const Bereich& b : teil.gestelle) {
        if (!FuegeBereichHinzu(gestelle, b)) {
            fehler = "die Gestelle " + std::to_string(b.von) + "–" + std::to_string(b.bis) + " sind schon gezählt";
            return false;
        }
    }
    ziel.gestelle = gestelle;
    ziel.partien += teil.partien;
    ziel.remis += teil.remis;
    ziel.ohneAntwort += teil.ohneAntwort;
    ziel.stoesse += teil.stoesse;
    ziel.stoesseMax = std::max(ziel.stoesseMax, teil.stoesseMax);
    ziel.ereignisgrenze += teil.ereignisgrenze;
    for (int i = 0; i < 2; ++i) {
        Spielerzahlen& z = ziel.spieler[i];
        const Spielerzahlen& t = teil.spieler[i];
        z.siege += t.siege;
        z.siegeAlsAnstoesser += t.siegeAlsAnstoesser;
        z.durchlaeufe += t.durchlaeufe;
        z.stoesse += t.stoesse;
        z.aufnahmen += t.aufnahmen;
        z.kugeln += t.kugeln;
        z.anstoesse += t.anstoesse;
        z.anstoesseLegal += t.anstoesseLegal;
        z.anstoesseVersenkt += t.anstoesseVersenkt;
        z.anstoesseWeisse += t.anstoesseWeisse;
        for (int f = 0; f < kAnzahlPartiefouls; ++f) z.fouls[f] += t.fouls[f];
        z.schwarzeZuFrueh += t.schwarzeZuFrueh;
        z.schwarzeMitFoul += t.schwarzeMitFoul;
        z.sicherheiten += t.sicherheiten;
        z.gegnerVerfehlt += t.gegnerVerfehlt;
        z.gekappt += t.gekappt;
        LegeZusammen(z.zeit, t.zeit);
    }
    return true;
}

double QuoteA(const Partiebericht& b, double& unten, double& oben) {
    Intervall95(b.spieler[0].siege, b.partien, unten, oben);
    return b.partien > 0 ? static_cast<double>(b.spieler[0].siege) / b.partien : 0.0;
}
