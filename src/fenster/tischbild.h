// Das Bild des Tisches mit QPainter, ohne Fenster: Banden und Taschennummern,
// Kugeln eines Spielstands, Stoßlinien und die Laufwege eines simulierten
// Stoßes. Die Tischansicht malt damit, Programme ohne Fenster schreiben damit
// ein PNG. Datensätze hinein, Pixel heraus.
#pragma once

#include <QImage>
#include <QPainter>
#include <span>

#include "anzeige/anzeige.h"
#include "anzeige/bildgeometrie.h"
#include "sim/simulation.h"

// Ein simulierter Stoß zum Zeichnen.
struct Stossvorschau {
    Laufwege wege;
    Simergebnis ergebnis;
    Modell modell = Modell::P;  // die Welt, in der er lief
};

// Die Größe der Tischansicht im Fenster, in Pixeln.
constexpr int kFensterBreite = 828, kFensterHoehe = 439;

// Banden (grün, schwarzer Umriss) und die Taschennummern 1..6.
void ZeichneTisch(QPainter& p, const Ansicht& a, const Tischkontext& tk);
// Die Kugeln 0..15, höhere Nummern obenauf; eingelochte fehlen.
void ZeichneKugeln(QPainter& p, const Ansicht& a, const Spielstand& s);
// Durchgezogene Linien von einem Pixel in ihrer Farbe.
void ZeichneLinien(QPainter& p, const Ansicht& a, std::span<const Linie> linien);
// Die Wege aller Kugeln, die sich bewegt haben: gestrichelt in der Farbe der
// Kugel (die Weiße dunkelgrau, sonst sähe man sie nicht); am Ende ein
// gepunkteter Kreis in Kugelgröße, wo sie liegen bleibt, oder ein Kreis mit
// Kreuz, wo sie in eine Tasche fiel.
// radius: der des Tisches, für die Kreise am Ende.
void ZeichneLaufwege(QPainter& p, const Ansicht& a, const Laufwege& wege, const Simergebnis& e, float radius);

// "Laufwege in Welt P" oder "… R" klein oben links auf dem Tuch: wer die Wege
// sieht, soll wissen, welche Physik sie rechnet.
void ZeichneWeltname(QPainter& p, const Ansicht& a, const Tisch& tisch, Modell modell);

// Die Farbe, in der der Weg von Kugel i gezeichnet wird.
QColor Wegfarbe(int i);

// Die Schrift des Dialogs, auch der Zahlen im Tischbild: schmal, 10 Pixel.
QFont Dialogschrift();

// Das ganze Bild: weißer Grund, Tisch, die Kugeln von start, Linien, Laufwege
// (ohne wege oder ergebnis keine). Braucht eine QGuiApplication (die Schrift).
QImage Tischbild(const Tischkontext& tk, const Ansicht& a, const Spielstand& start, std::span<const Linie> linien,
                 const Laufwege* wege, const Simergebnis* ergebnis);
