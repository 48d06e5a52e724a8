#!/usr/bin/env bash
# Installs what the build, the program and the tests need, from Debian 12's own packages.
# Runs as root, or through sudo; installs only what is missing. Further packages may be named on
# the command line (scripts/windows.sh names the Windows build's).
set -euo pipefail
packages=(
    "$@"
    build-essential cmake ninja-build clang-format
    qt6-base-dev libqt6sql6-sqlite libqt6sql6-odbc
    unixodbc odbcinst libsqliteodbc tdsodbc libsqlite3-dev
    fonts-dejavu-core fonts-liberation2 xvfb xauth
    python3 python3-sqlglot
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
