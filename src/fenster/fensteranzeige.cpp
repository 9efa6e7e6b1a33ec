#include "fenster/fensteranzeige.h"

#include <QLabel>
#include <QMessageBox>
#include <QMetaObject>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QThread>
#include <atomic>
#include <condition_variable>
#include <deque>
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

// Aufträge anderer Threads stehen in einer eigenen Schlange unter einem
// std::mutex; Qt weckt den Fenster-Thread nur (ohne Argument). Qt reicht
// Argumente über eigene Futex-Sperren weiter, die der Thread-Sanitizer nicht
// sieht, und moc liest sie, bevor eine Sperre von uns greifen könnte.
struct Auftrag {
    std::function<void()> arbeit;
    bool* fertig = nullptr;  // nur wenn der Aufrufer wartet
};
std::mutex schlangeSperre;
std::condition_variable erledigt;
std::deque<Auftrag> schlange;

void StelleAn(Auftrag a) {
    {
        std::lock_guard sperre(schlangeSperre);
        schlange.push_back(std::move(a));
    }
    QMetaObject::invokeMethod(bote, "arbeite", Qt::QueuedConnection);
}

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

// Jeder Weckruf arbeitet ab, was ansteht; spätere Weckrufe finden dann
// nichts mehr. Vor dem Lauf herausgenommen, damit eine Meldung mit eigener
// Ereignisschleife die nächsten Aufträge nicht doppelt ausführt.
void Bote::arbeite() {
    for (;;) {
        Auftrag a;
        {
            std::lock_guard sperre(schlangeSperre);
            if (schlange.empty()) return;
            a = std::move(schlange.front());
            schlange.pop_front();
        }
        a.arbeit();
        if (a.fertig) {
            std::lock_guard sperre(schlangeSperre);
            *a.fertig = true;
            erledigt.notify_all();
        }
    }
}

void AufFensterThread(const std::function<void()>& arbeit) {
    if (!bote || QThread::currentThread() == bote->thread()) {
        arbeit();
        return;
    }
    bool fertig = false;
    StelleAn({[&arbeit] { arbeit(); }, &fertig});
    std::unique_lock sperre(schlangeSperre);
    erledigt.wait(sperre, [&] { return fertig; });
}

void SpaeterAufFensterThread(std::function<void()> arbeit) {
    if (!bote) {
        arbeit();  // ohne Fenster gibt es keinen anderen Thread dafür
        return;
    }
    StelleAn({std::move(arbeit), nullptr});
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
