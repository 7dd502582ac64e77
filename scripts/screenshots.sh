#!/bin/sh
# Takes the README's screenshots: Kopienwacht under Xvfb with a window manager, a search on a
# small demonstration tree (and one on FOLDER, if given, long enough to catch the progress
# dialog). Needs xvfb, openbox, imagemagick and xdotool (not installed by make).
#
#   scripts/screenshots.sh [FOLDER]     run it through xvfb-run -a -s "-screen 0 1024x768x24"
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
OUT=$ROOT/docs/screenshots
DEMO=/tmp/Beispiel
rm -rf "$DEMO"
trap 'rm -rf "$DEMO"' EXIT
export LANG=de_DE.UTF-8 # German dates, also where the system has no German locale installed
# A user of our own who has run the program before: no greeting, no about box.
export HOME=/tmp/Beispiel-home XDG_CONFIG_HOME=/tmp/Beispiel-home/.config XDG_RUNTIME_DIR=/tmp/Beispiel-home
rm -rf "$HOME"
mkdir -p "$XDG_CONFIG_HOME/Ostwerk"
chmod 700 "$HOME"
printf '[General]\nAnsicht=Ordner\nXPos=330\nYPos=150\n' > "$XDG_CONFIG_HOME/Ostwerk/Kopienwacht.conf"


mkdir -p "$DEMO/Bilder/Urlaub" "$DEMO/Bilder/Archiv" "$DEMO/Dokumente" "$OUT"
head -c 200000 /dev/urandom > "$DEMO/Bilder/Urlaub/strand.jpg"
cp "$DEMO/Bilder/Urlaub/strand.jpg" "$DEMO/Bilder/Archiv/strand-kopie.jpg"
cp "$DEMO/Bilder/Urlaub/strand.jpg" "$DEMO/Bilder/Kopie von strand.jpg"
head -c 50000 /dev/urandom > "$DEMO/Dokumente/bericht.pdf"
cp "$DEMO/Dokumente/bericht.pdf" "$DEMO/Bilder/Archiv/bericht-alt.pdf"
echo Notizen > "$DEMO/Dokumente/notiz.txt"
echo Notizen > "$DEMO/Dokumente/notiz-kopie.txt"

openbox >/dev/null 2>&1 &
sleep 1
shot() { # name window-title-pattern
    id=$(xdotool search --name "$2" | tail -n 1)
    import -frame -window "$id" "$OUT/$1.png"
}

run_search() { # folder seconds-until-progress-shot
    cd "$1"
    "$ROOT/build/bin/kopienwacht" &
    pid=$!
    sleep 3
    xdotool search --name '^Kopienwacht$' windowactivate --sync 2>/dev/null || true
    xdotool key alt+t
    sleep 0.3
}

if [ $# -gt 0 ]; then
    run_search "$1"
    xdotool key alt+s
    sleep 1.5
    shot progress '^(Suche Ordner|Suche Dateien|Dateien Vergleichen)$'
    sleep 8
    kill $pid
fi

run_search "$DEMO"
shot main '^Kopienwacht$'
xdotool key alt+s
sleep 2
# "Duplikate Markieren" from the context menu, the fourth entry, so the marks and the status
# line under the list show
xdotool key Menu
sleep 0.5
xdotool key Down Down Down Down Return
sleep 0.5
shot result '^Suchergebnis'
xdotool key ctrl+l
sleep 1
shot formatted '^Suchergebnis'
kill $pid
