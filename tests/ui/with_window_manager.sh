#!/bin/sh
# Runs a window test on its own X server with openbox, which puts frames around windows as
# a desktop does: what the offscreen platform cannot show. The test starts once openbox says
# it is ready: its --startup command writes into a FIFO that is read here.
set -eu
export QT_QPA_PLATFORM=xcb
ready=$(mktemp -u /tmp/kw-openbox-XXXXXX)
mkfifo "$ready"
trap 'rm -f "$ready"' EXIT
export ready
xvfb-run -a -s "-screen 0 1280x1024x24" sh -c '
    openbox --startup "sh -c \"echo ready > $ready\"" >/dev/null 2>&1 &
    timeout 30 cat "$ready" >/dev/null || echo "openbox did not say it was ready" >&2
    "$@"; status=$?
    kill %1 2>/dev/null
    exit $status' sh "$@"
