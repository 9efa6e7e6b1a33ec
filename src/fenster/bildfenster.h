// Die Tischansicht (Steuerelement 1006): Banden, Taschennummern, Kugeln des
// Spielstands und die Linien des zuletzt geplanten Stoßes; Kugeln lassen sich
// mit der linken Maustaste ziehen.
#pragma once

#include <QWidget>
#include <vector>

#include "anzeige/anzeige.h"

// Nummer der gezogenen Kugel, −1 ohne. Nur im Fenster-Thread.
extern int GezogeneKugel;

class BildFenster : public QWidget {
public:
    explicit BildFenster(QWidget* eltern);

    // Stoßlinien bleiben stehen, bis die Ansicht mit Löschen neu gezeichnet
    // wird. Beides nur im Fenster-Thread; andere Threads kommen über die Anzeige.
    void NeueLinie(const Linie& linie);
    void NeuZeichnenMitLoeschen();
    const std::vector<Linie>& Linien() const { return linien_; }

protected:
    void paintEvent(QPaintEvent* ereignis) override;
    void mousePressEvent(QMouseEvent* ereignis) override;
    void mouseMoveEvent(QMouseEvent* ereignis) override;
    void mouseReleaseEvent(QMouseEvent* ereignis) override;

private:
    std::vector<Linie> linien_;
};

// Setzt Kugel i an den Tischpunkt unter dem Mauspunkt und zeichnet neu.
void VerschiebeKugel(int i, int px, int py, BildFenster& ansicht);
