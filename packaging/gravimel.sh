#!/bin/sh
# Starts Gravimel in its data folder, where it finds images/, fonts/ and sounds/.
# Both folders are found from this script's own place (<prefix>/games/gravimel), so the installed tree
# works wherever it was installed or staged.
prefix=$(dirname "$(dirname "$(readlink -f "$0")")")
cd "$prefix/share/games/gravimel" || exit 1
exec "$prefix/lib/games/gravimel/gravimel"
