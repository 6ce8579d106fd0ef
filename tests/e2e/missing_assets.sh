# Each asset folder missing in turn: the game says what it could not load (sounds go silent without a word)
# and plays on.
source "$(dirname "$0")/lib.bash" "$1"
start_x

# A folder like the build folder, less one of its asset folders.
without() {
    local dir="$WORK/without-$1" d
    mkdir -p "$dir"
    ln -sf "$BUILD/gravimel" "$dir/gravimel"
    for d in images fonts sounds; do [ "$d" = "$1" ] || ln -sfn "$BUILD/$d" "$dir/$d"; done
    echo "$dir"
}

audio_lines="Initializing audio engine... Initialized audio engine successfully.
Initializing background music...
Initializing sounds...
Initializing sound effects..."
font_lines="Initializing font engine...
Loading font fonts/arial.ttf...
Loading font fonts/arial.ttf..."
planet_maps=(earth mercury venus mars jupiter saturn uranus neptune)

# The lines through the last first-target line, with each "Reason: ..." text and each target replaced by a mark:
# those come from the image library and the random draw.
opening() {
    sed -n '1,/^SHIP 7 NOW HATES/p' "$GAME_OUT" |
        sed -E 's/^(Error: could not load [^ ]+)\. Reason: .+\. Ignoring\.\.\.$/\1. Reason: R. Ignoring.../;
                s/^(SHIP [0-7] NOW HATES SHIP )[0-7]( with hate at 5 of 50!)$/\1T\2/'
}

# Starts the game from a folder, waits for its frames, and checks that it goes on drawing and answering the mouse
# (without images nothing on screen moves by itself: every surface is plain).
play_from() {
    start_game "$1"
    wait_line '^SHIP 7 NOW HATES' 40 || fail "the game did not finish starting without $2/"
    wait_first_frame
    sleep 1.5
    local a b
    a=$(shot "without-$2-a")
    xdotool mousemove_relative -- 80 0
    sleep 2
    b=$(shot "without-$2-b")
    game_alive || fail "the game ended without $2/"
    [ "$(pixels_changed "$a" "$b")" -gt 2000 ] || fail "the view does not turn without $2/ ($a $b)"
    FRAME=$b
}

quit() {
    xdotool key Escape
    wait_exit 10 || fail "the game without $1/ did not end on Escape"
    [ "$GAME_RC" -eq 0 ] || fail "exit status $GAME_RC on Escape without $1/"
}

# --- images/: one line per image, in the order the game first needs them; every picture drawn plain.
play_from "$(without images)" images
expected="Error: could not load images/titlescreen.jpg. Reason: R. Ignoring...
$audio_lines
$font_lines
Error: could not load images/stars.jpg. Reason: R. Ignoring..."
for n in 0 1 2 3 4 5 6 7; do
    expected="$expected
Error: could not load images/map-${planet_maps[$n]}.jpg. Reason: R. Ignoring..."
    # The first ship to be set up loads the shared health-globe and smoke images.
    [ "$n" -eq 0 ] && expected="$expected
Error: could not load images/map-moon.jpg. Reason: R. Ignoring...
Error: could not load images/smoketrail.tga. Reason: R. Ignoring..."
    expected="$expected
SHIP $n NOW HATES SHIP T with hate at 5 of 50!"
done
[ "$(opening)" = "$expected" ] || fail "lines without images/ differ: $(diff <(echo "$expected") <(opening) || true)"
quit images
for f in titlescreen.jpg stars.jpg map-moon.jpg smoketrail.tga particlealphanormal.tga particlealphacircle.tga; do
    [ "$(grep -c "^Error: could not load images/$f\." "$GAME_OUT" || true)" -le 1 ] || fail "images/$f was tried twice"
done
ok "without images/: one error line per image, and the game plays on"

# --- fonts/: the two font lines, and no score drawn.
play_from "$(without fonts)" fonts
expected="$audio_lines
Initializing font engine...
Loading font fonts/arial.ttf...
Unable to load font from fonts/arial.ttf: E
Loading font fonts/arial.ttf...
Unable to load font from fonts/arial.ttf: E"
actual=$(opening | sed -E 's/^(Unable to load font from fonts\/arial\.ttf: ).+$/\1E/' | grep -v '^SHIP')
[ "$actual" = "$expected" ] || fail "lines without fonts/ differ: $(diff <(echo "$expected") <(echo "$actual") || true)"
[ "$(read_score "$FRAME" none 0 1 2)" = none ] || fail "a score is drawn without a font ($FRAME)"
quit fonts
ok "without fonts/: the two font lines, no text, and the game plays on"

# --- sounds/: exactly the usual lines, nothing about sound, and the game plays on in silence.
play_from "$(without sounds)" sounds
sleep 2
quit sounds
[ "$(opening | grep -v '^SHIP')" = "$audio_lines
$font_lines" ] || fail "lines without sounds/ differ from the usual start: $(opening)"
grep -qi 'sound\|\.mp3\|\.wav' <(sed '1,/^SHIP 7 NOW HATES/d' "$GAME_OUT") && fail "a line about sounds without sounds/"
ok "without sounds/: no line about it, and the game plays on"
