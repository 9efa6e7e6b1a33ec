#!/usr/bin/env bash
# Baut das Debian-Paket aus build/default und prüft es, ohne es zu installieren:
# es wird in ein Wurzelverzeichnis auf Zeit ausgepackt, und die Programme laufen
# von dort. Der Spieler ohne Fenster läuft nur im privaten Netz-Namensraum,
# weil er beim Start seinen Status an 255.255.255.255 sendet.
#
# Aufruf nach "cmake --build --preset default"; braucht root für unshare.
set -euo pipefail
skript=$(readlink -f "$0")
cd "$(dirname "$skript")/.."

# Im Namensraum ruft das Skript sich selbst mit --im-netz auf (siehe unten).
PORT=2400   # nicht die Vorgabe: so zeigt die Antwort, dass config.ini gelesen wurde
BPORT=2401

fehler() {
    echo "Paketprüfung: $*" >&2
    exit 1
}

# Spieler aus dem Paket gegen spieltisch aus dem Paket, als unprivilegierter
# Benutzer ohne neue Rechte wie im Dienst. Läuft im Netz-Namensraum.
spieler_gegen_spieltisch() {
    local wurzel=$1 arbeit=$2
    local als=(setpriv --reuid=nobody --regid=nogroup --clear-groups --no-new-privs)
    # nobody darf das Verzeichnis des Checkouts oft nicht betreten (etwa unter /root).
    cd "$arbeit"
    "${als[@]}" "$wurzel/usr/bin/stosswerk" --ohne-fenster >"$arbeit/spieler.out" 2>"$arbeit/spieler.err" &
    local spieler=$!
    local bereit=0
    for _ in $(seq 100); do
        grep -q 'Warte auf Anfrage vom Client' "$arbeit/spieler.out" && { bereit=1; break; }
        kill -0 $spieler 2>/dev/null || break
        sleep 0.1
    done
    local rueckgabe=0
    if [ $bereit -eq 1 ]; then
        "${als[@]}" "$wurzel/usr/bin/spieltisch" --spieler 127.0.0.1:$PORT --antwort-port 0 \
            --zufall 11 --anzahl 20 >"$arbeit/spieltisch.out" 2>&1 || rueckgabe=1
    else
        echo "Der Spieler meldet sich nicht bereit." >&2
        rueckgabe=1
    fi
    kill -TERM $spieler 2>/dev/null || true
    for _ in $(seq 50); do
        kill -0 $spieler 2>/dev/null || break
        sleep 0.1
    done
    kill -0 $spieler 2>/dev/null && { kill -KILL $spieler; echo "Der Spieler endet nicht auf SIGTERM." >&2; }
    wait $spieler || { echo "Der Spieler endet mit $?." >&2; rueckgabe=1; }
    return $rueckgabe
}

if [ "${1:-}" = --im-netz ]; then
    spieler_gegen_spieltisch "$2" "$3"
    exit $?
fi

bau=build/default
version=$(sed -n 's/.*kStosswerkVersion = "\(.*\)";/\1/p' $bau/generiert/stosswerk_version.h)
[ -n "$version" ] || fehler "keine Version in $bau/generiert/stosswerk_version.h"
paket=$bau/paket/stosswerk_${version}_amd64.deb

echo "== Debian-Paket =="
rm -f "$paket"
cpack --config $bau/CPackConfig.cmake -G DEB -B $bau/paket >$bau/paket.log 2>&1 ||
    { cat $bau/paket.log >&2; fehler "cpack gescheitert"; }
[ -f "$paket" ] || fehler "$paket fehlt"

arbeit=$(mktemp -d)
trap 'rm -rf "$arbeit"' EXIT
wurzel=$arbeit/wurzel
dpkg-deb -x "$paket" "$wurzel"
dpkg-deb -e "$paket" "$arbeit/DEBIAN"
# Für den Lauf als nobody: mktemp legt das Verzeichnis nur für root lesbar an.
chmod 755 "$arbeit"

# Steuerdaten: Abhängigkeiten aus den Programmdateien, Konfiguration als conffiles.
abhaengig=$(dpkg-deb -f "$paket" Depends)
for bibliothek in libc6 libstdc++6 libqt6widgets6; do
    [[ ", $abhaengig," == *", $bibliothek "* ]] || fehler "Depends ohne $bibliothek: $abhaengig"
