// Qt starten, wie jedes Programm es braucht: eine scheiternde Plattform wird
// eine deutsche Meldung mit Rückgabewert statt eines Absturzes, auf Wunsch ohne
// Bildschirm (offscreen), und danach wieder das C-Locale für Zahlen: Qt
// übernimmt die Locale des Desktops, und ein deutscher Desktop darf kein
// Byte einer Ausgabe ändern (0,5 statt 0.5).
#pragma once

#include <QGuiApplication>

#include <memory>

struct Qtstart {
    const char* programm;      // für die Meldung: "programm: …"
    const char* fehlerformat;  // mit einem %s für Qts Grund
    int rueckgabe;             // so endet das Programm, wenn Qt nicht startet
    bool ohneBildschirm;       // offscreen, wenn QT_QPA_PLATFORM nichts anderes sagt
    bool warnungen;            // Qts Warnungen auf die Fehlerausgabe (sonst verworfen)
};

// Erzeugt die Anwendung mit neu (QApplication für das Fenster, sonst eine
// QGuiApplication). Der Aufrufer hält sie, solange er malt; erst ihr Abbau
// gibt alles frei, was Qt an Schriften hält (sonst meldet der Leak-Sanitizer).
using Qtanwendung = QGuiApplication* (*)(int& argc, char** argv);
std::unique_ptr<QGuiApplication> StarteQt(const Qtstart& s, Qtanwendung neu = nullptr);
