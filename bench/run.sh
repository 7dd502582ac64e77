#!/bin/sh
# Every figure of the performance goals in one go, on corpora made by the shared generator:
#
#   bench/run.sh [runs] [--peers]
#
# warm medium and large: kowacht against jdupes in one hyperfine run each (ratios from one
# run only: this machine's timings drift); peak memory on large against jdupes; cold medium
# against rdfind, the page cache dropped before every run (root only), with kowacht without
# reading ahead in disk order beside them, in turns; the desktop program's search against
# kowacht on the same tree, in turns; time and memory per file, large against medium. --peers also times every peer with ../shared/bench/run_peers.sh. Corpora
# are made once under /tmp and reused.
set -eu

RUNS=5
PEERS=0
for arg in "$@"; do
    case "$arg" in
    --peers) PEERS=1 ;;
    *) RUNS=$arg ;;
    esac
done
HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$HERE/.." && pwd)
TOOLS=${KW_BENCH_TOOLS:-$ROOT/../shared/bench}
KOWACHT=$ROOT/build/bin/kowacht
DESKTOP=$ROOT/build/bin/kopienwacht
WORK=$(mktemp -d /tmp/kw-bench-XXXXXX)
trap 'rm -rf "$WORK"' EXIT

[ -f "$TOOLS/make_corpus.py" ] || { echo "corpus tools not found in $TOOLS (set KW_BENCH_TOOLS)" >&2; exit 2; }

missing=""
for p in jdupes rmlint fdupes rdfind duff hyperfine time python3 xdotool xvfb openbox; do
    dpkg -s "$p" 2>/dev/null | grep -q '^Status: install ok installed' || missing="$missing $p"
done
if [ -n "$missing" ]; then
    sudo_cmd=""; [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo -n"
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get update -q </dev/null
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -q --no-install-recommends $missing </dev/null
fi
[ -x "$KOWACHT" ] && [ -x "$DESKTOP" ] || make -C "$ROOT" build

corpus() { echo "${KW_BENCH_CORPUS_DIR:-/tmp}/kw-corpus-$1"; }
for preset in medium large; do
    [ -d "$(corpus $preset)/tree" ] || python3 "$TOOLS/make_corpus.py" --preset "$preset" --seed 1 "$(corpus $preset)"
done
# A photo and video collection: 3,000 files of megabytes (6.7 GB; 1,048 candidates, 2.2 GB
# to read), where the comparison, not the listing, takes the time.
[ -d "$(corpus media)/tree" ] || python3 "$TOOLS/make_corpus.py" --seed 2 --files 3000 --dirs 100 --depth 4 \
    --median 3000000 --sigma 0.8 --max-file 50000000 --max-bytes 8000000000 --big 20 --empty 10 --same-count 50 \
    --same-size 4000000 --dup-fraction 0.3 --near 30 --hardlinks 10 "$(corpus media)"

# The median of command number $2 (from 0) in hyperfine's JSON $1.
median() { python3 -c 'import json,sys; print("%.3f" % json.load(open(sys.argv[1]))["results"][int(sys.argv[2])]["median"])' "$1" "$2"; }
ratio() { python3 -c 'import sys; print("%.2f" % (float(sys.argv[1]) / float(sys.argv[2])))' "$1" "$2"; }
# Peak resident memory in MiB of a command: the median of three runs, as a run that meets
# parts of the tree outside the page cache starts more threads and holds more.
peak() {
    for run in 1 2 3; do
        /usr/bin/time -f "%M" "$@" >/dev/null 2>"$WORK/time" || true
        tail -n 1 "$WORK/time"
    done | python3 -c 'import sys,statistics; print(int(statistics.median(int(l) for l in sys.stdin)) // 1024)'
}

echo "== machine: $(nproc) cores, $(awk '/MemTotal/ {printf "%d GiB", $2/1048576}' /proc/meminfo), $(uname -r); $(date -I)"
for preset in medium large media; do
    tree=$(corpus $preset)/tree
    "$KOWACHT" -r -q "$tree" >"$WORK/out" 2>/dev/null || true
    printf "== kowacht on %s against the manifest: " "$preset"
    python3 "$TOOLS/check_result.py" "$(corpus $preset)" "$WORK/out" | tail -n 1
done

for preset in medium large media; do
    tree=$(corpus $preset)/tree
    hyperfine --style none -N -w 1 -r "$RUNS" --export-json "$WORK/warm-$preset.json" \
        "jdupes -r -A -H -z -q $tree" "$KOWACHT -r -q $tree" >/dev/null
    eval "warm_${preset}_jdupes=\$(median $WORK/warm-$preset.json 0)"
    eval "warm_${preset}_kowacht=\$(median $WORK/warm-$preset.json 1)"
done

large=$(corpus large)/tree
memory_kowacht=$(peak "$KOWACHT" -r -q "$large")
memory_jdupes=$(peak jdupes -r -A -H -z -q "$large")
files_large=$(find "$large" -type f -not -path '*/.*' | wc -l)
files_medium=$(find "$(corpus medium)/tree" -type f -not -path '*/.*' | wc -l)

cold="skipped: dropping the page cache needs root"
if { sync && echo 3 >/proc/sys/vm/drop_caches; } 2>/dev/null; then
    # In turns, the page cache dropped before every run: this disk's speed drifts by half
    # from one minute to the next, which would fall on whichever command ran then.
    python3 - "$KOWACHT" "$(corpus medium)/tree" "$RUNS" "$WORK/rdfind.results" >"$WORK/cold" <<'PY'
import statistics, subprocess, sys, time
kowacht, tree, runs, results = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4]
commands = [
    ["rdfind", "-removeidentinode", "false", "-ignoreempty", "false", "-outputname", results, tree],
    [kowacht, "-r", "-q", tree],
    [kowacht, "-r", "-q", "--read-ahead=never", tree],
]
times = [[] for _ in commands]
for _ in range(runs):
    for command, taken in zip(commands, times):
        subprocess.run(["sh", "-c", "sync; echo 3 > /proc/sys/vm/drop_caches"], check=True)
        start = time.perf_counter()
        subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        taken.append(time.perf_counter() - start)
