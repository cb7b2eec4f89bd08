#!/usr/bin/env bash
# Configures and builds everything into build/ (or $BUILD_DIR). The program's
# command and the test command both build through here, with warnings as
# errors as CI builds, so that either one after the other has nothing to do.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} -DCP_WERROR=ON \
  ${CMAKE_ARGS:-} >/dev/null
cmake --build "$build" -j "${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"
