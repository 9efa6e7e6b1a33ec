#!/usr/bin/env bash
# Baut Stosswerk und startet es: mit Bildschirm das Fenster, sonst plant
# stosswerk-plan einen Stoß auf dem Vorgabetisch.
set -euo pipefail
cd "$(dirname "$0")"
source tools/pakete.sh
installiere_fehlende "${GRUNDPAKETE[@]}"
cmake --preset default >/dev/null
cmake --build --preset default >/dev/null
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec build/default/bin/stosswerk "$@"
fi
exec build/default/bin/stosswerk-plan "$@"
