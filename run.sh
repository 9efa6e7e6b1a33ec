#!/usr/bin/env bash
# Baut Stosswerk und startet es.
set -euo pipefail
cd "$(dirname "$0")"
source tools/pakete.sh
installiere_fehlende "${GRUNDPAKETE[@]}"
cmake --preset default >/dev/null
cmake --build --preset default >/dev/null
exec build/default/bin/stosswerk-plan "$@"
