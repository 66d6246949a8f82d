#!/usr/bin/env bash
# Builds Mnemoquill.exe and starts it under Wine. Without a display it starts a
# virtual one (Xvfb), opens the sample deck there, saves a screenshot and says
# where; the program then runs until you close it or press Ctrl+C.
set -euo pipefail
source "$(dirname "$0")/env.sh"
cd "$MQ_ROOT"

bash scripts/setup.sh
mq_select_wine
if [ "$MQ_WIN_ARCH" != i686 ]; then
    echo "This machine runs no 32-bit code: starting a 64-bit build of Mnemoquill under 64-bit Wine."
fi
echo "Building Mnemoquill.exe ..."
cmake -S . -B "$MQ_WIN_BUILD" -DCMAKE_TOOLCHAIN_FILE="$MQ_WIN_TOOLCHAIN" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$MQ_WIN_BUILD" -j"$MQ_JOBS" --target Mnemoquill >/dev/null
exe="$MQ_WIN_BUILD/shell/Mnemoquill.exe"

headless=0
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo -display "$DISPLAY" >/dev/null 2>&1; then
    headless=1
    mq_ensure_display
    echo "No display found: started a virtual display (Xvfb) on $DISPLAY."
fi

# Card files chosen later are backed up to mq_tmp.txt in the working folder.
workdir="${MQ_WORKDIR:-$PWD}"
cd "$workdir"
wine "$exe" &
program=$!
trap 'kill $program 2>/dev/null; wineserver -k 2>/dev/null; [ -n "${MQ_XVFB_PID:-}" ] && kill $MQ_XVFB_PID 2>/dev/null' EXIT

if [ "$headless" -eq 1 ]; then
    window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Mnemoquill$' | head -n 1)
    xdotool windowfocus --sync "$window"
    xdotool key ctrl+o
    timeout 30 xdotool search --sync --onlyvisible --name '^Open$' >/dev/null
    sleep 1
    xdotool type --delay 20 "$(winepath -w "$MQ_ROOT/samples/latin.mqf")"
    xdotool key Return
    timeout 30 xdotool search --sync --onlyvisible --name '^Mnemoquill: latin$' >/dev/null
    sleep 1
    shot="$MQ_ROOT/build/screenshot.png"
    import -window root -display "$DISPLAY" "$shot"
    echo "Mnemoquill is running on the virtual display $DISPLAY with samples/latin.mqf open."
    echo "Screenshot saved to $shot"
    echo "Press Ctrl+C to end it."
fi
wait $program
