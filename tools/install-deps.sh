#!/usr/bin/env bash
# Installs the Debian packages the game, its tools and its tests need; does nothing when all are there.
set -euo pipefail

# libsdl1.2-compat-dev shares one install line with SDL_image and SDL_ttf so that apt satisfies their
# SDL 1.2 dependency with the maintained compatibility library, not the classic 1.2.15 one.
packages=(
  libsdl1.2-compat-dev libsdl-image1.2-dev libsdl-ttf2.0-dev
  libglu1-mesa-dev libopenal-dev libsndfile1-dev libstb-dev fonts-liberation
  googletest libgtest-dev libbenchmark-dev cmake g++ make pkg-config
  xvfb xauth xdotool imagemagick x11-utils
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${packages[@]}"