done
[ "$(dpkg-deb -f "$paket" Version)" = "$version" ] || fehler "Version im Paket ist nicht $version"
erwartet=$(printf '/etc/stosswerk/%s\n' config.ini ki-result.xml ki-status.xml)
[ "$(sort "$arbeit/DEBIAN/conffiles")" = "$erwartet" ] || fehler "conffiles: $(cat "$arbeit/DEBIAN/conffiles")"
for wartung in postinst prerm postrm; do
    sh -n "$arbeit/DEBIAN/$wartung" || fehler "$wartung ist kein gültiges sh"
done

# Neben den Programmen verweisen die Dateien absolut auf /etc/stosswerk (von
# /usr nach /etc will Debian absolute Verweise); dort liegen sie im Paket.
for datei in config.ini ki-status.xml ki-result.xml; do
    [ "$(readlink "$wurzel/usr/lib/stosswerk/$datei")" = "/etc/stosswerk/$datei" ] ||
        fehler "usr/lib/stosswerk/$datei zeigt nicht auf /etc/stosswerk/$datei"
    [ -f "$wurzel/etc/stosswerk/$datei" ] || fehler "etc/stosswerk/$datei fehlt"
    [ "$(stat -c %a "$wurzel/etc/stosswerk/$datei")" = 644 ] || fehler "etc/stosswerk/$datei ist nicht für alle lesbar"
done

# Changelog mit der Version, Copyright mit Urheber und ohne Lizenz.
[ "$(zcat "$wurzel/usr/share/doc/stosswerk/changelog.gz" | head -n 1)" = \
    "stosswerk ($version) bookworm; urgency=medium" ] || fehler "changelog.gz nennt nicht $version"
grep -q 'Entwickler des Projekts „Stosswerk“' "$wurzel/usr/share/doc/stosswerk/copyright" &&
    grep -q 'noch keine Lizenz' "$wurzel/usr/share/doc/stosswerk/copyright" ||
    fehler "copyright nennt Urheber oder Lizenz nicht"

# Das Symbol des Desktop-Eintrags liegt im Paket und ist ein SVG-Dokument.
symbol=$(sed -n 's/^Icon=//p' "$wurzel/usr/share/applications/stosswerk.desktop")
svg=$wurzel/usr/share/icons/hicolor/scalable/apps/$symbol.svg
[ -n "$symbol" ] && [ -f "$svg" ] || fehler "Symbol \"$symbol\" fehlt in usr/share/icons/hicolor/scalable/apps"
python3 -c 'import sys, xml.dom.minidom as m; sys.exit(m.parse(sys.argv[1]).documentElement.tagName != "svg")' "$svg" ||
    fehler "$symbol.svg ist kein SVG-Dokument"

