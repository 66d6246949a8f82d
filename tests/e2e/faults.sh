#!/bin/bash
# Runs the fault-injection tests against a Windows build:
#   tests/e2e/faults.sh BUILD_DIR [unittest arguments]
# Wine run as root ignores file modes, so as root the tests run as an ordinary
# user (MQ_FAULT_USER, default mqtester, created here) in a Wine prefix of its
# own, and a 1 MiB tmpfs stands in for a full disk. Whatever cannot
# be set up is said here, and the cases that need it are skipped.
set -u
. "$(dirname "$0")/build_dir.sh"
tests=(python3 -m unittest -v test_faults "$@")

if [ "$(id -u)" -ne 0 ]; then
    # File modes hold for this user; a full disk only where one is given.
    [ -n "${MQ_E2E_SMALL_DISK:-}" ] ||
        echo "skipping the full disk: not root, and MQ_E2E_SMALL_DISK names no small file system"
    exec "${tests[@]}"
fi

user=${MQ_FAULT_USER:-mqtester}
if ! id -u "$user" >/dev/null 2>&1 && ! useradd -m -s /bin/sh "$user"; then
    echo "skipping read-only cases: no user $user, and it could not be created"
    exec "${tests[@]}"
fi
home=$(getent passwd "$user" | cut -d: -f6)
group=$(id -g "$user")

# A prefix belongs to one user. A copy of root's takes seconds but leaves the file
# dialogs without a desktop to browse, so the harness makes it with wineboot, once.
prefix="$home/.cache/mnemoquill/e2e-prefix-${WINEARCH:-win32}"

disk=$(mktemp -d /tmp/mq-small-disk.XXXXXX)
chmod 755 "$disk"
if mount -t tmpfs -o "size=1m,uid=$(id -u "$user"),gid=$group,mode=0755" mq-small-disk "$disk"; then
    trap 'umount "$disk" && rmdir "$disk"' EXIT
else
    echo "skipping the full disk: no tmpfs could be mounted"
    rmdir "$disk"
    disk=
fi

runuser -u "$user" -- env HOME="$home" USER="$user" LOGNAME="$user" \
    WINEPREFIX="$prefix" MQ_E2E_WINEPREFIX="$prefix" MQ_E2E_SMALL_DISK="$disk" "${tests[@]}"
