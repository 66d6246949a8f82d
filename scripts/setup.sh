#!/usr/bin/env bash
# Installs what building, running and testing Mnemoquill need on Debian, and
# prepares the Wine prefix. Does nothing that is already done.
set -euo pipefail
source "$(dirname "$0")/env.sh"

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }
has_package() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "ok installed"; }

packages=(cmake make g++ python3 googletest libgtest-dev libgmock-dev libbenchmark-dev
          clang libclang-rt-14-dev g++-mingw-w64-i686-posix binutils-mingw-w64-i686
          g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
          wine wine32:i386 wine64 xvfb x11-utils xdotool imagemagick
          libpugixml-dev nsis
          # Faces the card panes draw other scripts with under Wine.
          fonts-dejavu-core fonts-wqy-zenhei)
missing=()
for p in "${packages[@]}"; do has_package "$p" || missing+=("$p"); done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        as_root dpkg --add-architecture i386
    fi
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi

mq_select_wine
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Preparing the Wine prefix in $WINEPREFIX ($WINEARCH)"
    mkdir -p "$(dirname "$WINEPREFIX")"
    wineboot -i >/dev/null 2>&1
    wineserver -w
fi
