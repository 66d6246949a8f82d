# Shared settings for the scripts; sourced, never run.
MQ_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export MQ_ROOT
# The Wine prefix lives outside the repository.
export WINEPREFIX="${MQ_WINEPREFIX:-$HOME/.cache/mnemoquill/wineprefix}"
export WINEARCH=win32
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG=-all
MQ_HOST_BUILD="$MQ_ROOT/build/host"
MQ_WIN_BUILD="$MQ_ROOT/build/win"
MQ_FUZZ_BUILD="$MQ_ROOT/build/fuzz"
MQ_JOBS="${MQ_JOBS:-$(nproc 2>/dev/null || echo 2)}"

# Starts Xvfb on a free display when there is no display; sets DISPLAY.
mq_ensure_display() {
    if [ -n "${DISPLAY:-}" ] && xdpyinfo -display "$DISPLAY" >/dev/null 2>&1; then
        return 0
    fi
    local n
    for n in $(seq 90 120); do
        if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
            Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
            MQ_XVFB_PID=$!
            export DISPLAY=":$n"
            local i
            for i in $(seq 1 50); do
                xdpyinfo -display "$DISPLAY" >/dev/null 2>&1 && return 0
                sleep 0.1
            done
            echo "Xvfb did not start on $DISPLAY" >&2
            return 1
        fi
    done
    echo "no free display number for Xvfb" >&2
    return 1
}
