// Die Kenngrößen von Welt R, die der Fit anpasst, und ihr Weg zwischen der
// Welt, dem Parametervektor des Fits und den Hundertsteln der config.ini.
//
// Rollreibung fehlt mit Absicht: Lagen am Ende bestimmen keinen Maßstab der
// Geschwindigkeit. Mal √λ jede Geschwindigkeit und mal λ jede Verzögerung
// (Rollen, Gleiten) läuft jede Kugel denselben Weg (Kugelstöße, Wurf und Banden
// kennen keinen Maßstab; bande_abfall geht mit 1/√λ). Bestimmbar sind nur
// gleitreibung/rollreibung und staerke_faktor²/rollreibung; die Rollreibung
// bleibt darum, wie sie eingestellt ist (das Tuch lässt sich mit einer Stoppuhr
// messen, der Queue des Tisches nicht).
#pragma once

#include <array>

#include "sim/welt.h"

enum class Kenngroesse : int {
    gleitreibung,
    stosszahl_kugel,
    kugelreibung,
    bande_normal,
    bande_tangential,
    bande_drall,
    bande_abfall,
    bande_reibung,
    bande_normal_flach,
    bande_tangential_flach,
    bande_drall_flach,
    bande_gleiten_normal,
    bande_gleiten_drall,
    bande_gleiten_laengs,
    staerke_faktor,
    richtung_versatz,
};
constexpr int kAnzahlKenngroessen = 16;

struct Kenngroessenart {
    const char* schluessel;  // in [simulation]
    double untergrenze;      // im Fit (Einheiten des Parametervektors)
    double obergrenze;
    double typisch;          // Maß für die Schrittweite der Ableitungen
    double hundertstel;      // config-Wert = Fitwert × hundertstel
};

// Mit Vorzeichen in der config.ini (WeltAus liest sie so).
inline bool MitVorzeichen(const Kenngroessenart& a) { return a.untergrenze < 0.0; }

const Kenngroessenart& Art(Kenngroesse k);
inline const Kenngroessenart& Art(int k) { return Art(static_cast<Kenngroesse>(k)); }

// Der Parametervektor des Fits: gleitreibung als Vielfaches der Rollreibung
// (genau die bestimmbare Größe), die Stoßzahlen und Anteile wie in der Welt,
// bande_reibung als μ, an der Obergrenze unbegrenzt (in der Welt und der
// config.ini 0), staerke_faktor als Faktor, richtung_versatz in Grad.
using Kenngroessen = std::array<double, kAnzahlKenngroessen>;

Kenngroessen AusWelt(const Welt& w);
// Die Welt mit den Werten von k; was nicht angepasst wird (Rollreibung,
// Modell, Bandengesetz, k aus [physik]), kommt aus basis.
Welt InWelt(const Kenngroessen& k, const Welt& basis);

// Der Wert in den Einheiten der config.ini (Hundertstel, richtung_versatz in
// Hundertstel Grad). g ist [physik] g (9.81): die Verzögerungen der Welt
// stehen in der Datei ohne g. rollreibung: der festgehaltene Wert, ebenso.
double InHundertstel(Kenngroesse k, double wert, const Welt& basis, double g);
double RollreibungInHundertstel(const Welt& w, double g);
// Wie InHundertstel, aber für einen Wert, nicht eine Unsicherheit: eine
// Bandenreibung an der Obergrenze ist unbegrenzt, in der Datei 0.
double Dateiwert(Kenngroesse k, double wert, const Welt& basis, double g);

// Die gleichwertige Welt mit der Rollverzögerung aRollen (λ = aRollen / w.aRollen):
// Gleiten mal λ, Stärkefaktor mal √λ, bande_abfall durch √λ. Jeder Stoß endet
// in ihr mit denselben Lagen, nur schneller oder langsamer.
Welt MitRollverzoegerung(const Welt& w, double aRollen);
