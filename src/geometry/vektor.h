// Vektor: drei float-Komponenten und die neun freien Funktionen darauf.
// Alles inline: der Planer ruft sie zehntausendfach pro Suche auf.
// Jedes Zwischenergebnis wird als float gespeichert; doppelte Genauigkeit nur
// dort, wo der arccos und die Umrechnung in Grad es erlauben.
#pragma once

#include <cmath>

struct Vektor {
    float x;
    float y;
    float z;
};

inline float Skalarprodukt(Vektor a, Vektor b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

inline float Laenge(Vektor v) {
    float q = v.x * v.x + v.y * v.y + v.z * v.z;
    return std::sqrt(q);
}

inline Vektor Skaliere(Vektor v, float s) {
    return {v.x * s, v.y * s, v.z * s};
}

// Kein Schutz gegen den Nullvektor: wer normiert, muss wissen, dass er darf.
inline Vektor Normiere(Vektor v) {
    float l = Laenge(v);
    return {v.x / l, v.y / l, v.z / l};
}

inline Vektor Addiere(Vektor a, Vektor b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}

inline Vektor Subtrahiere(Vektor a, Vektor b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

// Winkel in Grad. Ein Skalarprodukt von genau 0 gibt 90, auch für den
// Nullvektor. Der Kosinus wird absichtlich nicht auf [-1, 1] begrenzt: rundet
// er darüber hinaus, ist das Ergebnis NaN, und die Winkelprüfung verwirft es.
inline float Winkel(Vektor a, Vektor b) {
    float s = Skalarprodukt(a, b);
    if (s == 0.0f) return 90.0f;
    float n = Laenge(a) * Laenge(b);
    float c = s / n;
    return static_cast<float>(std::acos(static_cast<double>(c)) * 57.29577951308232);
}

// Abstand des Punkts q von der unbegrenzten Geraden durch p mit Richtung d.
// Ein negativer Radikand (Rundung) gibt NaN, ein Nullvektor d ebenso.
// Dasselbe mit schon normierter Richtung u: wer viele Punkte gegen eine Gerade
// prüft, normiert einmal und bekommt bitgleiche Ergebnisse.
inline float AbstandZurEinheitsgeraden(Vektor p, Vektor u, Vektor q) {
    Vektor w = Subtrahiere(q, p);
    float ww = Skalarprodukt(w, w);
    float wu = Skalarprodukt(w, u);
    float radikand = ww - wu * wu;
    return std::sqrt(radikand);
}

inline float AbstandZurGeraden(Vektor p, Vektor d, Vektor q) {
    return AbstandZurEinheitsgeraden(p, Normiere(d), q);
}

inline float Abstand(Vektor a, Vektor b) {
    return Laenge(Subtrahiere(b, a));
}
