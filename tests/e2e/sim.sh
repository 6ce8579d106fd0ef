# The simulator end to end: bad command lines, a seeded half-hour autopilot run checked against the game's own lines, the same output again on a rerun, --quiet and --render.
set -euo pipefail

BUILD=$(cd "${1:?usage: bash sim.sh <build folder>}" && pwd)
[ -x "$BUILD/gravimel-sim" ] || { echo "FAIL: $BUILD/gravimel-sim is not built" >&2; exit 1; }
# ctest runs under xvfb-run; on its own the script brings its own display.
if [ -z "${DISPLAY:-}" ]; then exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"; fi
export ALSOFT_DRIVERS=null
WORK=$(mktemp -d "${TMPDIR:-/tmp}/gravimel-e2e-sim.XXXXXX")
trap 'rm -rf "$WORK"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
sim() { (cd "$BUILD" && exec ./gravimel-sim "$@"); }
# The value after "name: " on the summary line of that name.
field() { sed -n "s/^sim: $1: \([0-9]*\).*/\1/p" "$2"; }
count() { grep -c -- "$1" "$2" || true; }

# A bad command line is refused at once with a reason and status 2, before any window opens.
for args in "--frobnicate" "--frames" "--frames 0" "--frames 12x" "--frames -5" "--seed -1" "--seed 4294967296" "--seed"; do
    rc=0
    # shellcheck disable=SC2086
    sim $args >"$WORK/bad.out" 2>"$WORK/bad.err" || rc=$?
    [ "$rc" -eq 2 ] || fail "gravimel-sim $args gave status $rc instead of 2"
    grep -q '^gravimel-sim: ' "$WORK/bad.err" || fail "gravimel-sim $args printed no reason"
done
echo "ok: bad command lines give status 2 with a reason"

frames=30000
# Most half hours end no round; this seed's does, so the round lines below have one to check.
seed=40
start=$(date +%s)
rc=0
sim --frames $frames --seed $seed --autopilot >"$WORK/run1.txt" 2>"$WORK/run1.err" || rc=$?
echo "ok: $frames frames in $(($(date +%s) - start)) s"
[ "$rc" -eq 0 ] || { cat "$WORK/run1.err" >&2; tail -30 "$WORK/run1.txt" >&2; fail "status $rc"; }
for key in "frames run" "rounds finished" "ship deaths" "planets destroyed" "rewards taken" \
    "rewards collected by ships" "peak projectiles" "peak explosions" "peak explosion particles" \
    "peak smoke puffs" "peak sound channels" "update time" "peak resident memory"; do
    grep -q "^sim: $key: " "$WORK/run1.txt" || fail "the summary has no '$key' line"
done
[ "$(field 'frames run' "$WORK/run1.txt")" = $frames ] || fail "the summary does not report $frames frames run"
[ "$(count '^sim: checkpoint frame' "$WORK/run1.txt")" -eq 3 ] || fail "expected a checkpoint every 10000 frames"

# The counts come from watching the World; the game's own lines say the same from the inside.
check() { [ "$2" = "$3" ] || fail "$1: the summary says $2, the game's lines say $3"; }
check "ship deaths" "$(field 'ship deaths' "$WORK/run1.txt")" "$(count '^Ship [0-7] exploded!$' "$WORK/run1.txt")"
check "planets destroyed" "$(field 'planets destroyed' "$WORK/run1.txt")" \
    "$(count 'HAS BEEN DESTROYED!$' "$WORK/run1.txt")"
check "rewards collected" "$(field 'rewards collected by ships' "$WORK/run1.txt")" \
    "$(count '^Reward [0-3] granted to ship [0-7]!$' "$WORK/run1.txt")"
rounds=$(field 'rounds finished' "$WORK/run1.txt")
check "rounds finished" "$rounds" "$(count '^Restarting world' "$WORK/run1.txt")"
check "round lines" "$rounds" "$(count '^sim: round [0-9]' "$WORK/run1.txt")"
# Each round line names the player the game has just announced.
awk '/wins! Too bad/ { w = $2 } /CONGRATULATIONS PLAYER/ { w = 0 }
     /^sim: round [0-9]/ { if ($7 != w) { print "round " $3 " names player " $7 ", the game announced " w; bad = 1 } }
     END { exit bad }' "$WORK/run1.txt" || fail "a round line names the wrong winner"
[ "$(field 'rewards taken' "$WORK/run1.txt")" -ge "$(field 'rewards collected by ships' "$WORK/run1.txt")" ] ||
    fail "fewer rewards taken than collected by ships"
echo "ok: $rounds rounds; deaths, planets, rewards and winners agree with the game's lines"

# The same seed again gives the same output from its first line, the opening layout's included, once the
# figures of time and memory are masked. Sound channels count as time: the sound layer frees a finished
# channel by the wall clock.
sim --frames $frames --seed $seed --autopilot >"$WORK/run2.txt" 2>/dev/null || fail "the second run failed"
steady() {
    sed -E -e 's/^(sim: checkpoint frame [0-9]+): rss [0-9]+ kB, heap [0-9]+ kB, (explosions [0-9]+), .*/\1: \2/' \
        -e 's/^sim: (update time|render time|render and swap time|peak resident memory|peak sound channels): .*/sim: \1: -/' "$1"
}
diff <(steady "$WORK/run1.txt") <(steady "$WORK/run2.txt") >"$WORK/diff.txt" ||
    { head -20 "$WORK/diff.txt" >&2; fail "the same seed gave different output"; }
grep -q '^SHIP [0-7] NOW HATES' "$WORK/run1.txt" || fail "no opening target lines to compare"
echo "ok: the same seed gives the same $(wc -l <"$WORK/run1.txt") lines"

# --quiet keeps the game's lines out and the simulator's in.
sim --frames 600 --seed 3 --quiet >"$WORK/quiet.txt" 2>/dev/null || fail "the quiet run failed"
if grep -qv '^sim: ' "$WORK/quiet.txt"; then fail "--quiet let a game line through: $(grep -v '^sim: ' "$WORK/quiet.txt" | head -1)"; fi
grep -q '^sim: frames run: 600 ' "$WORK/quiet.txt" || fail "--quiet lost the summary"
echo "ok: --quiet"

# --render draws and times a few frames.
sim --frames 5 --seed 3 --render --quiet >"$WORK/render.txt" 2>/dev/null || fail "the render run failed"
grep -q '^sim: render time: median [0-9.]* ms' "$WORK/render.txt" || fail "--render reported no render time"
echo "ok: --render"
