#include "planner/frist.h"

Frist StarteFrist(int millisekunden) {
    Frist f;
    f.begrenzt = millisekunden > 0;
    f.ende = std::chrono::steady_clock::now() + std::chrono::milliseconds(millisekunden);
    return f;
}

bool Abgelaufen(Frist& f) {
    if (!f.abgelaufen && f.begrenzt && std::chrono::steady_clock::now() >= f.ende) f.abgelaufen = true;
    return f.abgelaufen;
}
