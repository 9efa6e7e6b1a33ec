// Beliebige Bytes als Tischstand-Dokument: der Leser darf weder abstürzen noch
// undefiniert rechnen, und was er annimmt, muss endlich sein.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "model/tischkontext.h"
#include "net/xml_lesen.h"

namespace {

// Vorgabetisch ohne config.ini: nur die Maße, die der Leser braucht.
Tischkontext Vorgabe() {
    Tisch t;
    t.breite = 107.0f;
    t.hoehe = 55.5f;
    t.radius = 1.75f;
    return BaueTischkontext(t);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    static const Tischkontext tk = Vorgabe();
    const std::string_view text(reinterpret_cast<const char*>(daten), groesse);

    Spielstand stand{};
    if (LeseSpielstandXML(tk, text, stand, false)) {  // ohne Meldungen: sonst misst der Fuzzer die Ausgabe
        for (const Kugel& k : stand.kugeln) {
            if (!std::isfinite(k.x) || !std::isfinite(k.y) || k.z != 0.0f || k.inloch > 1) __builtin_trap();
        }
    }
    NetzStatus status;
    if (LeseNetzStatusXML(status, text, false) && status.ipAdresse.size() > groesse) __builtin_trap();
    return 0;
}
