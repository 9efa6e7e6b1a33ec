#include "fehlerbild.h"

#include <QPainter>
#include <QString>

#include <cmath>
#include <cstdio>
#include <memory>
#include <mutex>
#include <vector>

#include "bericht.h"
#include "partieausgabe.h"
#include "fenster/tischbild.h"
#include "planner/robuste_suche.h"
#include "planner/stoss_linien.h"
#include "planner/suche.h"

namespace {

constexpr int kZeile = 28;  // Höhe der Beschriftung unter dem Tisch

// Die geplanten Linien; ohne bekannten Kandidaten (über das Netz, oder ein
// Stoß aus der Rundumsuche) eine graue Linie in Stoßrichtung.
std::vector<Linie> Planlinien(bool mitStoss, const Stoss& bester, const Spielstand& vorher, const double antwort[2]) {
    std::vector<Linie> linien;
    if (mitStoss) linien = StossLinien(bester);
    if (linien.empty()) {
        const Kugel& w = vorher.kugeln[0];
        const double x = antwort[0], y = antwort[1], l = std::hypot(x, y);
        if (l > 0) {
            const float laenge = 25.0f;
            linien.push_back({static_cast<float>(w.x + x / l * laenge), static_cast<float>(w.y + y / l * laenge), w.x,
                              w.y, kGrau});
        }
    }
    return linien;
}

const char* Stossname(bool mitStoss, const Stoss& bester) {
    return !mitStoss                       ? "Stoß des Spielers"
           : bester.art == kRichtungssuche ? "Richtungssuche"
                                           : Artname(bester.art);
}

// Der Tisch vor dem Stoß mit Linien und Laufwegen, darunter eine Zeile Text.
void Male(const Spielstand& vorher, const std::vector<Linie>& linien, const Laufwege& wege, const Simergebnis& e,
          const char* text, const std::string& pfad, Bildfehler& fehler) {
    Spielstand anfang = vorher;
    anfang.kugeln[0].inloch = 0;
    // Der Ersatztisch spielt immer auf dem Vorgabetisch.
    const Tischkontext tk = VorgabeKontext();
    const QImage tisch = Tischbild(tk, AnsichtVon(tk.tisch, kFensterBreite, kFensterHoehe), anfang, linien, &wege, &e);
    QImage bild(tisch.width(), tisch.height() + kZeile, QImage::Format_RGB32);
    bild.fill(Qt::white);
    QPainter p(&bild);
    p.drawImage(0, 0, tisch);
    p.setPen(Qt::black);
    p.setFont(Dialogschrift());
    p.drawText(QRect(8, tisch.height(), bild.width() - 16, kZeile), Qt::AlignLeft | Qt::AlignVCenter,
               QString::fromUtf8(text));
    p.end();
    if (bild.save(QString::fromStdString(pfad), "PNG")) return;
    std::lock_guard halt(fehler.sperre);
    if (fehler.pfad.empty()) fehler.pfad = pfad;
}

// Was der Verlierer mit diesem Stoß falsch machte.
const char* Partieursache(const Partiestoss& s) {
    if (s.spruch.niederlage == Niederlage::schwarze_zu_frueh) return "Schwarze zu früh";
    if (s.spruch.niederlage == Niederlage::schwarze_mit_foul) return "Schwarze mit Foul";
    if (s.spruch.foul != Partiefoul::keins) return Partiefoultext(s.spruch.foul);
    return s.sicherheit ? "Sicherheitsstoß, danach spielte der Gegner aus" : "keine eigene Kugel, danach spielte der Gegner aus";
}

}  // namespace

Bildmaler FehlerbildMaler(const std::string& verzeichnis, std::shared_ptr<Bildfehler> fehler) {
    auto sperre = std::make_shared<std::mutex>();
    return [verzeichnis, sperre, fehler](const Fehlstoss& f) {
        std::lock_guard halt(*sperre);
        char text[256];
        std::snprintf(text, sizeof text, "Tisch %u, Stoß %d: %s – %s, gespielt x = %.4f, y = %.4f", f.zeile.tisch,
                      f.zeile.stoss, Ursachentext(f.zeile.urteil.ursache),
                      Stossname(f.antwort.mitStoss, f.antwort.bester), static_cast<double>(f.zeile.gespielt.x),
                      static_cast<double>(f.zeile.gespielt.y));
        char name[64];
        std::snprintf(name, sizeof name, "/tisch-%04u-stoss-%02d.png", f.zeile.tisch, f.zeile.stoss);
        Male(f.zeile.vorher, Planlinien(f.antwort.mitStoss, f.antwort.bester, f.zeile.vorher, f.zeile.antwort), f.wege,
             f.ergebnis, text, verzeichnis + name, *fehler);
    };
}

Partiebildmaler PartiebildMaler(const std::string& verzeichnis, std::shared_ptr<Bildfehler> fehler) {
    return [verzeichnis, fehler](const Partie& p, const Partiestoss& s, const Simergebnis& e, const Laufwege& wege) {
        char text[256];
        std::snprintf(text, sizeof text, "Partie %u (Gestell %u), Stoß %d, %s verliert: %s – %s, gespielt x = %.4f, y = %.4f",
                      p.nummer, p.gestell, s.stoss, s.schuetze == 0 ? "A" : "B", Partieursache(s),
                      Stossname(s.mitStoss, s.bester), static_cast<double>(s.gespielt.x),
                      static_cast<double>(s.gespielt.y));
        char name[64];
        std::snprintf(name, sizeof name, "/partie-%06u-stoss-%03d.png", p.nummer, s.stoss);
        Male(s.vorher, Planlinien(s.mitStoss, s.bester, s.vorher, s.antwort), wege, e, text, verzeichnis + name,
             *fehler);
    };
}
