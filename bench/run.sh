#!/bin/sh
# Times kowacht against the peer duplicate finders on a generated corpus, warm cache.
#
#   bench/run.sh [small|medium|large] [runs]
#
# The corpus is made once under /tmp with the shared generator (seed 1) and reused. The
# peers come from Debian's packages and are installed when missing. Prints: our result
# checked against the corpus manifest, the peers' table (run_peers.sh), one hyperfine run
# of kowacht beside jdupes (ratios from one run only), and kowacht's peak memory.
set -eu

PRESET=${1:-medium}
RUNS=${2:-5}
HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$HERE/.." && pwd)
TOOLS=${KW_BENCH_TOOLS:-$ROOT/../shared/bench}
CORPUS=${KW_BENCH_CORPUS:-/tmp/kw-corpus-$PRESET}
KOWACHT=$ROOT/build/bin/kowacht

[ -f "$TOOLS/make_corpus.py" ] || { echo "corpus tools not found in $TOOLS (set KW_BENCH_TOOLS)" >&2; exit 2; }

missing=""
for p in jdupes rmlint fdupes rdfind duff hyperfine time; do
    dpkg -s "$p" 2>/dev/null | grep -q '^Status: install ok installed' || missing="$missing $p"
done
if [ -n "$missing" ]; then
    sudo_cmd=""; [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo -n"
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get update -q </dev/null
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -q --no-install-recommends $missing </dev/null
fi

[ -x "$KOWACHT" ] || make -C "$ROOT" build
[ -d "$CORPUS/tree" ] || python3 "$TOOLS/make_corpus.py" --preset "$PRESET" --seed 1 "$CORPUS"

echo "== kowacht against the manifest"
"$KOWACHT" -r -q "$CORPUS/tree" > /tmp/kw-bench.out 2>/dev/null
python3 "$TOOLS/check_result.py" "$CORPUS" /tmp/kw-bench.out

echo "== peers (run_peers.sh, $RUNS runs)"
"$TOOLS/run_peers.sh" -r "$RUNS" "$CORPUS"

echo "== kowacht beside jdupes, in one hyperfine run"
hyperfine --style basic -N -w 1 -r "$RUNS" \
    "jdupes -r -A -H -z -q $CORPUS/tree" \
    "$KOWACHT -r -q $CORPUS/tree"

echo "== kowacht peak memory"
/usr/bin/time -f "%M KiB peak RSS, %e s" "$KOWACHT" -r -q "$CORPUS/tree" > /dev/null 2>/tmp/kw-bench.time
tail -n 1 /tmp/kw-bench.time
