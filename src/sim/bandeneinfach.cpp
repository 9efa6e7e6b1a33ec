#include "sim/bandeneinfach.h"

#include <algorithm>

void AbprallEinfach(V2& geschwindigkeit, V2& drall, V2 n, const Welt& w) {
    const double vn = Skalar(geschwindigkeit, n);
    const V2 vt = geschwindigkeit - n * vn;
    const double sn = Skalar(drall, n);
    double eNormal = w.eNormal, eTangential = w.eTangential, drallAnteil = w.bandeDrall;
    // Ohne das Winkelgesetz rechnet die Bande genau wie vor ihm, Bit für Bit.
    const bool winkelgesetz = HatWinkelgesetz(w);
    double gleiten = 0.0, zuSinus = 0.0;
    if (winkelgesetz) {
        const double betrag = Betrag(geschwindigkeit);  // > 0, weil vn < 0
        const double flach = 1.0 + vn / betrag;          // 1 − cos h
        eNormal = std::clamp(eNormal + w.bandeNormalFlach * flach, 0.0, 1.0);
        eTangential = std::clamp(eTangential + w.bandeTangentialFlach * flach, 0.0, 1.0);
        drallAnteil += w.bandeDrallFlach * flach;
        gleiten = sn - vn;
        zuSinus = 1.0 / betrag;  // vt · zuSinus ist sin h, längs der Bande gerichtet
    }
    // Ein harter Anschlag federt weniger zurück als ein sanfter (auf Wunsch).
    const double eN = w.bandeAbfall > 0.0 ? eNormal / (1.0 + w.bandeAbfall * -vn) : eNormal;
    // Längs der Bande bremst mit bandeReibung nur, was die Reibung hergibt;
    // Lauf und Drall längs behalten denselben Anteil.
    double anteil = eTangential;
    if (w.bandeReibung > 0.0) {
        const double laengs = Betrag(vt);
        const double verlust = std::min((1.0 - eTangential) * laengs, w.bandeReibung * (1.0 + eN) * -vn);
        anteil = laengs > 0.0 ? 1.0 - verlust / laengs : eTangential;
    }
    geschwindigkeit = vt * anteil - n * (eN * vn);
    // Die Bande drückt quer zu sich, in der Höhe ihrer Nase: das ändert nur
    // den Drall um die Achse längs der Bande, der die Kugel hineintrug. Von ihm
    // bleibt nur bandeDrall (umgekehrt wie die Geschwindigkeit), der Drall
    // längs der Bande geht mit. Eine rollende Kugel verlässt die Bande also
    // gleitend, krümmt sich weiter von der Normalen weg und verliert Fahrt,
    // bis sie wieder rollt. Mit bandeDrall = 1 rollt sie weiter wie zuvor.
    drall = (drall - n * sn) * anteil - n * ((drallAnteil * eN) * sn);
    if (winkelgesetz && gleiten != 0.0) {
        geschwindigkeit = geschwindigkeit + n * (w.bandeGleitenNormal * gleiten);
        drall = drall + n * (w.bandeGleitenDrall * gleiten) + vt * (w.bandeGleitenLaengs * gleiten * zuSinus);
    }
}
