#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need,
# when any is missing. Safe to run again.
set -euo pipefail
packages=(g++ cmake ninja-build pkg-config qt6-base-dev libsqlite3-dev unixodbc-dev tdsodbc
          libxlsxwriter-dev libgtest-dev libsqliteodbc odbc-mdbtools xdg-user-dirs python3-openpyxl
          qt6-translations-l10n fonts-liberation fonts-crosextra-carlito)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi
