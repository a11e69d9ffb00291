#!/usr/bin/env bash
# Sets up the machine, builds the release build and runs the demo. With a display it opens the
# window qxframe on the simulated flow monitor. Without one it runs the demo script (or the script
# given as the first argument) through the headless console qxflow-run, keeps its transcript in
# build/demo/, and saves beside it a picture of the window after the same script, drawn on Qt's
# offscreen platform.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release --target qxflow-run qxframe
script="${1:-data/scripts/teach_maxmin_fw1.qxs}"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec build/release/bin/qxframe
fi
mkdir -p build/demo
name=$(basename "$script" .qxs)
status=0
build/release/bin/qxflow-run "$script" | tee "build/demo/$name.out" || status=$?
QT_QPA_PLATFORM=offscreen build/release/bin/qxframe --script "$script" --speed 1000000 \
    --screenshot "build/demo/$name.png" --quit >/dev/null 2>"build/demo/$name.window.log" || true
echo "transcript: build/demo/$name.out"
if [ -s "build/demo/$name.png" ]; then
    echo "window after the script (no display, drawn offscreen): build/demo/$name.png"
else
    echo "no picture of the window: see build/demo/$name.window.log"
fi
exit "$status"
