#!/usr/bin/env bash
# Installs the Debian packages one task needs; does nothing when all are there.
# Usage: tools/install-deps.sh [play|deb|test]
#   play (default)  building the game and playing it
#   deb             the same, and packing it into a .deb (make deb)
#   test            the same, and the tests, benchmarks and screenshots
set -euo pipefail

# libsdl1.2-compat-dev shares one install line with SDL_image and SDL_ttf so that apt satisfies their
# SDL 1.2 dependency with the maintained compatibility library, not the classic 1.2.15 one.
play=(
  libsdl1.2-compat-dev libsdl-image1.2-dev libsdl-ttf2.0-dev
  libglu1-mesa-dev libopenal-dev libsndfile1-dev libstb-dev fonts-liberation
  cmake g++ make pkg-config
)
# cpack runs dpkg-shlibdeps (dpkg-dev) on what file says is a program.
deb=(dpkg-dev file)
tests=(
  googletest libgtest-dev libbenchmark-dev
  xvfb xauth xdotool imagemagick x11-utils
  lintian desktop-file-utils appstream
)

case "${1:-play}" in
play) packages=("${play[@]}") ;;
deb) packages=("${play[@]}" "${deb[@]}") ;;
test) packages=("${play[@]}" "${deb[@]}" "${tests[@]}") ;;
*)
  echo "usage: $0 [play|deb|test]" >&2
  exit 2
  ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${packages[@]}"
