// Das Programm als Prozess: Beenden über Escape, Schließfeld und Menü,
// --bildschirmfoto, und was ohne Bildschirm geschieht.
#include <QImage>
#include <QTemporaryDir>

#include "fenster_hilfen.h"

TEST(Programm, EscapeSchliessfeldUndMenueBeendenMitNull) {
    const std::string ich = QCoreApplication::applicationFilePath().toStdString();
    for (const char* wie : {"escape", "schliessen", "menue"}) {
        const Ergebnis e = MitFehlern({ich, "--kind", wie});
        EXPECT_EQ(e.rueckgabe, 0) << wie << ": " << e.ausgabe;
    }
}

TEST(Programm, BildschirmfotoZeigtTischKugelnUndStoss) {
    QTemporaryDir dir;
    const std::string datei = dir.filePath("fenster.png").toStdString();
    const Ergebnis e = OhneBildschirm({Bin("stosswerk"), "--bildschirmfoto", datei, "--gruppe", "2"});
    ASSERT_EQ(e.rueckgabe, 0) << e.ausgabe;
    const QImage bild = QImage(Q(datei)).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(bild.width(), 1017);
    EXPECT_GT(bild.height(), 710);  // dazu das Menü
    int bande = 0, objektweg = 0;
    for (int y = 0; y < bild.height(); ++y)
        for (int x = 0; x < bild.width(); ++x) {
            bande += bild.pixelColor(x, y) == QColor(50, 255, 50);
            objektweg += bild.pixelColor(x, y) == QColor(0, 0, 255);
        }
    EXPECT_GT(bande, 10000);
    EXPECT_GT(objektweg, 10);  // der geplante Stoß

    EXPECT_EQ(MitFehlern({Bin("stosswerk"), "--bildschirmfoto", dir.filePath("fehlt/x.png").toStdString()}).rueckgabe, 1);
    for (std::vector<std::string> a : {std::vector<std::string>{"--gruppe", "1"}, {"--bildschirmfoto", "x.png", "--gruppe", "3"},
                                       {"--ohne-fenster", "--bildschirmfoto", "x.png"}}) {
        a.insert(a.begin(), Bin("stosswerk"));
        EXPECT_EQ(OhneBildschirm(a).rueckgabe, 2) << a[1];
    }
}

TEST(Programm, OhneBildschirmEineDeutscheMeldungUndEins) {
    const Ergebnis ohne = OhneBildschirm({Bin("stosswerk")});
    EXPECT_EQ(ohne.rueckgabe, 1);
    EXPECT_NE(ohne.ausgabe.find("Kein Bildschirm gefunden"), std::string::npos) << ohne.ausgabe;
    EXPECT_NE(ohne.ausgabe.find("--ohne-fenster"), std::string::npos);
    // Die Plattform scheitert erst beim Start von Qt: kein Plugin, kein X-Server.
    for (const char* umgebung : {"QT_QPA_PLATFORM=gibtesnicht", "DISPLAY=:4711"}) {
        const Ergebnis e = OhneBildschirm({"/usr/bin/env", umgebung, Bin("stosswerk")});
        EXPECT_EQ(e.rueckgabe, 1) << umgebung << ": " << e.ausgabe;
        EXPECT_NE(e.ausgabe.find("Das Fenster kann nicht geöffnet werden"), std::string::npos) << e.ausgabe;
        EXPECT_NE(e.ausgabe.find("--ohne-fenster"), std::string::npos);
    }
}