print(" ".join("%.3f" % statistics.median(taken) for taken in times))
PY
    read -r cold_rdfind cold_kowacht cold_plain <"$WORK/cold"
    cold="$cold_kowacht s against rdfind's $cold_rdfind s: $(ratio "$cold_kowacht" "$cold_rdfind") (goal <= 0.30);"
    cold="$cold without reading ahead in disk order $cold_plain s: $(ratio "$cold_plain" "$cold_rdfind")"
fi

# The desktop program and kowacht in turns, so that both meet the machine in the same state,
# the desktop as a user waits for it: on an X server under openbox, from the key that presses
# "Starten" to the result window on screen (bench/desktop_user.sh). A search is over in a
# second, in which this machine's speed drifts by a tenth or more: at least 15 turns.
medium=$(corpus medium)/tree
"$KOWACHT" -r -q "$medium" >/dev/null 2>&1 # the same warm cache for both
"$HERE/desktop_user.sh" "$medium" "$(( RUNS > 15 ? RUNS : 15 ))" >"$WORK/desktop"
read -r desktop cli <"$WORK/desktop"

# Time and memory per file, large against medium: kowacht on the two in turns, so that a
# machine that grows slower or faster between runs weighs on both alike.
memory_medium=$(peak "$KOWACHT" -r -q "$(corpus medium)/tree")
python3 - "$KOWACHT" "$(corpus medium)/tree" "$large" "$RUNS" >"$WORK/scale" <<'PY'
import statistics, subprocess, sys, time
kowacht, medium, large, runs = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
times = {medium: [], large: []}
for _ in range(runs):
    for tree in (medium, large):
        start = time.perf_counter()
        subprocess.run([kowacht, "-r", "-q", tree], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        times[tree].append(time.perf_counter() - start)
print("%.3f %.3f" % (statistics.median(times[medium]), statistics.median(times[large])))
PY
read -r scale_medium scale_large <"$WORK/scale"

echo "== goals"
echo "warm medium: kowacht $warm_medium_kowacht s, jdupes $warm_medium_jdupes s: $(ratio "$warm_medium_kowacht" "$warm_medium_jdupes") (goal <= 0.40)"
echo "warm large:  kowacht $warm_large_kowacht s, jdupes $warm_large_jdupes s: $(ratio "$warm_large_kowacht" "$warm_large_jdupes") (goal <= 0.40)"
echo "warm media:  kowacht $warm_media_kowacht s, jdupes $warm_media_jdupes s: $(ratio "$warm_media_kowacht" "$warm_media_jdupes") (goal <= 0.40)"
echo "peak memory, large: kowacht $memory_kowacht MiB, jdupes $memory_jdupes MiB: $(ratio "$memory_kowacht" "$memory_jdupes") (goal <= 0.50); $(python3 -c 'import sys; print(int(sys.argv[1]) * 1048576 // int(sys.argv[2]))' "$memory_kowacht" "$files_large") bytes a file"
echo "cold medium: $cold"
echo "desktop, medium, as a user waits (X11, openbox): key on Starten to result window $desktop s, kowacht -r -q $cli s: $(ratio "$desktop" "$cli") (goal <= 1.10)"
per_file() { python3 -c 'import sys; m,l,fm,fl=map(float,sys.argv[1:5]); print("%.2f" % ((l/fl)/(m/fm)))' "$@"; }
echo "scale: time per file, large against medium (in turns: $scale_medium s, $scale_large s): $(per_file "$scale_medium" "$scale_large" "$files_medium" "$files_large") (goal <= 1.00); from the runs against jdupes above: $(per_file "$warm_medium_kowacht" "$warm_large_kowacht" "$files_medium" "$files_large")"
candidates() { python3 -c 'import json,sys; print(json.load(open(sys.argv[1]))["stats"]["candidate_files"])' "$(corpus "$1")/manifest.json"; }
echo "scale: time per file of a size group (compared), large against medium: $(per_file "$scale_medium" "$scale_large" "$(candidates medium)" "$(candidates large)")"
echo "scale: memory per file, large against medium ($memory_medium MiB, $memory_kowacht MiB): $(per_file "$memory_medium" "$memory_kowacht" "$files_medium" "$files_large") (goal <= 1.00)"
echo "status line of the result window: $("$ROOT/build/bench/marked_space") (goal <= 0.1 s)"

if [ "$PEERS" = 1 ]; then
    echo "== peers (run_peers.sh, $RUNS runs)"
    "$TOOLS/run_peers.sh" -r "$RUNS" "$(corpus medium)"
fi
