#include "spiel/spielregeln.h"

namespace {

bool Volle(int i) { return i >= 1 && i <= 7; }

std::int32_t GruppeVon(int i) { return Volle(i) ? volle : halbe; }

bool InGruppe(int i, std::int32_t g) { return i != 8 && (g == alle || GruppeVon(i) == g); }

Partiefoul AlsPartiefoul(Foul f) { return static_cast<Partiefoul>(static_cast<int>(f)); }

Spruch BeurteileAnstoss(const Spielstand& vorher, const Simergebnis& e) {
    Spruch s;
    for (int i = 1; i < kAnzahlKugeln; ++i) {
        if (e.tasche[i] < 0) continue;
        ++s.versenkt;
        if (i != 8) ++s.eigene;
    }
    s.anstossGueltig = e.ersteBeruehrung >= 0 && AnstossGueltig(e);
    s.neuAufbauen = !s.anstossGueltig;
    s.schwarzeZurueck = s.anstossGueltig && e.tasche[8] >= 0;
    const Foul f = PruefeFoul(vorher, e);
    if (f == Foul::weisse_versenkt || f == Foul::keine_beruehrung) s.foul = AlsPartiefoul(f);
    else if (!s.anstossGueltig) s.foul = Partiefoul::anstoss_ungueltig;
    s.weiter = s.foul == Partiefoul::keins && s.versenkt > 0;
    if (!s.weiter) s.eigene = 0;
    return s;
}

}  // namespace

const char* Partiefoulname(Partiefoul f) {
    return f == Partiefoul::anstoss_ungueltig ? "anstoss_ungueltig" : Foulname(static_cast<Foul>(static_cast<int>(f)));
}

Spruch Beurteile(bool anstoss, const Spielstand& vorher, const Simergebnis& e) {
    if (anstoss) return BeurteileAnstoss(vorher, e);
    Spruch s;
    s.foul = AlsPartiefoul(PruefeFoul(vorher, e));
    for (int i = 1; i < kAnzahlKugeln; ++i) s.versenkt += e.tasche[i] >= 0;

    if (e.tasche[8] >= 0) {
        bool erlaubt[kAnzahlKugeln];
        ErlaubteErste(vorher, erlaubt);
        const bool anDerReihe = erlaubt[8];
        s.ausgang = anDerReihe && s.foul == Partiefoul::keins ? Ausgang::sieg : Ausgang::niederlage;
        if (s.ausgang == Ausgang::sieg) s.eigene = 1;
        else s.niederlage = anDerReihe ? Niederlage::schwarze_mit_foul : Niederlage::schwarze_zu_frueh;
        return s;
    }
    if (s.foul != Partiefoul::keins) return s;

    std::int32_t gruppe = vorher.gruppe;
    if (gruppe == alle) {
        int erste = -1;
        for (int i = 1; i < kAnzahlKugeln; ++i)
            if (i != 8 && e.tasche[i] >= 0 && (erste < 0 || e.zeitVersenkt[i] < e.zeitVersenkt[erste])) erste = i;
        if (erste < 0) return s;  // der Tisch bleibt offen
        gruppe = s.neueGruppe = GruppeVon(erste);
    }
    for (int i = 1; i < kAnzahlKugeln; ++i) s.eigene += e.tasche[i] >= 0 && InGruppe(i, gruppe);
    s.weiter = s.eigene > 0;
    return s;
}
