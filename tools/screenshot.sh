#!/usr/bin/env bash
# Takes a picture of the game in play from the real renderer: runs the built game under a private X server,
# flies forward firing, and saves what the screen shows.
# Usage: tools/screenshot.sh [build folder, default build] [picture, default <build folder>/screenshot.png]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
out=${2:-$build/screenshot.png}
case "$out" in /*) ;; *) out="$PWD/$out" ;; esac
[ -x "$build/gravimel" ] || { echo "screenshot: $build/gravimel is not built" >&2; exit 1; }

if [ -z "${SCREENSHOT_INNER:-}" ]; then
    # Exactly the game's size, so the picture is the game's own 800 x 600 pixels.
    SCREENSHOT_INNER=1 exec xvfb-run -a -s "-screen 0 800x600x24 -nolisten tcp" bash "$0" "$build" "$out"
fi

work=$(mktemp -d)
game=""
finish() {
    [ -n "$game" ] && kill "$game" 2>/dev/null
    rm -rf "$work"
}
trap finish EXIT

(cd "$build" && SDL_VIDEODRIVER=x11 ALSOFT_DRIVERS=null exec ./gravimel) >"$work/out.txt" 2>&1 &
game=$!

# The title image stays up until the first frame; wait for the score text to appear at the top left.
deadline=$((SECONDS + 90))
until import -silent -window root "$work/now.png" 2>/dev/null &&
    [ "$(convert "$work/now.png" -crop 60x16+30+32 +repage -colorspace Gray -format '%[fx:mean > 0.15 && mean < 0.6]' info:)" = 1 ] &&
    [ "$(compare -metric RMSE "$work/now.png" "$build/images/titlescreen.jpg" null: 2>&1 | sed -n 's/.*(\(.*\)).*/\1/p' |
        awk '{ print ($1 > 0.15) }')" = 1 ]; do
    kill -0 "$game" 2>/dev/null || { echo "screenshot: the game ended" >&2; cat "$work/out.txt" >&2; exit 1; }
    [ "$SECONDS" -lt "$deadline" ] || { echo "screenshot: no game frame" >&2; exit 1; }
    sleep 0.5
done

# Turn a little off the planet's centre, fly toward it and fire; catch the bolts in flight.
xdotool mousemove_relative -- 25 -10
xdotool keydown w
sleep 2
xdotool mousedown 1
sleep 0.6
import -silent -window root "$out"
xdotool mouseup 1
xdotool keyup w
xdotool key Escape
wait "$game" 2>/dev/null || true
game=""
echo "screenshot: $out"
