#include "fehlerbild.h"

#include <QPainter>
#include <QString>

#include <cmath>
#include <cstdio>
#include <memory>
#include <mutex>
#include <vector>

#include "bericht.h"
#include "fenster/tischbild.h"
#include "planner/robuste_suche.h"
#include "planner/stoss_linien.h"
#include "planner/suche.h"

namespace {

constexpr int kZeile = 28;  // Höhe der Beschriftung unter dem Tisch

// Die geplanten Linien; ohne bekannten Kandidaten (über das Netz, oder ein
// Stoß aus der Rundumsuche) eine graue Linie in Stoßrichtung.
std::vector<Linie> Planlinien(const Fehlstoss& f) {
    std::vector<Linie> linien;
    if (f.antwort.mitStoss) linien = StossLinien(f.antwort.bester);
    if (linien.empty()) {
        const Kugel& w = f.zeile.vorher.kugeln[0];
        const double x = f.zeile.antwort[0], y = f.zeile.antwort[1], l = std::hypot(x, y);
        if (l > 0) {
            const float laenge = 25.0f;
            linien.push_back({static_cast<float>(w.x + x / l * laenge), static_cast<float>(w.y + y / l * laenge), w.x,
                              w.y, kGrau});
        }
    }
    return linien;
}

}  // namespace

Bildmaler FehlerbildMaler(const std::string& verzeichnis) {
    auto sperre = std::make_shared<std::mutex>();
    return [verzeichnis, sperre](const Fehlstoss& f) {
        std::lock_guard halt(*sperre);
        Spielstand anfang = f.zeile.vorher;
        anfang.kugeln[0].inloch = 0;
        const std::vector<Linie> linien = Planlinien(f);
        const QImage tisch = Tischbild(kFensteransicht, anfang, linien, &f.wege, &f.ergebnis);

        QImage bild(tisch.width(), tisch.height() + kZeile, QImage::Format_RGB32);
        bild.fill(Qt::white);
        QPainter p(&bild);
        p.drawImage(0, 0, tisch);
        p.setPen(Qt::black);
        p.setFont(Dialogschrift());
        char text[256];
        std::snprintf(text, sizeof text, "Tisch %u, Stoß %d: %s – %s, gespielt x = %.4f, y = %.4f", f.zeile.tisch,
                      f.zeile.stoss, Ursachentext(f.zeile.urteil.ursache),
                      !f.antwort.mitStoss                       ? "Stoß des Spielers"
                      : f.antwort.bester.art == kRichtungssuche ? "Richtungssuche"
                                                                : Artname(f.antwort.bester.art),
                      static_cast<double>(f.zeile.gespielt.x), static_cast<double>(f.zeile.gespielt.y));
        p.drawText(QRect(8, tisch.height(), bild.width() - 16, kZeile), Qt::AlignLeft | Qt::AlignVCenter,
                   QString::fromUtf8(text));
        p.end();
        char name[64];
        std::snprintf(name, sizeof name, "/tisch-%04u-stoss-%02d.png", f.zeile.tisch, f.zeile.stoss);
        bild.save(QString::fromStdString(verzeichnis + name), "PNG");
    };
}
