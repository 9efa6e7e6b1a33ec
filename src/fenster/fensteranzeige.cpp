#include "fenster/fensteranzeige.h"

#include <QLabel>
#include <QMessageBox>
#include <QMetaObject>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QThread>
#include <memory>
#include <mutex>

#include "fenster/befehle.h"
#include "fenster/bildfenster.h"
#include "fenster/hauptfenster.h"
#include "fenster/tischbild.h"
#include "model/konfiguration.h"

namespace {

Bote* bote = nullptr;

// Qt reicht den Auftrag über eigene Futex-Sperren weiter, die der Thread-
// Sanitizer nicht sieht. Je ein leerer Abschnitt unter diesem Mutex vor und
// nach der Arbeit macht die Übergabe für ihn sichtbar; er kostet nichts.
std::mutex uebergabe;

void Uebergabe() { std::lock_guard sperre(uebergabe); }

QString Text(std::string_view t) { return QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size())); }

QMessageBox::Icon Symbolbild(Symbol s) {
    switch (s) {
        case Symbol::Fehler:
            return QMessageBox::Critical;
        case Symbol::Information:
            return QMessageBox::Information;
        case Symbol::Keins:
            break;
    }
    return QMessageBox::NoIcon;
}

QPlainTextEdit* LogFeld() {
    return Hauptfenster ? qobject_cast<QPlainTextEdit*>(Hauptfenster->Element(FeldLog)) : nullptr;
}

}  // namespace

void Bote::fuehreAus(void* arbeit) {
    Uebergabe();
    (*static_cast<const std::function<void()>*>(arbeit))();
    Uebergabe();
}

void AufFensterThread(const std::function<void()>& arbeit) {
    if (!bote || QThread::currentThread() == bote->thread()) {
        arbeit();
        return;
    }
    Uebergabe();
    QMetaObject::invokeMethod(bote, "fuehreAus", Qt::BlockingQueuedConnection,
                              Q_ARG(void*, const_cast<std::function<void()>*>(&arbeit)));
    Uebergabe();
}

Anzeige FensterAnzeige() {
    if (!bote) bote = new Bote;  // lebt bis zum Prozessende
    Anzeige a;
    a.logEinfuegen = [](std::string_view t) {
        AufFensterThread([t] {
            QPlainTextEdit* log = LogFeld();
            if (!log) return;
            // "\r\n" ist im Log ein Zeilenwechsel.
            QString text = Text(t);
            text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
            QTextCursor marke = log->textCursor();
            marke.insertText(text);  // ersetzt eine Auswahl
            log->setTextCursor(marke);
        });
    };
    a.logLeeren = [] {
        AufFensterThread([] {
            if (QPlainTextEdit* log = LogFeld()) log->clear();
        });
    };
    a.feldSetzen = [](int feld, std::string_view t) {
        AufFensterThread([feld, t] {
            if (!Hauptfenster) return;
            if (auto* l = qobject_cast<QLabel*>(Hauptfenster->Element(feld))) l->setText(Text(t));
        });
    };
    a.linieZeichnen = [](Linie linie) {
        AufFensterThread([linie] {
            if (Hauptfenster) Hauptfenster->Tischansicht()->NeueLinie(linie);
        });
    };
    a.kugelnUebernommen = [] {
        AufFensterThread([] {
            if (Hauptfenster) Hauptfenster->Tischansicht()->NeuZeichnenMitLoeschen();
        });
    };
    a.meldung = [](std::string_view titel, std::string_view text, Symbol symbol) {
        AufFensterThread([titel, text, symbol] {
            QMessageBox box(Symbolbild(symbol), Text(titel), Text(text), QMessageBox::Ok);
            box.exec();
        });
    };
    // Gerechnet wird im Thread der Suche (ein Stoß dauert Mikrosekunden), die
    // Ansicht bekommt das Ergebnis im Fenster-Thread. Die Physik wird wie für
    // die Stoßstärke bei jedem Stoß neu gelesen.
    a.stossGespielt = [](const Spielstand& stand, Vektor stoss) {
        if (!LaufwegeAn) return;
        auto vorschau = std::make_unique<Stossvorschau>();
        const Welt welt = LadeWelt(Konfigurationsdatei(), Modell::P);
        if (!Simuliere(BaueTischgeometrie(tisch), welt, stand, stoss, vorschau->ergebnis, &vorschau->wege)) return;
        std::unique_ptr<const Stossvorschau> fertig = std::move(vorschau);
        AufFensterThread([&fertig] {
            if (Hauptfenster && LaufwegeAn) Hauptfenster->Tischansicht()->NeueVorschau(std::move(fertig));
        });
    };
    return a;
}
