#include "fenster/fensteranzeige.h"

#include <QLabel>
#include <QMessageBox>
#include <QMetaObject>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QThread>
#include <atomic>
#include <memory>
#include <mutex>

#include "fenster/befehle.h"
#include "fenster/bildfenster.h"
#include "fenster/hauptfenster.h"
#include "fenster/tischbild.h"
#include "spieler/spielerkontext.h"

namespace {

Bote* bote = nullptr;

// Meldungen anderer Threads, die offen sind oder gleich erscheinen.
std::atomic<int> offeneMeldungen = 0;

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

// Wie QMessageBox::exec (ohne Eltern, anwendungsmodal), aber der Aufrufer
// geht sofort weiter. Nur im Fenster-Thread.
void ZeigeOhneWarten(const QString& titel, const QString& text, Symbol symbol) {
    auto* box = new QMessageBox(Symbolbild(symbol), titel, text, QMessageBox::Ok);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    QObject::connect(box, &QDialog::finished, [] { --offeneMeldungen; });  // beim Schließen, nicht erst beim Abbau
    box->show();
}

// Aus einem anderen Thread: erscheint, wenn ein Platz frei ist, sonst nur ins Log.
void MeldeAusAnderemThread(const Anzeige& a, std::string_view titel, std::string_view text, Symbol symbol) {
    int offen = offeneMeldungen.load();
    do {
        if (offen >= kOffeneMeldungen) {
            SchreibeLog(a, "%s: %s\r\n", std::string(titel).c_str(), std::string(text).c_str());
            return;
        }
    } while (!offeneMeldungen.compare_exchange_weak(offen, offen + 1));
    SpaeterAufFensterThread([t = Text(titel), x = Text(text), symbol] { ZeigeOhneWarten(t, x, symbol); });
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

void SpaeterAufFensterThread(std::function<void()> arbeit) {
    if (!bote) {
        arbeit();  // ohne Fenster gibt es keinen anderen Thread dafür
        return;
    }
    // Die Sperre über das Einstellen hinweg: so sieht der Thread-Sanitizer,
    // dass alles, was arbeit mitnimmt, vor ihrem Lauf geschrieben war.
    std::lock_guard sperre(uebergabe);
    QMetaObject::invokeMethod(
        bote,
        [arbeit = std::move(arbeit)] {
            Uebergabe();
            arbeit();
        },
        Qt::QueuedConnection);
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
    a.kugelnUebernommen = [](const Spielstand& empfangen) {
        AufFensterThread([&empfangen] {
            if (!Hauptfenster) return;
            Hauptfenster->UebernimmKugeln(empfangen);
            Hauptfenster->Tischansicht()->NeuZeichnenMitLoeschen();
        });
    };
    a.meldung = [log = a.logEinfuegen](std::string_view titel, std::string_view text, Symbol symbol) {
        // Im Fenster-Thread wie immer: er wartet, bis sie geschlossen ist.
        if (QThread::currentThread() == bote->thread()) {
            QMessageBox box(Symbolbild(symbol), Text(titel), Text(text), QMessageBox::Ok);
            box.exec();
            return;
        }
        Anzeige nurLog;
        nurLog.logEinfuegen = log;
        MeldeAusAnderemThread(nurLog, titel, text, symbol);
    };
    return a;
}

void ZeigeLaufwege(const Tischkontext& tk, const Spielstand& stand, Vektor stoss, const Planerkontext& pk) {
    // Gerechnet wird im Thread der Suche (ein Stoß dauert Mikrosekunden), die
    // Ansicht bekommt das Ergebnis im Fenster-Thread. Die Wege laufen in der
    // Welt, in der auch die robuste Wahl ihre Proben spielt ([planer] welt).
    if (!LaufwegeAn) return;
    auto vorschau = std::make_unique<Stossvorschau>();
    vorschau->modell = pk.einstellung.welt;
    if (!Simuliere(BaueTischgeometrie(tk), pk.welt, stand, stoss, vorschau->ergebnis, &vorschau->wege)) return;
    std::unique_ptr<const Stossvorschau> fertig = std::move(vorschau);
    AufFensterThread([&fertig] {
        if (Hauptfenster && LaufwegeAn) Hauptfenster->Tischansicht()->NeueVorschau(std::move(fertig));
    });
}
