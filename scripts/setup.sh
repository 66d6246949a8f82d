#!/usr/bin/env bash
# Installs what building, running and testing Mnemoquill need on Debian, and
# prepares the Wine prefix. Does nothing that is already done.
set -euo pipefail
source "$(dirname "$0")/env.sh"

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }
has_package() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "ok installed"; }

packages=(cmake make g++ python3 googletest libgtest-dev libgmock-dev libbenchmark-dev
          clang libclang-rt-14-dev g++-mingw-w64-i686-posix binutils-mingw-w64-i686
          wine wine32:i386 xvfb x11-utils xdotool imagemagick nsis)
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

# Some virtual machines run no 32-bit x86 code (their guests have no compat
# mode): there 32-bit Wine runs under qemu's user-mode emulation, registered for
# 32-bit x86 programs with binfmt_misc. Wine needs the whole 32-bit address
# space reserved to map its shared page, hence the small wrapper.
# Debian 12's qemu 7.2 tracks guest pages one by one and takes a minute to start
# one Wine process; the backported qemu 10 takes a second.
if ! /usr/lib/wine/wineserver32 --version >/dev/null 2>&1; then
    if ! /usr/bin/qemu-i386-static --version 2>/dev/null | grep -q 'version \([89]\|[1-9][0-9]\)\.'; then
        release=()
        if grep -q bookworm /etc/os-release; then
            backports=/etc/apt/sources.list.d/bookworm-backports.sources
            if [ ! -e "$backports" ]; then
                printf '%s\n' 'Types: deb' 'URIs: http://deb.debian.org/debian' \
                    'Suites: bookworm-backports' 'Components: main' \
                    'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' |
                    as_root tee "$backports" >/dev/null
                as_root apt-get update -qq
            fi
            release=(-t bookworm-backports)
        fi
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${release[@]}" \
            qemu-user-static >/dev/null
    fi
    wrapper=/usr/local/lib/mnemoquill/qemu-i386-wine
    if [ ! -x "$wrapper" ]; then
        echo "Running 32-bit programs under qemu ($wrapper)"
        as_root mkdir -p "$(dirname "$wrapper")"
        printf '%s\n' '#!/bin/sh' \
            'QEMU_RESERVED_VA="${QEMU_RESERVED_VA:-0xffff0000}" exec /usr/bin/qemu-i386-static "$@"' |
            as_root tee "$wrapper" >/dev/null
        as_root chmod 755 "$wrapper"
    fi
    binfmt=/proc/sys/fs/binfmt_misc
    [ -e "$binfmt/register" ] || as_root mount -t binfmt_misc binfmt_misc "$binfmt"
    if [ ! -e "$binfmt/qemu-i386" ]; then
        magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
        mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
        echo ":qemu-i386:M::$magic:$mask:$wrapper:F" | as_root tee "$binfmt/register" >/dev/null
    fi
fi

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Preparing the Wine prefix in $WINEPREFIX"
    mkdir -p "$(dirname "$WINEPREFIX")"
    wineboot -i >/dev/null 2>&1
    wineserver -w
fi
