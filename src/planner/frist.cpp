#include "planner/frist.h"

Frist StarteFrist(int millisekunden, std::int64_t stoesse) {
    Frist f;
    f.begrenzt = millisekunden > 0;
    f.ende = std::chrono::steady_clock::now() + std::chrono::milliseconds(millisekunden);
    f.stoesse = stoesse < 0 ? -1 : stoesse;
    return f;
}

bool Abgelaufen(Frist& f) {
    // Erst die Stöße: ohne Zeitgrenze fragt niemand die Uhr.
    if (!f.abgelaufen && (f.stoesse == 0 || (f.begrenzt && std::chrono::steady_clock::now() >= f.ende)))
        f.abgelaufen = true;
    return f.abgelaufen;
}

void ZaehleStoss(Frist& f) {
    ++f.gespielt;
    if (f.stoesse > 0) --f.stoesse;
}

bool StoesseVerbraucht(const Frist& f) { return f.stoesse == 0; }
