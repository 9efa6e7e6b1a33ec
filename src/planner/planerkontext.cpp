#include "planner/planerkontext.h"

Planerkontext PlanerkontextAus(const IniDatei& ini, const GelernterTisch* gelernt) {
    Planerkontext k;
    k.physik = PhysikAus(ini);
    k.radius = KugelradiusAus(ini);
    k.einstellung = PlanerAus(ini);
    const Planereinstellung& e = k.einstellung;
    if (!e.lernen) gelernt = nullptr;
    k.welt = gelernt && e.welt == Modell::R ? gelernt->welt : WeltAus(ini, e.welt);
    if (gelernt) {
        k.einstellung.rauschen = gelernt->rauschen;
        k.einstellung.klassenrauschen = gelernt->klassenrauschen;
    }
    return k;
}
