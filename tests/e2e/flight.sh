# Flying as a player does: fire, thrust, brake, pause and steer, zoom, the grabbed mouse; closing the window quits.
# Screens are compared while the game is paused wherever possible: a paused frame is drawn the same every time,
# so "nothing changed" can be asked exactly and does not depend on how fast this machine renders.
source "$(dirname "$0")/lib.bash" "$1"
start_x
start_game
wait_window 30
wait_line '^SHIP 7 NOW HATES' 30 || fail "the game did not finish starting"
wait_first_frame
# Long enough for a few frames at the slowest.
settle() { sleep 1.2; }
# F, then two shots NAME-0 and NAME-1 taken SECONDS apart, in $first and $second.
toggle_pause() { xdotool key f; settle; first=$(shot "$1-0"); sleep "$2"; second=$(shot "$1-1"); }
settle

# Where the planet ahead is: the centre of the lit pixels in the top two thirds of the screen.
where() { lit_stats "$1" 800 380 0 0; }

# --- Firing: every click fires one shot, and each shot is worth one point. This comes first, before any computer
# pilot is near enough to hit planet 0, whose regrowth would add to the score.
score=0
img=$(shot fire-0)
[ "$(read_score "$img" none 0 1 2)" = 0 ] || fail "the score does not start at 0 ($img)"
for click in 1 2; do
    hold=0.2
    while :; do
        xdotool mousedown 1
        sleep "$hold"
        xdotool mouseup 1
        sleep 2.5 # well over the ten frames between two shots, so the next click is never held back
        img=$(shot "fire-$click-$hold")
        now=$(read_score "$img" $score $((score + 1)) $((score + 2)) $((score + 3)))
        [ "$now" = "$score" ] || break
        # Press and release fell into the same frame: hold longer.
        hold=$(awk "BEGIN { print $hold * 2 }")
        fcmp "$hold <= 1.6" || fail "clicking the fire button $click time(s) did not raise the score ($img)"
    done
    [ "$now" = $((score + 1)) ] || fail "click $click raised the score from $score to $now ($img)"
    score=$now
done
ok "two clicks, two shots: Score: 2"

# Holding the button goes on firing, a shot and a point every ten frames: the score climbs while it is held.
xdotool mousedown 1
climbed() {
    img=$(shot fire-held)
    now=$(read_score "$img" $(seq $score $((score + 6))))
    [ "$now" -ge $((score + 2)) ]
}
wait_until 40 climbed || { xdotool mouseup 1; fail "holding fire took the score only from $score to $now ($img)"; }
xdotool mouseup 1
ok "holding fire: score $score -> $now"
score=$now

# --- Pause: nothing moves, but the mouse still turns the view.
toggle_pause pause 1.5
p0=$first p1=$second
[ "$(pixels_changed "$p0" "$p1" 1%)" -le 20 ] || fail "the picture changed while paused ($p0 $p1)"
read -r _ x0 y0 <<<"$(where "$p0")"
xdotool mousemove_relative -- 100 0
settle
read -r _ x1 _ <<<"$(where "$(shot pause-right)")"
fcmp "$x1 < $x0 - 80" || fail "turning right did not move planet 0 left (centre x $x0 -> $x1)"
xdotool mousemove_relative -- -100 0
settle
back=$(shot pause-back)
[ "$(pixels_changed "$p0" "$back")" -le 4800 ] || fail "turning back left did not restore the view ($p0 $back)"
xdotool mousemove_relative -- 0 60
settle
read -r _ _ y2 <<<"$(where "$(shot pause-down)")"
fcmp "$y2 < $y0 - 40" || fail "moving the mouse down did not pitch the nose down (planet centre y $y0 -> $y2)"
xdotool mousemove_relative -- 0 -60
settle
ok "paused: the picture stands still and the mouse turns the view (planet 0 x $x0 -> $x1, y $y0 -> $y2)"

