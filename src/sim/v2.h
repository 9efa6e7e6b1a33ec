// Zweidimensionale Vektoren in double für die Simulation. Der Planer rechnet
// in float (Vektor); die Simulation braucht die Genauigkeit, weil sie Zeiten
// aus Polynomen zieht und Kugeln nach Hunderten Ereignissen nicht ineinander
// rutschen dürfen.
#pragma once

#include <cmath>

struct V2 {
    double x;
    double y;
};

inline V2 operator+(V2 a, V2 b) { return {a.x + b.x, a.y + b.y}; }
inline V2 operator-(V2 a, V2 b) { return {a.x - b.x, a.y - b.y}; }
inline V2 operator-(V2 a) { return {-a.x, -a.y}; }
inline V2 operator*(V2 a, double s) { return {a.x * s, a.y * s}; }
inline V2 operator*(double s, V2 a) { return {a.x * s, a.y * s}; }
inline bool operator==(V2 a, V2 b) { return a.x == b.x && a.y == b.y; }

inline double Skalar(V2 a, V2 b) { return a.x * b.x + a.y * b.y; }
// z-Komponente des Kreuzprodukts: 0, wenn a und b parallel liegen.
inline double Kreuz(V2 a, V2 b) { return a.x * b.y - a.y * b.x; }
inline double Quadrat(V2 a) { return Skalar(a, a); }
inline double Betrag(V2 a) { return std::sqrt(Quadrat(a)); }
// Der Nullvektor bleibt null: eine ruhende Kugel hat keine Richtung.
inline V2 Einheit(V2 a) {
    const double b = Betrag(a);
    return b > 0.0 ? a * (1.0 / b) : V2{0.0, 0.0};
}
// Um 90° gegen den Uhrzeigersinn gedreht.
inline V2 Senkrecht(V2 a) { return {-a.y, a.x}; }
