#!/usr/bin/env bash
# Prüft, dass jeder Ordner unter src/ nur Ordner unter sich einbindet:
# geometry ← model ← anzeige ← sim ← planner ← lernen ← net ← spieler ← fenster ← app,
# und spiel über dem Planer neben lernen und net (spiel bindet keinen von beiden
# ein und keiner von beiden spiel; fenster und app stehen über allen). Dieselben
# Regeln gelten für tests/ und bench/: ein Test bindet nur ein, was sein
# Bereich darf (jeder Test darf alles, was unter app liegt).
set -euo pipefail
cd "$(dirname "$0")/.."
schichten=(geometry model anzeige sim planner lernen net spieler fenster app)
fehler=0
pruefe() {
    local ordner=$1
    shift
    local erlaubt=("$@")
    [ -d "src/$ordner" ] || return 0
    while IFS= read -r zeile; do
        ziel=${zeile#*\#include \"}
        ziel=${ziel%%/*}
        if [[ " ${erlaubt[*]} " != *" $ziel "* ]]; then
            echo "Schichtverletzung: $zeile"
            fehler=1
        fi
    done < <(grep -rn '#include "[a-z]*/' "src/$ordner" || true)
}
for i in "${!schichten[@]}"; do
    ordner=${schichten[$i]}
    erlaubt=("${schichten[@]:0:$((i + 1))}")
    [ "$ordner" = fenster ] || [ "$ordner" = app ] && erlaubt+=(spiel)
    pruefe "$ordner" "${erlaubt[@]}"
done
pruefe spiel geometry model anzeige sim planner spiel

# Tests und Benchmarks: nur Ordner, die es unter src/ gibt. Ohne Qt gebaut
# binden sie das Fenster nicht ein; nur die Fenstertests dürfen es, und nur
# Tests (nicht die Benchmarks) die Programme, deren Abläufe sie im Prozess fahren.
pruefe_ordner() {
    local ordner=$1
    shift
    local erlaubt=("$@")
    while IFS= read -r zeile; do
        ziel=${zeile#*\#include \"}
        ziel=${ziel%%/*}
        if [[ " ${erlaubt[*]} " != *" $ziel "* ]]; then
            echo "Schichtverletzung: $zeile"
            fehler=1
        fi
    done < <(grep -n '#include "[a-z]*/' "$ordner"/*.cpp "$ordner"/*.h 2>/dev/null || true)
}
ohne_fenster=(geometry model anzeige sim planner lernen net spieler spiel)
pruefe_ordner tests "${ohne_fenster[@]}" app netz
pruefe_ordner tests/netz "${ohne_fenster[@]}"
pruefe_ordner tests/fenster "${ohne_fenster[@]}" fenster app
pruefe_ordner bench "${ohne_fenster[@]}"
[ $fehler -eq 0 ] && echo "Schichten: in Ordnung"
exit $fehler
