# No sound device: the game says so on the audio line, ends with status 255 and leaves no window behind.
source "$(dirname "$0")/lib.bash" "$1"
start_x

# An output driver that does not exist stands for a machine without a sound device.
start_game "$BUILD" no-such-driver
wait_exit 60 || fail "the game still runs without a sound device"
[ "$GAME_RC" -eq 255 ] || fail "exit status $GAME_RC without a sound device, expected 255"
out=$(cat "$GAME_OUT")
[[ "$out" =~ ^Initializing\ audio\ engine\.\.\.\ FMOD\ error!\ \([0-9]+\)\ [^$'\n']+$ ]] ||
    fail "expected the audio line and the error on it, got: '$out'"
[ "$(wc -l <"$GAME_OUT")" -eq 1 ] || fail "more than one line: '$out'"
has_window && fail "a game window is left behind"
ok "no sound device: '$out', status 255"
