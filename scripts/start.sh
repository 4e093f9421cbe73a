#!/usr/bin/env bash
# Installs what is missing, builds the simulator in Release and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release -j "$(nproc 2>/dev/null || echo 2)"

if [ -x build/release/gui/spssim ]; then
  if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec build/release/gui/spssim
  fi
  echo "No display here (neither DISPLAY nor WAYLAND_DISPLAY is set), so the simulator's window cannot open."
  if build/release/gui/spssim --steps 300 --screenshot build/screenshot.png examples/blink.awl; then
    echo "A screenshot of the window running examples/blink.awl is in $(pwd)/build/screenshot.png."
  else
    echo "The screenshot of the window could not be made."
  fi
fi

if [ -x build/release/cli/spsrun ]; then
  echo "Starting the headless runner spsrun on the demo script examples/demo.sps:"
  echo
  cd examples
  exec ../build/release/cli/spsrun demo.sps
fi
echo "The simulator core and its tests are built; run scripts/test.sh to exercise them."
