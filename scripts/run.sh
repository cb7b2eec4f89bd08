#!/usr/bin/env bash
# Installs what is missing, builds, makes the demo data bases and starts the
# program on them, logged in as the demo user.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/scripts/build.sh"
exec "$build/src/app/CorrigePrecios" "$@"
