// Die Tischansicht (Steuerelement 1006): Banden, Taschennummern, Kugeln des
// Spielstands, die Linien des zuletzt geplanten Stoßes und auf Wunsch die
// Laufwege, die er in der Simulation nimmt; Kugeln lassen sich mit der linken
// Maustaste ziehen.
#pragma once

#include <QWidget>
#include <memory>
#include <vector>

#include "anzeige/anzeige.h"

// Nummer der gezogenen Kugel, −1 ohne. Nur im Fenster-Thread.
extern int GezogeneKugel;

struct Stossvorschau;  // fenster/tischbild.h

class BildFenster : public QWidget {
public:
    explicit BildFenster(QWidget* eltern);
    ~BildFenster() override;

    // Stoßlinien bleiben stehen, bis die Ansicht mit Löschen neu gezeichnet
    // wird. Beides nur im Fenster-Thread; andere Threads kommen über die Anzeige.
    void NeueLinie(const Linie& linie);
    // Die Laufwege ersetzen die vorigen und verschwinden wie die Linien.
    void NeueVorschau(std::unique_ptr<const Stossvorschau> vorschau);
    void LoescheVorschau();
    void NeuZeichnenMitLoeschen();
    const std::vector<Linie>& Linien() const { return linien_; }
    const Stossvorschau* Vorschau() const { return vorschau_.get(); }

protected:
    void paintEvent(QPaintEvent* ereignis) override;
    void mousePressEvent(QMouseEvent* ereignis) override;
    void mouseMoveEvent(QMouseEvent* ereignis) override;
    void mouseReleaseEvent(QMouseEvent* ereignis) override;

private:
    std::vector<Linie> linien_;
    std::unique_ptr<const Stossvorschau> vorschau_;
};

// Setzt Kugel i an den Tischpunkt unter dem Mauspunkt und zeichnet neu.
void VerschiebeKugel(int i, int px, int py, BildFenster& ansicht);
