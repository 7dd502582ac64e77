#!/bin/sh
# Runs a window test on its own X server with openbox, which puts frames around windows as
# a desktop does: what the offscreen platform cannot show. The test starts once openbox says
# it is ready (its --startup command), not after a guessed time.
set -eu
export QT_QPA_PLATFORM=xcb
ready=$(mktemp -u /tmp/kw-openbox-XXXXXX)
export ready
exec xvfb-run -a -s "-screen 0 1280x1024x24" sh -c '
    openbox --startup "touch $ready" >/dev/null 2>&1 &
    tries=0
    while [ ! -e "$ready" ] && [ $tries -lt 200 ]; do sleep 0.05; tries=$((tries + 1)); done
    rm -f "$ready"
    "$@"; status=$?
    kill %1 2>/dev/null
    exit $status' sh "$@"
