#include "spiel/spieler.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "planner/robuste_suche.h"

double AntwortZahl(const std::string& text) {
    double d = 0;
    std::from_chars(text.data(), text.data() + text.size(), d);
    return d;
}

Vektor AntwortStoss(double x, double y) {
    const auto alsFloat = [](double d) {
        constexpr float kUnendlich = std::numeric_limits<float>::infinity();
        if (std::isnan(d) || std::abs(d) <= std::numeric_limits<float>::max()) return static_cast<float>(d);
        return d > 0 ? kUnendlich : -kUnendlich;
    };
    return {alsFloat(x), alsFloat(y), 0.0f};
}

bool LadePlaner(const std::string& pfad, Wahl wahl, bool muss, LokalerPlaner& p) {
    auto ini = std::make_shared<IniDatei>();
    if (!LeseIniDatei(pfad, *ini) && muss) return false;
    p.kontext = PlanerkontextAus(*ini);
    Tisch t;
    TischAus(*ini, t);
    p.tisch = BaueTischkontext(t);
    p.robust = wahl == Wahl::robust || (wahl == Wahl::nachDatei && p.kontext.einstellung.modus == Planermodus::robust);
    p.ini = std::move(ini);
    return true;
}

void Bemesse(LokalerPlaner& p, int zeitgrenze) {
    Planereinstellung& e = p.kontext.einstellung;
    if (zeitgrenze < 0) {
        e = StossbudgetStattZeit(e);
        return;
    }
    e.zeitgrenze = zeitgrenze;
    e.stoesse = -1;
}

Planergebnis PlaneLokal(const LokalerPlaner& p, const Spielstand& stand) {
    return PlaneStoss(p.tisch, p.kontext, stand, p.robust ? Planerwahl::robust : Planerwahl::vorgegeben);
}