# Die Wartungsskripte auf einem Wurzelverzeichnis auf Zeit (DPKG_ROOT): die
# Installation schaltet den Dienst nicht ein (er sendet ans ganze Netz), und
# purge entfernt den Verweis, den "systemctl enable" gesetzt hätte.
dienst_wurzel=$arbeit/dienst
mkdir -p "$dienst_wurzel/lib/systemd/system"
cp "$wurzel/lib/systemd/system/stosswerk.service" "$dienst_wurzel/lib/systemd/system/"
wartung() { DPKG_ROOT=$dienst_wurzel DPKG_MAINTSCRIPT_PACKAGE=stosswerk "$arbeit/DEBIAN/$1" "${@:2}"; }
wartung postinst configure || fehler "postinst configure"
eingeschaltet=$(find "$dienst_wurzel" -path "$dienst_wurzel/etc/*" -name stosswerk.service)
[ -z "$eingeschaltet" ] || fehler "die Installation schaltet den Dienst ein: $eingeschaltet"
mkdir -p "$dienst_wurzel/etc/systemd/system/multi-user.target.wants"
ln -s /lib/systemd/system/stosswerk.service "$dienst_wurzel/etc/systemd/system/multi-user.target.wants/"
wartung prerm remove && wartung postrm remove || fehler "prerm/postrm remove"
rm "$dienst_wurzel/lib/systemd/system/stosswerk.service"
wartung postrm purge || fehler "postrm purge"
[ -z "$(find "$dienst_wurzel" -path "$dienst_wurzel/etc/*" -name stosswerk.service)" ] ||
    fehler "purge lässt den Verweis des eingeschalteten Dienstes stehen"

# Jedes Programm: Verweis in /usr/bin, Handbuchseite ohne Warnungen, --version.
programme=()
for programm in "$wurzel"/usr/lib/stosswerk/*; do
    [ -f "$programm" ] && [ ! -L "$programm" ] && [ -x "$programm" ] && programme+=("$(basename "$programm")")
done
for name in stosswerk stosswerk-plan stosswerk-sim stosswerk-kalibriere spieltisch; do
    [[ " ${programme[*]} " == *" $name "* ]] || fehler "$name fehlt in usr/lib/stosswerk"
done
for name in "${programme[@]}"; do
    [ "$(readlink -f "$wurzel/usr/bin/$name")" = "$wurzel/usr/lib/stosswerk/$name" ] ||
        fehler "usr/bin/$name zeigt nicht auf usr/lib/stosswerk/$name"
    seite=$wurzel/usr/share/man/man1/$name.1.gz
    [ -f "$seite" ] || fehler "keine Handbuchseite für $name"
    warnungen=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$seite" 2>&1 >/dev/null)
    [ -z "$warnungen" ] || fehler "Handbuchseite $name: $warnungen"
    [ "$("$wurzel/usr/bin/$name" --version)" = "$name $version" ] || fehler "$name --version nennt nicht $version"
done
echo "Programme im Paket: ${programme[*]}"

# stosswerk-plan liest /etc/stosswerk/config.ini: mit einer anderen Weißen dort
# plant es anders als mit den Vorgaben, und genau wie mit --config auf diese Datei.
sed -i 's/^k0_x=.*/k0_x=6000/; s/^k0_y=.*/k0_y=2000/' "$wurzel/etc/stosswerk/config.ini"
geaendert=$("$wurzel/usr/bin/stosswerk-plan" --json)
[ "$geaendert" = "$($bau/bin/stosswerk-plan --json --config "$wurzel/etc/stosswerk/config.ini")" ] ||
    fehler "stosswerk-plan aus dem Paket plant nicht auf etc/stosswerk/config.ini"
[ "$geaendert" != "$($bau/bin/stosswerk-plan --json --config /dev/null)" ] ||
    fehler "stosswerk-plan aus dem Paket plant auf den Vorgaben"

# Wie installiert: das ausgepackte Paket über /usr/lib, /usr/bin und /etc gelegt
# (overlay in einem eigenen Mount-Namensraum, der Rechner bleibt unberührt);
# /usr/bin/stosswerk-plan plant dann auf /etc/stosswerk/config.ini.
installiert=$(unshare --mount sh -c 'for d in usr/lib usr/bin etc; do
        mount -t overlay overlay -o "lowerdir=$1/$d:/$d" "/$d" 2>/dev/null || exit 99
    done; exec /usr/bin/stosswerk-plan --json' sh "$wurzel") && rueckgabe=0 || rueckgabe=$?
if [ $rueckgabe -eq 99 ]; then
    echo "Installiert: kein overlay-Dateisystem hier, ungeprüft."
else
    [ $rueckgabe -eq 0 ] && [ "$installiert" = "$geaendert" ] ||
        fehler "installiert plant stosswerk-plan nicht auf /etc/stosswerk/config.ini"
fi

# stosswerk-sim spielt auf derselben Konfiguration den Stoß des Planers und
# zeichnet ihn ohne Bildschirm: alles dafür (Qt Gui, Plattform offscreen) kommt
# über die Abhängigkeiten des Pakets.
gespielt=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
    "$wurzel/usr/bin/stosswerk-sim" --plan --json --bild "$arbeit/sim.png") ||
    fehler "stosswerk-sim aus dem Paket gescheitert"
geplant=$(echo "$geaendert" | sed -n 's/.*"stoss":{"x":\([^,]*\),"y":\([^,]*\),.*/[\1,\2]/p')
[ -n "$geplant" ] && [ "$geplant" = "$(echo "$gespielt" | sed -n 's/.*"stoss":\(\[[^]]*\]\).*/\1/p')" ] ||
    fehler "stosswerk-sim aus dem Paket spielt nicht den Stoß von stosswerk-plan"
[ "$(od -An -tx1 -N8 "$arbeit/sim.png" | tr -d ' \n')" = 89504e470d0a1a0a ] ||
    fehler "stosswerk-sim aus dem Paket schreibt kein PNG"

# Der Spieler liest Port und Vorlagen aus /etc/stosswerk: er antwortet auf dem
# dort eingetragenen Port und meldet keinen Fehler (eine fehlende Vorlage gäbe
# "Fehler: ..." auf der Fehlerausgabe).
sed -i "s/^port=.*/port=$PORT/; s/^bport=.*/bport=$BPORT/" "$wurzel/etc/stosswerk/config.ini"
grep -qx "port=$PORT" "$wurzel/etc/stosswerk/config.ini" || fehler "port nicht in config.ini"
if ! unshare --net sh -c 'ip link set lo up && ip route add default dev lo && exec "$@"' sh \
    "$skript" --im-netz "$wurzel" "$arbeit"; then
    cat "$arbeit"/spieler.* "$arbeit"/spieltisch.out >&2 2>/dev/null || true
    fehler "Spieler aus dem Paket gegen spieltisch gescheitert"
fi
grep -q 'beantwortet=20 fehlend=0 fehlerhaft=0' "$arbeit/spieltisch.out" ||
    fehler "spieltisch: $(tail -n 1 "$arbeit/spieltisch.out")"
[ ! -s "$arbeit/spieler.err" ] || fehler "Spieler meldet: $(cat "$arbeit/spieler.err")"
echo "Spieler aus dem Paket: $(tail -n 1 "$arbeit/spieltisch.out")"

# Der Dienst: systemd prüft die Einheit (auch, dass ExecStart im Paket liegt
# und die Handbuchseite aus Documentation= da ist) und bewertet die Härtung.
if command -v systemd-analyze >/dev/null; then
    einheit=$arbeit/stosswerk.service
    sed "s|/usr/lib/stosswerk/|$wurzel/usr/lib/stosswerk/|g" "$wurzel/lib/systemd/system/stosswerk.service" >"$einheit"
    MANPATH=$wurzel/usr/share/man systemd-analyze verify "$einheit" || fehler "systemd-analyze verify"
    # Bewertung 0 (dicht) bis 100 (offen); höher als 20 heißt: eine Härtung fehlt.
    systemd-analyze security --offline=yes --threshold=20 "$einheit" >"$arbeit/sicherheit.txt" ||
        fehler "Dienst zu offen: $(tail -n 1 "$arbeit/sicherheit.txt")"
    echo "Dienst: $(tail -n 1 "$arbeit/sicherheit.txt")"
else
    echo "Dienst: systemd-analyze fehlt, die Einheit bleibt ungeprüft (Paket systemd)."
fi

if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$wurzel/usr/share/applications/stosswerk.desktop" || fehler "Desktop-Eintrag"
else
    echo "Desktop-Eintrag: desktop-file-validate fehlt, ungeprüft (Paket desktop-file-utils)."
fi

# lintian, wo installiert (test.sh installiert es): kein Fehler, keine Warnung
# und keiner der Hinweise auf ein ungehärtetes Programm oder einen Desktop-Eintrag
# ohne Symbol. Als nobody, weil lintian von root abrät.
if command -v lintian >/dev/null; then
    mkdir "$arbeit/lintian"
    cp "$paket" "$arbeit/lintian/"
    chown -R nobody:nogroup "$arbeit/lintian"
    befund=$(cd "$arbeit/lintian" && setpriv --reuid=nobody --regid=nogroup --clear-groups \
        env HOME="$arbeit/lintian" TMPDIR="$arbeit/lintian" \
        lintian --display-info --fail-on error,warning "$arbeit/lintian/$(basename "$paket")" 2>&1) ||
        { echo "$befund" >&2; fehler "lintian meldet Fehler oder Warnungen"; }
    if echo "$befund" | grep -E '^.: stosswerk: (hardening-|desktop-entry-lacks-icon)' >&2; then
        fehler "lintian: ungehärtetes Programm oder Desktop-Eintrag ohne Symbol"
    fi
    echo "lintian: keine Fehler und Warnungen, $(echo "$befund" | grep -c '^I:' || true) Hinweise"
else
    echo "lintian fehlt, das Paket bleibt ungeprüft (Paket lintian)."
fi

echo "Paket in Ordnung: $paket ($(stat -c %s "$paket") Bytes)"
