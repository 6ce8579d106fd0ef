#!/usr/bin/env bash
# Builds gravimel-bench optimised and runs it in a virtual 800x600 display with silent sound, twice: on
# Mesa's llvmpipe, and on Mesa's no-op driver for the frames.
#
# Usage: tools/bench/bench.sh [-b build-folder] [benchmark flags ...]
#   -b  a build folder of its own, configured Release here (default build-bench)
#   Everything else goes to both runs of gravimel-bench, for instance --benchmark_filter=Render or
#   --benchmark_repetitions=9. By default every benchmark runs 5 times and the medians are summed
#   up at the end, each whole frame also as a multiple of an empty one timed in the same run.
#   gravimel-bench --frames_to=DIR writes four frames as raw RGB instead, for comparing two builds.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
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
bench() {
    xvfb-run -a -s "-screen 0 800x600x24" ./gravimel-bench \
        --benchmark_repetitions=5 --benchmark_report_aggregates_only=true "$@"
}

echo "== Mesa's llvmpipe: the software rasteriser draws, and dominates every frame"
bench "$@"

# The no-op driver takes every GL call and draws nothing: a frame's CPU time there is what a machine
# whose GPU draws still pays on its CPU. Its buffers come and go every frame; the malloc thresholds keep
# them in the heap, so that the churn does not turn into page faults that a real driver would not cause.
echo
echo "== Mesa's no-op driver: frames in CPU time as on a machine whose GPU draws, beside the heaviest update"
GALLIUM_NOOP=1 MALLOC_MMAP_THRESHOLD_=2000000000 MALLOC_TRIM_THRESHOLD_=4000000000 MALLOC_TOP_PAD_=268435456 \
    bench --benchmark_filter='^(Update/Heaviest|EmptyFrame|Frame/)' "$@"
