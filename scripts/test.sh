#!/usr/bin/env bash
# Builds everything and runs all tests, in the developer build and in the sanitizer build; then
# replays the fuzz corpora and fuzzes each parser briefly.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
for preset in dev asan; do
    echo "=== $preset build ==="
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
    ctest --preset "$preset" -j2
done
echo "=== fuzz targets ==="
scripts/fuzz.sh 30
