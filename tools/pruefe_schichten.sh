#!/usr/bin/env bash
# Prüft, dass jeder Ordner unter src/ nur Ordner unter sich einbindet:
# geometry ← model ← anzeige ← sim ← planner ← lernen ← net ← fenster ← app.
set -euo pipefail
cd "$(dirname "$0")/.."
schichten=(geometry model anzeige sim planner lernen net fenster app)
fehler=0
for i in "${!schichten[@]}"; do
    ordner=${schichten[$i]}
    [ -d "src/$ordner" ] || continue
    erlaubt=("${schichten[@]:0:$((i + 1))}")
    while IFS= read -r zeile; do
        ziel=${zeile#*\#include \"}
        ziel=${ziel%%/*}
        if [[ " ${erlaubt[*]} " != *" $ziel "* ]]; then
            echo "Schichtverletzung: $zeile"
            fehler=1
        fi
    done < <(grep -rn '#include "[a-z]*/' "src/$ordner" || true)
done
[ $fehler -eq 0 ] && echo "Schichten: in Ordnung"
exit $fehler
