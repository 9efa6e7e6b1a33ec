#!/usr/bin/env bash
# Baut und prüft alles: erst optimiert, dann mit Address- und UB-Sanitizer.
set -euo pipefail
cd "$(dirname "$0")"
source tools/pakete.sh
installiere_fehlende "${GRUNDPAKETE[@]}"

for preset in default sanitize; do
    echo "== $preset =="
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
    ctest --preset "$preset"
done