# --- Zoom, still paused, looking up and away from the planet so that the ship stands against the stars.
xdotool mousemove_relative -- 0 -300
settle
ship() { lit_stats "$1" 600 300 100 300 | cut -d' ' -f1; }
z0=$(shot zoom-default)
for i in $(seq 10); do xdotool click 5; done
settle
z2=$(shot zoom-out-10)
for i in 1 2 3; do xdotool click 5; done
settle
z3=$(shot zoom-out-13)
[ "$(pixels_changed "$z2" "$z3")" -le 20 ] || fail "the wheel zoomed out past the farthest view ($z2 $z3)"
s0=$(ship "$z0")
s2=$(ship "$z2")
fcmp "$s2 < 0.8 * $s0" || fail "zooming out did not make the ship smaller ($s0 -> $s2 lit pixels; $z0 $z2)"
# Thirteen steps in from the farthest view: ten to come back, three that must do nothing.
for i in $(seq 13); do xdotool click 4; done
settle
z4=$(shot zoom-back)
[ "$(pixels_changed "$z0" "$z4")" -le 20 ] || fail "zooming back in did not end at the nearest view ($z0 $z4)"
ok "wheel: ten steps out (ship $s0 -> $s2 lit pixels), no further either way, and back in"

# --- Mouse grab. Full screen keeps the pointer grabbed, whatever the game asks of the grab later (what F5 and
# Scroll Lock ask shows only in a window, where the unit tests check it): the mouse turns the view without end,
# also with the pointer at the screen's edge.
edge_turns() {
    xdotool mousemove 799 300
    settle
    local a b
    a=$(shot "edge-$1-a")
    xdotool mousemove_relative -- 60 0
    settle
    b=$(shot "edge-$1-b")
    [ "$(pixels_changed "$a" "$b")" -gt 20000 ]
}
edge_turns grabbed || fail "with the mouse grabbed, pushing at the screen's edge does not turn the view"
ok "grabbed: the mouse steers without end"

# --- Resume: F again, and the game moves on by itself (the planet ahead spins).
# Undo the push at the edge, then the look up, in reverse order, to face planet 0 again.
xdotool mousemove_relative -- -60 0
xdotool mousemove_relative -- 0 300
toggle_pause resume 2
[ "$(pixels_changed "$first" "$second")" -gt 500 ] || fail "nothing moved after F resumed the game ($first $second)"
ok "F resumes"

# --- Thrust and brake. The planet's width on screen stands for the distance to it (the distance is about
# proportional to one over the width). Two rows near its centre, above the ship; the narrower one is taken, so that
# a spark or a passing ship beside the disc cannot widen it.
width() { local a b; a=$(lit_span "$1" 270); b=$(lit_span "$1" 300); echo $((a < b ? a : b)); }
away() { awk "BEGIN { print 100000 / $1 }"; }

# W carries the ship toward planet 0, which grows.
w0=$(width "$(shot thrust-0)")
xdotool keydown w
grew() {
    w1=$(width "$(shot thrust-now)")
    [ "$w1" -ge $((w0 * 106 / 100)) ]
}
wait_until 40 grew || { xdotool keyup w; fail "planet 0 did not grow while W was held (width $w0 -> $w1)"; }
xdotool keyup w keydown space
ok "W: planet 0 grows (width $w0 -> $w1 pixels)"
w1=$(width "$(shot brake-0)") # where the thrust ended and the brake began

# Space held from there stops the ship within about twice the way it took to gain its speed (with a constant push
# from rest and 5 % drag a frame, whatever the frame rate); with only the usual 1 % it would drift on for five
# times that way and more.
prev=$w1
steady() {
    sleep 1.5
    w2=$(width "$(shot brake-now)")
    local moved=$((w2 - prev))
    prev=$w2
    [ "$moved" -le 2 ]
}
wait_until 60 steady || fail "the ship does not stop with Space held (width $w1 -> $w2)"
xdotool keyup space
thrust_way=$(awk "BEGIN { print $(away "$w0") - $(away "$w1") }")
brake_way=$(awk "BEGIN { print $(away "$w1") - $(away "$w2") }")
fcmp "$brake_way < 4 * $thrust_way" ||
    fail "Space took too long to stop the ship (way while thrusting $thrust_way, while braking $brake_way)"
ok "Space brakes: the ship stops (way while thrusting $thrust_way, while braking $brake_way; width $w1 -> $w2)"

# --- Closing the window as a window manager would ends the game with status 0.
wait_window 1
xprobe close "$WIN"
wait_exit 5 || fail "the game still runs 5 s after its window was closed"
[ "$GAME_RC" -eq 0 ] || fail "exit status $GAME_RC after closing the window"
has_window && fail "a game window is left after closing it"
ok "closing the window quits with status 0"
