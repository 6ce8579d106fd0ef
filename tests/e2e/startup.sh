# Start-up as a player sees it: the printed lines, the window, the title image, then the first frames; Escape quits.
source "$(dirname "$0")/lib.bash" "$1"
start_x

# Before the game runs the server shows its own cursor; this makes sure the probe can tell a hidden one apart.
case "$(xprobe cursor)" in visible*) ;; *) fail "the cursor probe does not see the server's own cursor" ;; esac

start_game

watch_start_screens
log "screens in order:$SEEN"
case "$SEEN" in " title frame" | " blank title frame") ok "title image shown before the first frame" ;;
    *) fail "expected the title image before the first frame, saw:$SEEN (see $SHOT)" ;; esac

# The lines up to the computer pilots' first targets, exactly; every pilot picks some other ship at hate 5.
expect_startup_lines
for i in 0 1 2 3 4 5 6 7; do
    line=$(sed -n "$((8 + i))p" "$GAME_OUT")
    [[ "$line" =~ ^SHIP\ $i\ NOW\ HATES\ SHIP\ ([0-7])\ with\ hate\ at\ 5\ of\ 50!$ ]] ||
        fail "line $((8 + i)) should name ship $i's first target: '$line'"
    [ "${BASH_REMATCH[1]}" != "$i" ] || fail "ship $i hates itself: '$line'"
done
ok "start-up lines in order"

# One window, of the whole screen, the pointer held by the game and its cursor hidden.
[ "$(game_windows | wc -l)" -eq 1 ] || fail "expected one game window, found: $(game_windows | tr '\n' ' ')"
wait_window 1
geometry=$(xwininfo -id "$WIN")
screen=$(xdpyinfo | awk '/dimensions:/ { print $2 }')
grep -q 'Width: 800$' <<<"$geometry" && grep -q 'Height: 600$' <<<"$geometry" || fail "window is not 800x600"
grep -q 'Absolute upper-left X:  0$' <<<"$geometry" && grep -q 'Absolute upper-left Y:  0$' <<<"$geometry" &&
    [ "$screen" = 800x600 ] || fail "window does not cover the screen ($screen)"
[ "$(xprobe grab)" = grabbed ] || fail "the pointer is not grabbed"
case "$(xprobe cursor)" in hidden*) ;; *) fail "the cursor is visible over the game: $(xprobe cursor)" ;; esac
ok "one full-screen 800x600 window, pointer grabbed, cursor hidden"

# The first frames: planet 0 (blue and green) as a big disc ahead, the two health globes, "Score: 0".
sleep 1
img=$(shot first-frame)
read -r lit cx cy <<<"$(lit_stats "$img" 400 300 200 100)"
read -r core _ <<<"$(lit_stats "$img" 160 120 320 230)"
read -r left _ <<<"$(lit_stats "$img" 50 50 120 260)"
read -r right _ <<<"$(lit_stats "$img" 50 50 630 260)"
fcmp "$core > 0.85 * 19200 && $left < 750 && $right < 750 && $cx > 340 && $cx < 460 && $cy > 190 && $cy < 330" ||
    fail "no big lit disc ahead (core $core, sides $left $right, centre $cx,$cy; $img)"
rgb=$(convert "$img" -crop 160x120+320+230 +repage -format '%[fx:mean.r] %[fx:mean.b]' info:)
fcmp "${rgb% *} < ${rgb#* }" || fail "the disc ahead is not planet 0's blue (r b = $rgb)"
for globe in "41 519 left" "718 519 right"; do
    read -r gx gy side <<<"$globe"
    read -r glit _ <<<"$(lit_stats "$img" 40 40 "$gx" "$gy")"
    [ "$glit" -gt 1300 ] || fail "no health globe at the bottom $side ($glit of 1600 lit; $img)"
done
[ "$(read_score "$img" none 0 1 2 3 5 8)" = 0 ] || fail "the top left does not read 'Score: 0' ($img)"
ok "first frame: planet 0 ahead, both health globes, Score: 0"

# Escape ends the game at once with status 0 and takes the window with it.
xdotool key Escape
wait_exit 5 || fail "the game still runs 5 s after Escape"
[ "$GAME_RC" -eq 0 ] || fail "exit status $GAME_RC after Escape"
has_window && fail "a game window is left after exit"
ok "Escape quits with status 0"
