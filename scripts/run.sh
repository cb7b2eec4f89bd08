#!/usr/bin/env bash
# Installs what is missing, builds, makes the demo data bases (once) and starts
# the program on them, logged in as the demo user. Extra arguments replace the
# parameter text.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
. "$root/scripts/runtime-dir.sh"
"$root/scripts/build.sh"
server="$build/demo-server"
if [ ! -f "$server/BKDEMO.sqlite" ]; then
  "$build/demo/make-demo" "$server"
fi
if [ $# -eq 0 ]; then
  set -- "@Server=$server;@DbName=BKDEMO;@Usuario=demo;@Password=demo;@Caja=1"
fi
exec "$build/src/app/CorrigePrecios" "$@"
