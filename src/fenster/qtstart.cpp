#include "fenster/qtstart.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>

namespace {

Qtstart start{};

void Ausgabe(QtMsgType art, const QMessageLogContext& ort, const QString& text) {
    if (art == QtFatalMsg) {
        std::fprintf(stderr, "%s: ", start.programm);
        std::fprintf(stderr, start.fehlerformat, text.toLocal8Bit().constData());
        std::fputc('\n', stderr);
        std::fflush(stderr);
        std::_Exit(start.rueckgabe);
    }
    if (start.warnungen) std::fprintf(stderr, "%s\n", qFormatLogMessage(art, ort, text).toLocal8Bit().constData());
}

QGuiApplication* NeueGuiAnwendung(int& argc, char** argv) { return new QGuiApplication(argc, argv); }

}  // namespace

std::unique_ptr<QGuiApplication> StarteQt(const Qtstart& s, Qtanwendung neu) {
    start = s;
    if (s.ohneBildschirm) setenv("QT_QPA_PLATFORM", "offscreen", 0);  // eine gesetzte Wahl gilt
    qInstallMessageHandler(Ausgabe);
    static int argc = 1;
    static char* argv[] = {const_cast<char*>(s.programm), nullptr};
    std::unique_ptr<QGuiApplication> anwendung((neu ? neu : NeueGuiAnwendung)(argc, argv));
    std::setlocale(LC_NUMERIC, "C");
    return anwendung;
}
