#include "model/umriss.h"

Umriss BaueUmriss(const Tisch& t) {
    const double W = t.breite, H = t.hoehe, BX = t.bande_x, BY = t.bande_y;
    const double R = W - BX, O = H - BY;
    return {
        {{BX, t.yc}, {BX, t.yb}, {t.xb, O}, {t.xc, O}, {t.xg, O}, {t.xh, O},
         {R, t.yb}, {R, t.yc}, {t.xh, BY}, {t.xg, BY}, {t.xb, BY}, {t.xc, BY}},
        {{0, t.yd}, {0, t.ya}, {t.xa, H}, {t.xd, H}, {t.xf, H}, {t.xi, H},
         {W, t.ya}, {W, t.yd}, {t.xi, 0}, {t.xf, 0}, {t.xa, 0}, {t.xd, 0}},
    };
}
