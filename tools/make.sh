#!/bin/sh
# make, also where it is not installed yet: a fresh Debian has no make. Installs it with apt-get (as
# root, or through sudo), then runs make with the given targets from the top of the repository; the
# targets install the rest of what they need themselves.
#
#   sh tools/make.sh run     builds the game and plays it
#   sh tools/make.sh test    builds it and runs every test
set -eu
cd "$(dirname "$0")/.."
if ! command -v make >/dev/null 2>&1; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    echo "Installing make"
    $sudo apt-get update
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends make
fi
exec make "$@"
