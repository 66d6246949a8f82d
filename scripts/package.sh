#!/usr/bin/env bash
# Builds the Windows packages from the MinGW build: the installer
# Mnemoquill-VERSION-win32-setup.exe (NSIS) and the portable zip
# Mnemoquill-VERSION-win32.zip, and prints their paths.
set -euo pipefail
source "$(dirname "$0")/env.sh"
cd "$MQ_ROOT"

bash scripts/setup.sh
echo "Building Mnemoquill.exe and mqdeck.exe ..."
cmake -S . -B "$MQ_WIN32_BUILD" -DCMAKE_TOOLCHAIN_FILE="$MQ_WIN32_TOOLCHAIN" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$MQ_WIN32_BUILD" -j"$MQ_JOBS" --target Mnemoquill mqdeck >/dev/null
echo "Packing ..."
packages="$MQ_WIN32_BUILD/packages"
rm -f "$packages"/Mnemoquill-*-win32-setup.exe "$packages"/Mnemoquill-*-win32.zip
(cd "$MQ_WIN32_BUILD" && cpack >/dev/null)
ls "$packages"/Mnemoquill-*-win32-setup.exe "$packages"/Mnemoquill-*-win32.zip
