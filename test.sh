#!/usr/bin/env bash
# Baut und prüft alles: erst optimiert (mit dem Python-Gegenmodell des Planers
# unter CTest), dazu das Debian-Paket (ausgepackt, nicht installiert, mit
# lintian), dann mit Address- und UB-Sanitizer, dann die Nebenläufigkeitstests
# mit dem Thread-Sanitizer, dazu eine Minute Fuzzing des Dokumentlesers.
#
# Tests mit dem Label "netz" schalten das Netz ein und senden den Status an
# 255.255.255.255. Auf diesen Rechnern verließe das den Rechner: darum laufen
# sie nur in einem eigenen, privaten Netz-Namensraum, in dem der Broadcast auf
# dem Loopback bleibt.
set -euo pipefail
cd "$(dirname "$0")"
source tools/pakete.sh
installiere_fehlende "${GRUNDPAKETE[@]}" "${PRUEFPAKETE[@]}"
tools/pruefe_schichten.sh
# Ein Test läuft unter einem deutschen Desktop: die Locale muss es geben.
if ! locale -a 2>/dev/null | grep -qix 'de_DE.utf8'; then
    if [ "$(id -u)" -eq 0 ]; then localedef -i de_DE -f UTF-8 de_DE.UTF-8; else sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8; fi
fi

im_eigenen_netz() {
    unshare --net sh -c 'ip link set lo up && ip route add default dev lo && exec "$@"' sh "$@"
}

for preset in default sanitize; do
    echo "== $preset =="
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
    ctest --preset "$preset" -LE netz
    echo "== $preset: Netztests im eigenen Netz-Namensraum =="
    im_eigenen_netz ctest --preset "$preset" -L netz
    if [ "$preset" = default ]; then tools/pruefe_paket.sh; fi
done

echo "== tsan: Nebenläufigkeitstests im eigenen Netz-Namensraum =="
cmake --preset tsan >/dev/null
cmake --build --preset tsan
im_eigenen_netz ctest --preset tsan -L tsan

echo "== Fuzzing des Dokumentlesers (60 s) =="
CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DSTOSSWERK_FUZZ=ON -DSTOSSWERK_BENCH=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/fuzz --target xml_fuzz
build/fuzz/bin/xml_fuzz -max_total_time=60 -print_final_stats=0 build/fuzz/fuzz/korpus 2>&1 | tail -n 3
echo "Fuzzing: keine Funde"
