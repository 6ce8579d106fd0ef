# The Debian package: built by cpack from the install rules, named for the project's version, depending on runtime
# libraries only, laid out as Debian lays out games, and clean for lintian, desktop-file-validate and appstreamcli.
source "$(dirname "$0")/lib.bash" "$1"

cpack --config "$BUILD/CPackConfig.cmake" -B "$WORK/pkg" >"$WORK/cpack.txt" 2>&1 ||
    fail "cpack failed: $(tail -5 "$WORK/cpack.txt")"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$BUILD/CMakeCache.txt")
deb=$WORK/pkg/gravimel_${version}_amd64.deb
[ -f "$deb" ] || fail "no $(basename "$deb"); cpack wrote: $(ls "$WORK/pkg")"
ok "built $(basename "$deb")"

# What apt will install with it: the libraries' runtime packages and the font, nothing to build or test with.
depends=$(dpkg-deb -f "$deb" Depends)
log "Depends: $depends"
for needed in fonts-liberation libsdl1.2-compat-shim libgl1 libsdl-image1.2 libsdl-ttf2.0-0 libopenal1 libsndfile1; do
    grep -qE "(^|, )$needed( |,|$)" <<<"$depends" || fail "$needed is not among the dependencies"
done
if tr ',|' '\n\n' <<<"$depends" | sed 's/^ *//; s/ .*//' |
    grep -E -- '-dev$|^(g\+\+|gcc|cpp|cmake|make|pkg-config|googletest|xvfb|xauth|xdotool|imagemagick|lintian)'; then
    fail "a build or test package among the dependencies"
fi
ok "runtime dependencies only"

root=$WORK/root
dpkg-deb -x "$deb" "$root"
for f in usr/games/gravimel usr/lib/games/gravimel/gravimel; do
    [ -x "$root/$f" ] || fail "$f is missing or not executable"
done
for f in usr/share/games/gravimel/images/stars.jpg usr/share/games/gravimel/sounds/background.mp3 \
    usr/share/applications/gravimel.desktop usr/share/metainfo/com.pellworth.gravimel.metainfo.xml \
    usr/share/man/man6/gravimel.6.gz usr/share/doc/gravimel/copyright usr/share/doc/gravimel/changelog.gz; do
    [ -f "$root/$f" ] || fail "$f is missing"
done
link=$(readlink "$root/usr/share/games/gravimel/fonts/arial.ttf") || fail "fonts/arial.ttf is not a link"
[ "$(realpath -m "/usr/share/games/gravimel/fonts/$link")" = /usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf ] ||
    fail "fonts/arial.ttf points to $link, not to Liberation Sans"
for size in 256 48; do
    icon=$root/usr/share/icons/hicolor/${size}x${size}/apps/gravimel.png
    [ "$(identify -format '%m %wx%h' "$icon" 2>&1)" = "PNG ${size}x${size}" ] || fail "no ${size}x${size} PNG icon"
done
ok "laid out as a Debian game"

desktop-file-validate "$root/usr/share/applications/gravimel.desktop" >"$WORK/desktop.txt" 2>&1 ||
    fail "desktop-file-validate: $(cat "$WORK/desktop.txt")"
[ ! -s "$WORK/desktop.txt" ] || fail "desktop-file-validate: $(cat "$WORK/desktop.txt")"
appstreamcli validate --no-net --pedantic "$root/usr/share/metainfo/com.pellworth.gravimel.metainfo.xml" \
    >"$WORK/appstream.txt" 2>&1 || fail "appstreamcli: $(cat "$WORK/appstream.txt")"
ok "desktop entry and AppStream data valid"

lintian --pedantic --fail-on error,warning "$deb" >"$WORK/lintian.txt" 2>&1 ||
    fail "lintian: $(grep -v 'root privileges' "$WORK/lintian.txt")"
ok "lintian: no errors or warnings"
