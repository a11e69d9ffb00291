#!/usr/bin/env bash
# Sets up the machine, builds the console in the release build and runs the demo script through
# it (or the script given as the first argument).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release --target qxflow-run
exec build/release/bin/qxflow-run "${1:-data/scripts/teach_maxmin_fw1.qxs}"
