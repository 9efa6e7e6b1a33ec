// Was die Tischansicht zeichnet, an einzelnen Pixeln ihres Bildes.
#include <QImage>

#include "fenster_hilfen.h"

class Bild : public Fenster {
protected:
    QImage Aufnahme() const { return Ansicht()->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    QColor Farbe(QPoint p) const { return Aufnahme().pixelColor(p); }
    int Zaehle(QColor farbe) const {
        const QImage b = Aufnahme();
        int n = 0;
        for (int y = 0; y < b.height(); ++y)
            for (int x = 0; x < b.width(); ++x) n += b.pixelColor(x, y) == farbe;
        return n;
    }
    Kasten KastenVon(int kugel) const {
        const Kugel k = Stand().kugeln[kugel];
        return Kugelkasten(Groesse(), k.x, k.y, k.radius);
    }
    static QPoint ObenInnen(const Kasten& k) { return {(k.links + k.rechts) / 2, k.oben + 2}; }
};

TEST_F(Bild, BandenNummernUndKugelnInIhrenFarben) {
    const QImage b = Aufnahme();
    ASSERT_EQ(b.size(), QSize(828, 439));
    EXPECT_EQ(b.pixelColor(300, 120), Qt::white);
    EXPECT_EQ(b.pixelColor(9, 220), QColor(50, 255, 50));  // linke Bande
    EXPECT_EQ(b.pixelColor(0, 220), Qt::black);            // ihr Umriss
    EXPECT_EQ(b.pixelColor(414, 10), Qt::white);           // die Mitteltasche ist eine Lücke
    for (const Kasten& k : Taschenbeschriftungen(Groesse(), Spieler().tisch.tisch.xe)) {
        int dunkel = 0;
        for (int y = k.oben; y < k.unten; ++y)
            for (int x = k.links; x < k.rechts; ++x) dunkel += b.pixelColor(x, y).lightness() < 100;
        EXPECT_GT(dunkel, 3) << "Taschennummer bei " << k.links << "," << k.oben;
    }

    // Kugel 8: die Ellipse füllt genau ihren Kasten (rechts und unten ausgeschlossen).
    const Kasten acht = KastenVon(8);
    const int y = (acht.oben + acht.unten) / 2;
    EXPECT_EQ(b.pixelColor(ObenInnen(acht)), Qt::black);
    EXPECT_EQ(b.pixelColor(acht.links - 1, y), Qt::white);
    EXPECT_EQ(b.pixelColor(acht.links, y), Qt::black);
    EXPECT_EQ(b.pixelColor(acht.rechts - 1, y), Qt::black);
    EXPECT_EQ(b.pixelColor(acht.rechts, y), Qt::white);
    // Die Weiße: schwarzer Umriss, innen weiß und ohne Nummer.
    const Kasten weiss = KastenVon(0), innen = Eingezogen(weiss, 5);
    EXPECT_EQ(b.pixelColor(weiss.links, (weiss.oben + weiss.unten) / 2), Qt::black);
    for (int yy = innen.oben; yy < innen.unten; ++yy)
        for (int x = innen.links; x < innen.rechts; ++x) ASSERT_EQ(b.pixelColor(x, yy), Qt::white);
    // Kugel 9: gelber Ring, Umriss der hellen Mitte beim Einzug s = 4.
    const Kasten neun = KastenVon(9);
    const int y9 = (neun.oben + neun.unten) / 2;
    EXPECT_EQ(b.pixelColor(neun.links + 2, y9), QColor(255, 255, 0));
    EXPECT_EQ(b.pixelColor(neun.links + 4, y9), Qt::black);
    EXPECT_EQ(b.pixelColor(neun.links + 6, y9), QColor(232, 232, 232));
    // Zahlen: hell auf den vollen, schwarz auf den halben (geglättet, also nicht jedes Pixel genau).
    auto hat = [&](const Kasten& k, auto passt) {
        for (int yy = k.oben + 6; yy < k.unten - 6; ++yy)
            for (int x = k.links + 6; x < k.rechts - 6; ++x)
                if (passt(b.pixelColor(x, yy))) return true;
        return false;
    };
    EXPECT_TRUE(hat(acht, [](QColor c) { return c.red() > 180 && c.green() > 180 && c.blue() > 180; }));
    EXPECT_TRUE(hat(neun, [](QColor c) { return c.lightness() < 60; }));
}

TEST_F(Bild, HoehereNummerObenEingelochteFehlen) {
    const Kugel drei = Stand().kugeln[3];
    Spielstand s = Stand();
    for (int i : {10, 13}) {
        s.kugeln[i].x = drei.x;
        s.kugeln[i].y = drei.y;
    }
    SetzeFensterstand(s);
    const QPoint ring = ObenInnen(KastenVon(3));
    const QColor oben[] = {QColor(255, 140, 0), QColor(0, 0, 205), QColor(255, 0, 0), Qt::white};
    const int einlochen[] = {13, 10, 3};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Farbe(ring), oben[i]) << i;
        if (i < 3) {
            s.kugeln[einlochen[i]].inloch = 1;
            SetzeFensterstand(s);
        }
    }
}

TEST_F(Bild, StosslinienBleibenBisZumLoeschen) {
    const QColor objektweg(0, 0, 255);
    EXPECT_EQ(Zaehle(objektweg), 0);
    Klicke(BefehlStart);
    const Stoss bester = SucheStill(Stand()).bester;
    ASSERT_EQ(bester.art, WeisseKugelLoch);
    EXPECT_GT(Zaehle(objektweg), 10);
    const Punkt w = TischZuPixel(Groesse(), bester.weiss.x, bester.weiss.y);
    EXPECT_EQ(Farbe({w.x, w.y}), QColor(255, 0, 0));  // der Weg der Weißen beginnt an ihr
    Ansicht()->update();  // ohne Löschen
    EXPECT_GT(Zaehle(objektweg), 10);
    Druecke(QPoint(300, 120));
    Loslassen(QPoint(300, 120));
    EXPECT_EQ(Zaehle(objektweg), 0);
    Ansicht()->NeueLinie({10, 10, 90, 40, kGrau});  // der unsichere Stoß
    EXPECT_GT(Zaehle(QColor(192, 192, 192)), 10);
}
