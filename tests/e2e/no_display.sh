# No display to open: the game prints SDL's reason for the video start and for the window, then ends with status 1.
source "$(dirname "$0")/lib.bash" "$1"

GAME_OUT="$WORK/out.txt"
rc=0
(cd "$BUILD" && SDL_VIDEODRIVER=no-such-driver ALSOFT_DRIVERS=null exec timeout 30 ./gravimel) >"$GAME_OUT" 2>&1 || rc=$?
[ "$rc" -eq 1 ] || fail "exit status $rc without a display, expected 1"
out=$(cat "$GAME_OUT")
# The first line has no line feed of its own, so both reasons share one line.
[[ "$out" =~ ^SDL\ Error:\ [^$'\n']+SDL\ Error:\ [^$'\n']+$ ]] || fail "expected the two SDL error lines, got: '$out'"
[ "$(wc -l <"$GAME_OUT")" -eq 1 ] || fail "more than one line: '$out'"
ok "no display: '$out', status 1"
