# Shared by the end-to-end scripts: a private X server, the real game under it, screenshots and pixel probes.
# Usage from a script: source "$(dirname "$0")/lib.bash" "$1"   (the argument is the build folder).
# Not named *.sh so that the test list does not pick it up as a test of its own.
set -euo pipefail

BUILD=$(cd "${1:?usage: bash <script> <build folder>}" && pwd)
E2E_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
E2E_NAME=$(basename "$0" .sh)
WORK=$(mktemp -d "${TMPDIR:-/tmp}/gravimel-e2e-$E2E_NAME.XXXXXX")
TITLE="Gravimel by Pellworth"
GAME_PID=""
XVFB_PID=""
GAME_RUN=0

log() { printf '[%s %s] %s\n' "$E2E_NAME" "$(date +%T)" "$*"; }
ok() { log "ok: $*"; }
fail() {
    log "FAIL: $*" >&2
    [ -n "${GAME_OUT:-}" ] && [ -f "$GAME_OUT" ] && { echo "--- game output so far:" >&2; cat "$GAME_OUT" >&2; }
    KEEP_WORK=1
    exit 1
}

cleanup() {
    local rc=$?
    set +e # a killed game's status must not cut the clean-up short
    [ -n "$GAME_PID" ] && kill "$GAME_PID" 2>/dev/null && wait "$GAME_PID" 2>/dev/null
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
    if [ "$rc" -ne 0 ] || [ -n "${KEEP_WORK:-}" ]; then
        echo "screenshots and output kept in $WORK" >&2
    else
        rm -rf "$WORK"
    fi
    return "$rc"
}
trap cleanup EXIT
trap 'exit 143' TERM INT # a test runner's time-out still cleans up

# Waits until the command succeeds, polling; false after the timeout (seconds, may be fractional).
wait_until() {
    local timeout=$1; shift
    local end=$(($(date +%s%N) + ${timeout%.*} * 1000000000))
    until "$@"; do
        [ "$(date +%s%N)" -ge "$end" ] && return 1
        sleep 0.2
    done
}

# A server of exactly the game's size, so that nothing is scaled, on a free display number. The server's lock
# file names the process that owns a number; a server that loses the race for one exits, and the next is tried.
start_x() {
    [ -x "$WORK/xprobe" ] || cc -O1 -o "$WORK/xprobe" "$E2E_DIR/xprobe.c" -lX11 -ldl || fail "cannot build xprobe"
    local n
    for n in $(seq $((120 + RANDOM % 60)) 250); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        Xvfb ":$n" -screen 0 800x600x24 -nolisten tcp >"$WORK/xvfb.log" 2>&1 &
        XVFB_PID=$!
        if wait_until 15 bash -c "! kill -0 $XVFB_PID 2>/dev/null || [ \"\$(tr -d ' ' 2>/dev/null </tmp/.X$n-lock)\" = $XVFB_PID ]" &&
            kill -0 "$XVFB_PID" 2>/dev/null; then
            export DISPLAY=":$n"
            wait_until 10 xdpyinfo >/dev/null 2>&1 || fail "cannot reach X server $DISPLAY"
            log "X server on $DISPLAY"
            return
        fi
        kill "$XVFB_PID" 2>/dev/null; wait "$XVFB_PID" 2>/dev/null; XVFB_PID=""
    done
    fail "no free display for Xvfb"
}

xprobe() { "$WORK/xprobe" "$@"; }

# Starts the game from a folder (default: the build folder) with an OpenAL Soft output driver (default: null);
# the program started is ./gravimel there unless a third argument names another (an installed launcher).
# Its output is line-buffered as on a terminal, so that lines can be read while it runs.
start_game() {
    local dir=${1:-$BUILD} driver=${2:-null} program=${3:-./gravimel}
    GAME_RUN=$((GAME_RUN + 1))
    GAME_OUT="$WORK/out-$GAME_RUN.txt"
    GAME_RC=""
    kill -0 "$XVFB_PID" 2>/dev/null || fail "the X server $DISPLAY is gone before the game starts"
    # Only X: without it SDL would fall back to a display of its own that nobody sees. One rendering thread
    # leaves the other core to the test, which reads the screen while the game draws.
    (cd "$dir" && SDL_VIDEODRIVER=x11 LP_NUM_THREADS=${LP_NUM_THREADS:-1} ALSOFT_DRIVERS=$driver exec stdbuf -oL "$program") \
        >"$GAME_OUT" 2>"$WORK/err-$GAME_RUN.txt" &
    GAME_PID=$!
    GAME_START=$(date +%s%N)
}

game_alive() { [ -n "$GAME_PID" ] && kill -0 "$GAME_PID" 2>/dev/null; }

# Waits for the game to end and sets GAME_RC; false if it still runs after the timeout.
wait_exit() {
    wait_until "$1" bash -c "! kill -0 $GAME_PID 2>/dev/null" || return 1
    GAME_RC=0
    wait "$GAME_PID" || GAME_RC=$?
    GAME_PID=""
}

game_windows() { xdotool search --name "^$TITLE\$" 2>/dev/null || true; }
has_window() { [ -n "$(game_windows)" ]; }
wait_window() {
    wait_until "${1:-20}" has_window ||
        fail "no window titled \"$TITLE\" appeared; X server $(kill -0 "$XVFB_PID" 2>/dev/null && echo running ||
            echo gone); windows: $(xwininfo -root -tree 2>&1 | grep -E '^ +0x' | head -5)"
    WIN=$(game_windows | head -n1)
    # xdotool's search ignores case: the caption must match exactly.
    [ "$(xdotool getwindowname "$WIN")" = "$TITLE" ] || fail "the window is titled \"$(xdotool getwindowname "$WIN")\""
}

