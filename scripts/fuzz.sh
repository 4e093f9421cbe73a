#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer and runs them (docs/fuzzing.md).
#
#   scripts/fuzz.sh [TARGET] [SECONDS] [LIBFUZZER OPTION...]
#
# TARGET is program, operand, script or all (the default: each in turn).
# SECONDS is the time per target (default 60; 0 runs until an option such as
# -runs=N ends it). Further options go to libFuzzer as they stand.
# New inputs collect in build/fuzz/work/TARGET, findings in build/fuzz/findings;
# the seed corpus fuzz/corpus/TARGET is read, never written.
set -euo pipefail
cd "$(dirname "$0")/.."

target=${1:-all}
seconds=${2:-60}
shift $(( $# < 2 ? $# : 2 ))

case "$target" in
  program|operand|script) targets=("$target") ;;
  all) targets=(program operand script) ;;
  *) echo "usage: scripts/fuzz.sh [program|operand|script|all] [SECONDS] [LIBFUZZER OPTION...]" >&2; exit 2 ;;
esac
if ! [[ "$seconds" =~ ^[0-9]+$ ]]; then
  echo "fuzz.sh: SECONDS must be a number, not '$seconds'" >&2
  exit 2
fi

# clang and its runtime libraries (libFuzzer, the sanitizers).
scripts/install-deps.sh clang libclang-rt-dev

cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=Fuzz -DCMAKE_CXX_COMPILER=clang++ \
  -DSPS_BUILD_TESTS=OFF -DSPS_BUILD_BENCH=OFF >/dev/null
cmake --build build/fuzz -j 2 --target "${targets[@]/#/fuzz_}"

mkdir -p build/fuzz/findings
status=0
for name in "${targets[@]}"; do
  mkdir -p "build/fuzz/work/$name"
  limit=()
  if [ "$seconds" -gt 0 ]; then limit=(-max_total_time="$seconds"); fi
  echo "== fuzz_$name"
  # Absolute paths: the script target runs each input in a scratch folder,
  # and a finding must still reach the findings folder.
  build/fuzz/fuzz/fuzz_"$name" "${limit[@]}" -timeout=30 -rss_limit_mb=2048 -print_final_stats=1 \
    -dict="$PWD/fuzz/dict/$name.dict" -artifact_prefix="$PWD/build/fuzz/findings/$name-" "$@" \
    "$PWD/build/fuzz/work/$name" "$PWD/fuzz/corpus/$name" || status=$?
done
exit "$status"
