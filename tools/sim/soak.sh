#!/usr/bin/env bash
# Long autopilot runs of gravimel-sim on a sanitizer build: fails on a sanitizer report, a broken invariant, or memory, sound channels or explosions that keep growing.
#
# Usage: tools/sim/soak.sh [-b build-folder] [-f frames] [-o log-folder] [seed ...]
#   -b  a build folder configured with GRAVIMEL_SANITIZE=ON (default build-asan); configured and built
#       here if it has no CMake cache yet, and brought up to date if it has one
#   -f  frames per seed (default 100000, about 55 minutes of game time)
#   -o  where each seed's log goes (default a new folder under /tmp)
#   seeds default to 1 2 3; they run one after another, each to its end
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
BUILD=$ROOT/build-asan
FRAMES=100000
LOGS=""
while getopts "b:f:o:h" opt; do
    case $opt in
    b) BUILD=$OPTARG ;;
    f) FRAMES=$OPTARG ;;
    o) LOGS=$OPTARG ;;
    h) sed -n '4,9p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) sed -n '4,9p' "$0" | sed 's/^# \{0,1\}//' >&2; exit 2 ;;
    esac
done
shift $((OPTIND - 1))
SEEDS=("$@")
[ ${#SEEDS[@]} -gt 0 ] || SEEDS=(1 2 3)
case $FRAMES in '' | *[!0-9]*) echo "soak: -f wants a number of frames, not '$FRAMES'" >&2; exit 2 ;; esac
[ -n "$LOGS" ] || LOGS=$(mktemp -d "${TMPDIR:-/tmp}/gravimel-soak.XXXXXX")
mkdir -p "$LOGS"
LOGS=$(cd "$LOGS" && pwd)

# Build, refusing a folder that was configured without the sanitizers.
if [ -f "$BUILD/CMakeCache.txt" ]; then
    grep -q '^GRAVIMEL_SANITIZE:BOOL=ON$' "$BUILD/CMakeCache.txt" ||
        { echo "soak: $BUILD was configured without GRAVIMEL_SANITIZE=ON" >&2; exit 2; }
else
    cmake -S "$ROOT" -B "$BUILD" -DGRAVIMEL_SANITIZE=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$LOGS/configure.log" ||
        { cat "$LOGS/configure.log" >&2; exit 1; }
fi
cmake --build "$BUILD" -j2 --target gravimel-sim >"$LOGS/build.log" 2>&1 ||
    { tail -30 "$LOGS/build.log" >&2; echo "soak: the build failed" >&2; exit 1; }
BUILD=$(cd "$BUILD" && pwd)

export ALSOFT_DRIVERS=null
# A smaller quarantine of freed blocks than the default 256 MB fills within the first rounds, so resident
# memory levels off early; later growth is then the game's.
export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1:print_stacktrace=1:quarantine_size_mb=64
export UBSAN_OPTIONS=halt_on_error=1:abort_on_error=1:print_stacktrace=1
export LSAN_OPTIONS=suppressions=$ROOT/tools/lsan.supp:print_suppressions=0

# Reads the checkpoint lines; growth is judged after the first rounds, against the first half's peak, and
# only when every one of the last three checkpoints is above it, so one busy moment is no failure.
judge() {
    awk -v frames="$FRAMES" '
    /^sim: checkpoint frame / {
        f = $4 + 0
        n++; frame[n] = f; rss[n] = $6 + 0; heap[n] = $9 + 0; expl[n] = $12 + 0; chan[n] = $14 + 0
    }
    function grows(name, v, margin,   i, base, low) {
        base = -1
        for (i = 1; i <= n; i++) if (frame[i] <= frames / 2 && v[i] > base) base = v[i]
        low = v[n]
        for (i = n - 2; i <= n; i++) if (v[i] < low) low = v[i]
        if (base >= 0 && low > base + margin) {
            printf "%s keeps growing: at least %d in the last three checkpoints, at most %d in the first half\n", name, low, base
            bad = 1
        }
    }
    END {
        if (n < 6) { print "too few checkpoints (" n ") to judge growth; soak at least 60000 frames"; exit 0 }
        grows("live heap (kB)", heap, 2048)
        grows("resident memory (kB)", rss, 65536)
        grows("live explosions", expl, 100)
        grows("sound channels", chan, 200)
        for (i = 1; i <= n; i++) if (chan[i] > 1000 || expl[i] > 2000) {
            printf "at frame %d: %d sound channels and %d explosions live\n", frame[i], chan[i], expl[i]; bad = 1
        }
        exit bad
    }'
}

failed=0
for seed in "${SEEDS[@]}"; do
    log=$LOGS/seed-$seed.log
    start=$(date +%s)
    rc=0
    (cd "$BUILD" && exec xvfb-run -a -s "-screen 0 1024x768x24" \
        ./gravimel-sim --autopilot --quiet --frames "$FRAMES" --seed "$seed") >"$log" 2>&1 || rc=$?
    took=$(($(date +%s) - start))
    problems=()
    [ "$rc" -eq 0 ] || problems+=("exit status $rc")
    if grep -qE 'Sanitizer|runtime error:' "$log"; then problems+=("sanitizer report: $(grep -m1 -E 'Sanitizer|runtime error:' "$log")"); fi
    if grep -q '^sim: invariant broken' "$log"; then problems+=("$(grep -m1 '^sim: invariant broken' "$log")"); fi
    grep -q "^sim: frames run: $FRAMES " "$log" || problems+=("the run did not reach frame $FRAMES")
    if ! growth=$(judge <"$log"); then problems+=("$growth"); fi
    rounds=$(sed -n 's/^sim: rounds finished: //p' "$log")
    if [ ${#problems[@]} -eq 0 ]; then
        echo "soak: seed $seed passed: $FRAMES frames in $took s, ${rounds:-0} rounds${growth:+ ($growth)}"
    else
        failed=1
        echo "soak: seed $seed FAILED after $took s:"
        printf '  %s\n' "${problems[@]}"
    fi
    grep -E '^sim: (checkpoint|peak|update time)' "$log" | sed 's/^/  /'
done
echo "soak: logs in $LOGS"
exit $failed
