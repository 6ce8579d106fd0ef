#!/usr/bin/env bash
# Fuzzes the image, font and sound loaders with libFuzzer, a bounded time each; fails on any crash.
#
#   tools/fuzz/fuzz.sh [seconds per harness, default 60] [image|font|sound ...]
#
# Builds with clang (ASan + UBSan + libFuzzer) into build-fuzz-clang/ (FUZZ_BUILD overrides), writes
# fresh seeds there, keeps each harness's growing corpus in <build>/fuzz/corpus/<name>/ and any input
# that crashes in <build>/fuzz/crashes/. Rerun one input: <build>/fuzz_image <file>.
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
seconds=${1:-60}
shift || true
names=("$@")
[ ${#names[@]} -gt 0 ] || names=(image font sound)
build=${FUZZ_BUILD:-$root/build-fuzz-clang}
jobs=${FUZZ_JOBS:-2}

case $seconds in '' | *[!0-9]*) echo "fuzz.sh: seconds must be a whole number, not '$seconds'" >&2; exit 2 ;; esac
targets=()
for name in "${names[@]}"; do
  case $name in image | font | sound) targets+=("fuzz_$name") ;;
  *) echo "fuzz.sh: no harness '$name' (image, font, sound)" >&2; exit 2 ;; esac
done
for tool in clang-14 clang++-14 cmake xvfb-run; do
  command -v $tool > /dev/null || { echo "fuzz.sh: $tool is missing (apt-get install -y clang-14 libclang-rt-14-dev xvfb)" >&2; exit 2; }
done

cmake -S "$root" -B "$build" -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGRAVIMEL_FUZZ=ON > /dev/null
cmake --build "$build" -j "$jobs" --target make_seeds "${targets[@]}"

work=$build/fuzz
rm -rf "$work/seeds"
mkdir -p "$work/crashes" "$work/tmp"
"$build/make_seeds" "$work/seeds"

export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=1:detect_leaks=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/tools/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export TMPDIR=$work/tmp
failed=()
for name in "${names[@]}"; do
  corpus=$work/corpus/$name
  mkdir -p "$corpus"
  # A single allocation over 600 MB counts as a crash: the largest image we accept needs 256 MB.
  run=("$build/fuzz_$name" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 -malloc_limit_mb=600
       -print_final_stats=1 -artifact_prefix="$work/crashes/$name-" "$corpus" "$work/seeds/$name")
  # The font harness builds a HUD renderer for every input, which prints its start-up lines each time.
  [ "$name" = font ] && run=(xvfb-run -a -s "-screen 0 1024x768x24" "${run[@]}" -close_fd_mask=1)
  echo "== fuzz_$name for $seconds s (log: $work/$name.log)"
  if (cd "$work" && "${run[@]}") > "$work/$name.log" 2>&1; then
    grep -E '^stat::number_of_executed_units|^stat::new_units_added' "$work/$name.log" | sed 's/^/   /' || true
  else
    failed+=("$name")
    grep -E 'ERROR|SUMMARY|Test unit written' "$work/$name.log" | sed 's/^/   /' || true
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz.sh: crashes in: ${failed[*]} (inputs in $work/crashes/)" >&2
  exit 1
fi
echo "fuzz.sh: no crashes"