out_has() { grep -qE -- "$1" "$GAME_OUT"; }
wait_line() { wait_until "$2" out_has "$1"; }

shot() {
    local f="$WORK/$1.png"
    import -silent -window root "$f" || fail "screenshot $1 failed"
    echo "$f"
}

# What a screenshot shows: the title image, nothing (no window yet, or not drawn), or a game frame.
screen_kind() {
    local rmse
    rmse=$(compare -metric RMSE "$1" "$BUILD/images/titlescreen.jpg" null: 2>&1 | sed -n 's/.*(\(.*\)).*/\1/p')
    if fcmp "$rmse < 0.08"; then echo title
    elif fcmp "$(region_mean "$1" 800 600 0 0) < 0.01"; then echo blank
    else echo frame
    fi
}
is_frame() { [ "$(screen_kind "$(shot poll)")" = frame ]; }
wait_first_frame() { wait_until "${1:-60}" is_frame || fail "no game frame after ${1:-60} s"; }

# The screens in order until a game frame shows, each kind once: blank (no window yet, or nothing drawn),
# title, frame. Sets SEEN to the list and SHOT to the last screenshot.
watch_start_screens() {
    local n=0 kind
    SEEN=""
    while :; do
        n=$((n + 1))
        SHOT=$(shot "start-$n")
        kind=$(screen_kind "$SHOT")
        [ "${SEEN##* }" = "$kind" ] || SEEN="$SEEN $kind"
        [ "$kind" = frame ] && return
        game_alive || fail "the game ended during start-up"
        [ $(($(date +%s%N) - GAME_START)) -lt 60000000000 ] || fail "no game frame within 60 s (screens:$SEEN)"
    done
}

# The game's first seven lines, exactly, once the eighth pilot has announced its target.
expect_startup_lines() {
    local expected="Initializing audio engine... Initialized audio engine successfully.
Initializing background music...
Initializing sounds...
Initializing sound effects...
Initializing font engine...
Loading font fonts/arial.ttf...
Loading font fonts/arial.ttf..."
    wait_line '^SHIP 7 NOW HATES' 20 || fail "the eighth target line never came"
    [ "$(head -n 7 "$GAME_OUT")" = "$expected" ] ||
        fail "start-up lines differ: $(head -n 7 "$GAME_OUT" | diff <(echo "$expected") - || true)"
}

# Mean brightness (0..1) of a rectangle W H X Y, image coordinates (y down from the top).
region_mean() {
    convert "$1" -crop "${2}x${3}+${4}+${5}" +repage -colorspace Gray -format '%[fx:mean]' info:
}

# Lit pixels in a rectangle: those whose brightest channel is above the threshold (0..255, default 60).
# Prints "count centre-x centre-y" in image coordinates; the centre is 0 0 when nothing is lit.
lit_stats() {
    local img=$1 w=$2 h=$3 x=$4 y=$5 thr=${6:-60}
    convert "$img" -crop "${w}x${h}+${x}+${y}" +repage -separate -evaluate-sequence max -depth 8 gray:- |
        od -An -tu1 -v | awk -v w="$w" -v x0="$x" -v y0="$y" -v thr="$thr" '
            { for (i = 1; i <= NF; i++) { if ($i > thr) { n++; sx += p % w; sy += int(p / w) } p++ } }
            END { if (n) printf "%d %.1f %.1f\n", n, x0 + sx / n, y0 + sy / n; else print "0 0 0" }'
}

# The widest lit stretch along one row of the image, bridging dark gaps of up to 20 pixels (dark seas, shading).
# Prints its width in pixels; a disc's chord through (or near) its centre is its diameter.
lit_span() {
    local img=$1 y=$2 thr=${3:-45}
    convert "$img" -crop "800x1+0+$y" +repage -separate -evaluate-sequence max -depth 8 gray:- |
        od -An -tu1 -v | awk -v thr="$thr" '
            { for (i = 1; i <= NF; i++) { if ($i > thr) { if (s < 0 || x - last > 20) s = x; last = x
                                                         if (last - s + 1 > best) best = last - s + 1 } x++ } }
            BEGIN { s = -1; best = 0 } END { print best }'
}

# Pixels that differ between two screenshots by more than a few percent.
pixels_changed() { compare -metric AE -fuzz "${3:-3%}" "$1" "$2" null: 2>&1 | awk '{ print int($1) }'; }

# Floating-point test: fcmp "1.2 > 0.5".
fcmp() { awk "BEGIN { exit !($1) }"; }

# Reads the score shown at the top left: the best match among candidate numbers, each drawn with the game's
# own font at the size and place the game uses. A candidate "none" stands for no text at all.
score_label() {
    local f="$WORK/label-$1.png"
    [ -f "$f" ] && { echo "$f"; return; }
    if [ "$1" = none ]; then
        convert -size 130x24 xc:black "$f"
    else
        convert -background black -fill white -font "$BUILD/fonts/arial.ttf" -pointsize 18 label:"Score: $1" \
            -gravity NorthWest -extent 130x24 "$f"
    fi
    echo "$f"
}
read_score() {
    local img=$1; shift
    local crop="$WORK/score-crop.png" best="" best_err=2 err c
    convert "$img" -crop 130x24+30+29 +repage "$crop"
    for c in "$@"; do
        err=$(compare -metric RMSE "$crop" "$(score_label "$c")" null: 2>&1 | sed -n 's/.*(\(.*\)).*/\1/p')
        if fcmp "$err < $best_err"; then best=$c; best_err=$err; fi
    done
    echo "$best"
}
