#!/bin/sh
# Runs a window test on its own X server with openbox, which puts frames around windows as
# a desktop does: what the offscreen platform cannot show.
set -eu
export QT_QPA_PLATFORM=xcb
exec xvfb-run -a -s "-screen 0 1280x1024x24" sh -c 'openbox >/dev/null 2>&1 & sleep 1; "$@"; status=$?; kill %1 2>/dev/null; exit $status' sh "$@"
