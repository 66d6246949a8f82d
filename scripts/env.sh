# Shared settings for the scripts; sourced, never run.
MQ_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export MQ_ROOT
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG=-all
MQ_HOST_BUILD="$MQ_ROOT/build/host"
MQ_FUZZ_BUILD="$MQ_ROOT/build/fuzz"
MQ_JOBS="${MQ_JOBS:-$(nproc 2>/dev/null || echo 2)}"
# The products, each built in a folder of its own whatever this machine runs:
# the 32-bit program for every Windows, the 64-bit one for 64-bit Windows.
MQ_WIN32_BUILD="$MQ_ROOT/build/win"
MQ_WIN32_TOOLCHAIN="$MQ_ROOT/cmake/mingw-i686.cmake"
MQ_WIN64_BUILD="$MQ_ROOT/build/win64"
MQ_WIN64_TOOLCHAIN="$MQ_ROOT/cmake/mingw-x86_64.cmake"

# Some virtual machines cannot run 32-bit x86 code (the kernel answers "Exec format
# error"; with an emulator registered instead, 32-bit Wine fails to map its shared
# page or crawls). There the Windows tests run the 64-bit build under 64-bit
# Wine; elsewhere they run the 32-bit one. Decided once packages
# are in place: mq_select_wine sets MQ_WIN_ARCH, MQ_WIN_BUILD, MQ_WIN_TOOLCHAIN,
# WINEARCH and WINEPREFIX (MQ_WINEPREFIX moves the prefix).
mq_runs_32bit_natively() {
    local emulator
    for emulator in /proc/sys/fs/binfmt_misc/qemu-i386 /proc/sys/fs/binfmt_misc/i386*; do
        [ -e "$emulator" ] && grep -qx enabled "$emulator" 2>/dev/null && return 1
    done
    [ -x /lib/ld-linux.so.2 ] && /lib/ld-linux.so.2 --version >/dev/null 2>&1
}

mq_select_wine() {
    if [ -z "${MQ_WIN_ARCH:-}" ]; then
        if mq_runs_32bit_natively; then MQ_WIN_ARCH=i686; else MQ_WIN_ARCH=x86_64; fi
    fi
    export MQ_WIN_ARCH
    MQ_WIN_TOOLCHAIN="$MQ_ROOT/cmake/mingw-$MQ_WIN_ARCH.cmake"
    if [ "$MQ_WIN_ARCH" = i686 ]; then
        MQ_WIN_BUILD="$MQ_WIN32_BUILD"
        export WINEARCH=win32
        export WINEPREFIX="${MQ_WINEPREFIX:-$HOME/.cache/mnemoquill/wineprefix}"
    else
        MQ_WIN_BUILD="$MQ_WIN64_BUILD"
        export WINEARCH=win64
        export WINEPREFIX="${MQ_WINEPREFIX:-$HOME/.cache/mnemoquill/wineprefix64}"
        # Debian's wine launcher takes its 32-bit loader whenever that is
        # installed, runnable or not; these stand in for wine, wine-stable (which
        # wineboot and winepath call) and wineserver.
        local shim="$MQ_ROOT/build/wine64-shim"
        if [ ! -x "$shim/wine" ]; then
            mkdir -p "$shim"
            printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$shim/wine"
            printf '#!/bin/sh\nexec /usr/lib/wine/wineserver64 "$@"\n' >"$shim/wineserver"
            chmod +x "$shim/wine" "$shim/wineserver"
            ln -sf wine "$shim/wine-stable"
        fi
        case ":$PATH:" in *":$shim:"*) ;; *) export PATH="$shim:$PATH" ;; esac
        export WINELOADER=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64
    fi
    export MQ_E2E_WINEPREFIX="${MQ_E2E_WINEPREFIX:-$WINEPREFIX-e2e}"
}

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
