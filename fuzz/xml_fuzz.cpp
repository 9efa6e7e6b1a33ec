// Beliebige Bytes als Tischstand-Dokument: der Leser darf weder abstürzen noch
// undefiniert rechnen, und was er annimmt, muss endlich sein.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "net/xml_lesen.h"

namespace {

// Vorgabetisch ohne config.ini: nur die Maße, die der Leser braucht.
bool Vorbereiten() {
    tk.tisch.breite = 107.0f;
    tk.tisch.hoehe = 55.5f;
    tk.tisch.radius = 1.75f;
    SetzeXmlFehlerausgabe(false);  // sonst misst der Fuzzer vor allem die Ausgabe
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    static const bool vorbereitet = Vorbereiten();
    (void)vorbereitet;
    const std::string_view text(reinterpret_cast<const char*>(daten), groesse);

    Spielstand stand{};
    if (LeseSpielstandXML(tk, text, stand)) {
        for (const Kugel& k : stand.kugeln) {
            if (!std::isfinite(k.x) || !std::isfinite(k.y) || k.z != 0.0f || k.inloch > 1) __builtin_trap();
        }
    }
    NetzStatus status;
    if (LeseNetzStatusXML(status, text) && status.ipAdresse.size() > groesse) __builtin_trap();
    return 0;
}
