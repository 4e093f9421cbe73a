#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: the unit tests and the
# scenario tests in a Release build, then the whole suite again under
# AddressSanitizer and UndefinedBehaviorSanitizer, then the suite of the core
# without the desktop program (-DSPS_BUILD_GUI=OFF, as where Qt is missing).
# The benchmarks are built and run briefly for their output, not measured
# (see docs/benchmarks.md).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

jobs=$(nproc 2>/dev/null || echo 2)

run_suite() {
  local dir=$1 type=$2 bench=$3
  shift 3
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type" -DSPS_WERROR=ON -DSPS_BUILD_BENCH="$bench" "$@"
  cmake --build "$dir" -j "$jobs"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs"
}

run_suite build/release Release ON
run_suite build/sanitize Sanitize OFF
run_suite build/core Release OFF -DSPS_BUILD_GUI=OFF
echo "All tests passed (Release, sanitizer and core-only builds)."
