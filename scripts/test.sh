#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test under the offscreen platform.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
. "$root/scripts/runtime-dir.sh"
"$root/scripts/build.sh"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure --no-tests=error -j "${CTEST_PARALLEL_LEVEL:-$(nproc)}"
