# Installiert fehlende Debian-Pakete; von run.sh und test.sh eingebunden.
# Nur was fehlt, wird geholt, und apt-get update läuft höchstens einmal.
installiere_fehlende() {
    local fehlend=()
    for paket in "$@"; do
        dpkg-query -W -f='${Status}' "$paket" 2>/dev/null | grep -q 'install ok installed' || fehlend+=("$paket")
    done
    [ ${#fehlend[@]} -eq 0 ] && return 0
    echo "Installiere: ${fehlend[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${fehlend[@]}"
}

# Das Fenster: Qt 6 Widgets (mit QTest und den Plattformen xcb und offscreen)
# und eine Schrift mit den Maßen, für die der Dialog gedacht ist.
GRUNDPAKETE=(cmake ninja-build g++ googletest libgtest-dev libbenchmark-dev nlohmann-json3-dev libpugixml-dev
    qt6-base-dev fonts-liberation2)
GRUNDPAKETE+=(libceres-dev)  # Ceres Solver: die Welt an Beobachtungen anpassen (stosswerk-kalibriere)

# Nur für test.sh: clang mit libFuzzer, ip für den privaten Netz-Namensraum,
# Python für das Gegenmodell des Planers, und für das Debian-Paket dpkg-shlibdeps
# (dpkg-dev, file), lintian und die Prüfwerkzeuge von Handbuchseiten, Dienst und
# Desktop-Eintrag; locales für den Test unter einem deutschen Desktop.
PRUEFPAKETE=(clang libclang-rt-14-dev iproute2 python3 dpkg-dev file lintian man-db systemd desktop-file-utils
    locales)
