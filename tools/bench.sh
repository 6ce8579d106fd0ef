#!/usr/bin/env bash
# Builds gravimel-bench optimised and runs it in a virtual 800x600 display with silent sound.
#
# Usage: tools/bench.sh [-b build-folder] [benchmark flags ...]
#   -b  a build folder of its own, configured Release here (default build-bench)
#   Everything else goes to gravimel-bench, for instance --benchmark_filter=Render or
#   --benchmark_repetitions=9. By default every benchmark runs 5 times and the medians are summed
#   up at the end, each whole frame also as a multiple of an empty one timed in the same run.
#   gravimel-bench --frames_to=DIR writes four frames as raw RGB instead, for comparing two builds.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=$ROOT/build-bench
if [[ ${1:-} == -b ]]; then
    BUILD=$(realpath -m "$2")
    shift 2
fi

cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$BUILD" -j "${JOBS:-2}" --target gravimel-bench

# The game loads its images, font and sounds from the folder it runs in.
cd "$BUILD"
export ALSOFT_DRIVERS=null
exec xvfb-run -a -s "-screen 0 800x600x24" ./gravimel-bench \
    --benchmark_repetitions=5 --benchmark_report_aggregates_only=true "$@"
