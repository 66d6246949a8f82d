#!/usr/bin/env bash
# Builds the Windows packages, each from the MinGW build of its kind: the
# installers Mnemoquill-VERSION-win32-setup.exe and -win64-setup.exe (NSIS) and
# the portable zips Mnemoquill-VERSION-win32.zip and -win64.zip, and prints
# their paths.
set -euo pipefail
source "$(dirname "$0")/env.sh"
cd "$MQ_ROOT"

bash scripts/setup.sh
pack() {  # build folder, toolchain file, win32 or win64
    echo "Building Mnemoquill.exe and mqdeck.exe ($3) ..."
    cmake -S . -B "$1" -DCMAKE_TOOLCHAIN_FILE="$2" -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$1" -j"$MQ_JOBS" --target Mnemoquill mqdeck >/dev/null
    echo "Packing ($3) ..."
    rm -f "$1/packages/Mnemoquill-"*"-$3-setup.exe" "$1/packages/Mnemoquill-"*"-$3.zip"
    (cd "$1" && cpack >/dev/null)
}
pack "$MQ_WIN32_BUILD" "$MQ_WIN32_TOOLCHAIN" win32
pack "$MQ_WIN64_BUILD" "$MQ_WIN64_TOOLCHAIN" win64
ls "$MQ_WIN32_BUILD/packages/Mnemoquill-"*"-win32-setup.exe" \
    "$MQ_WIN32_BUILD/packages/Mnemoquill-"*"-win32.zip" \
    "$MQ_WIN64_BUILD/packages/Mnemoquill-"*"-win64-setup.exe" \
    "$MQ_WIN64_BUILD/packages/Mnemoquill-"*"-win64.zip"
