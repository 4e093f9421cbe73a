#!/usr/bin/env bash
# Installs what is missing, builds the simulator in Release and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release -j "$(nproc 2>/dev/null || echo 2)"

if [ -x build/release/gui/spssim ]; then
  exec build/release/gui/spssim
fi

echo "The desktop window of the simulator is not part of this build yet."
if [ -x build/release/cli/spsrun ]; then
  echo "Starting the headless runner spsrun on the demo script examples/demo.sps instead:"
  echo
  cd examples
  exec ../build/release/cli/spsrun demo.sps
fi
echo "The simulator core and its tests are built; run scripts/test.sh to exercise them."
