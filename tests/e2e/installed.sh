# The game as a player installs it: staged with the install rules and started through its launcher from an
# unrelated folder, it finds its own images, font and sounds, shows the title and then the game, and Escape ends
# it with status 0.
source "$(dirname "$0")/lib.bash" "$1"

stage=$WORK/stage
DESTDIR=$stage cmake --install "$BUILD" --prefix /usr >"$WORK/install.txt" 2>&1 ||
    fail "installing into $stage failed: $(tail -5 "$WORK/install.txt")"
data=$stage/usr/share/games/gravimel
for d in images sounds; do
    diff <(cd "$BUILD/$d" && ls) <(cd "$data/$d" && ls) >"$WORK/diff.txt" ||
        fail "$d/ is not installed as built: $(cat "$WORK/diff.txt")"
done
[ -L "$data/fonts/arial.ttf" ] || fail "fonts/arial.ttf is not a link to the system's font"
# The font package, which the game's package depends on, puts the font where the link points.
font=$(readlink "$data/fonts/arial.ttf")
mkdir -p "$(dirname "$data/fonts/$font")"
ln -s /usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf "$data/fonts/$font"
ok "staged: program, launcher, images, sounds and the link to the font"

elsewhere=$WORK/elsewhere
mkdir "$elsewhere"
start_x
start_game "$elsewhere" null "$stage/usr/games/gravimel"

watch_start_screens
case "$SEEN" in " title frame" | " blank title frame") ;; *) fail "expected the title, then the game; saw:$SEEN" ;; esac
ok "screens in order:$SEEN"

expect_startup_lines
if grep -E 'could not load|Unable to' "$GAME_OUT"; then fail "an asset was not found"; fi
[ "$(game_windows | wc -l)" -eq 1 ] || fail "expected one game window"
ok "one window, the start-up lines, every asset found"

xdotool key Escape
wait_exit 5 || fail "the game still runs 5 s after Escape"
[ "$GAME_RC" -eq 0 ] || fail "exit status $GAME_RC after Escape"
[ -z "$(ls -A "$elsewhere")" ] || fail "the game left files in the folder it was started from: $(ls -A "$elsewhere")"
ok "Escape quits with status 0"
