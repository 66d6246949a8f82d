#!/usr/bin/env bash
# Installs what is missing, builds every build and runs every test: the core's
# unit tests natively (with sanitizers) and cross-built under Wine, the card
# tool's tests, the end-to-end tests of the real program under Wine on Xvfb and
# a bounded fuzz run of the card reader. Ends with "N passed, N failed".
set -uo pipefail
source "$(dirname "$0")/env.sh"
cd "$MQ_ROOT"

bash scripts/setup.sh || { echo "0 passed, 1 failed"; exit 1; }
mq_select_wine

passed=0
failed=0
logs="$MQ_ROOT/build/test-logs"
rm -rf "$logs"
mkdir -p "$logs"

record() {  # label passed failed
    echo "== $1: $2 passed, $3 failed"
    passed=$((passed + $2))
    failed=$((failed + $3))
}

step() {  # label command... : a step that passes or fails as a whole
    local label=$1
    shift
    if "$@" >"$logs/$label.log" 2>&1; then
        record "$label" 1 0
    else
        tail -n 40 "$logs/$label.log"
        record "$label" 0 1
        return 1
    fi
}

gtest() {  # label runner... program : runs one GoogleTest program and counts its tests
    local label=$1
    shift
    local json="$logs/$label.json"
    local rc=0
    (cd "$logs" && "$@" --gtest_output="json:$label.json" >"$label.log" 2>&1) || rc=$?
    local counts
    counts=$(python3 scripts/gtest_counts.py "$json")
    set -- $counts
    if [ "$rc" -ne 0 ] && [ "$2" -eq 0 ]; then set -- "$1" 1; fi
    [ "$2" -eq 0 ] || grep -E '^\[  FAILED|Failure|ERROR|runtime error' "$logs/$label.log" | head -n 40
    record "$label" "$1" "$2"
}

e2e() {  # label script : runs one end-to-end suite on the tested build and counts its tests
    local label=$1
    local rc=0
    bash "$2" "$MQ_WIN_BUILD" >"$logs/$label.log" 2>&1 || rc=$?
    grep -E "^skipping|skipped '" "$logs/$label.log"
    local counts
    counts=$(python3 scripts/unittest_counts.py "$logs/$label.log")
    set -- $counts
    if [ "$rc" -ne 0 ] && [ "$2" -eq 0 ]; then set -- "$1" 1; fi
    [ "$2" -eq 0 ] || grep -E -A15 '^(FAIL|ERROR):' "$logs/$label.log" | head -n 80
    record "$label" "$1" "$2"
}

echo "== Host build (sanitizers on)"
if step host-build bash -c "cmake -S . -B '$MQ_HOST_BUILD' -DCMAKE_BUILD_TYPE=Debug -DMQ_SANITIZE=ON >/dev/null && cmake --build '$MQ_HOST_BUILD' -j$MQ_JOBS"; then
    for t in "$MQ_HOST_BUILD"/tests/mq_*_tests; do
        gtest "host-$(basename "$t")" "$t"
    done
    step host-tool-tests ctest --test-dir "$MQ_HOST_BUILD" -R "^mqdeck$" --no-tests=error --output-on-failure
fi

# Some warnings come only from the optimiser's analysis (a format that may be cut,
# a value that may be used unset). Compiled, tests included, not run again.
echo "== Host build, optimised (Release, no sanitizers)"
step host-release-build bash -c "cmake -S . -B '$MQ_ROOT/build/host-release' -DCMAKE_BUILD_TYPE=Release -DMQ_SANITIZE=OFF >/dev/null && cmake --build '$MQ_ROOT/build/host-release' -j$MQ_JOBS"

win_build() {  # build folder, toolchain file
    cmake -S . -B "$1" -DCMAKE_TOOLCHAIN_FILE="$2" -DCMAKE_BUILD_TYPE=Release >/dev/null &&
        cmake --build "$1" -j"$MQ_JOBS"
}
export -f win_build

if [ "$MQ_WIN_ARCH" != i686 ]; then
    # The 32-bit program is still built, checked to be a 32-bit GUI program and
    # packed; the tests run on the 64-bit build below and install its package.
    echo "== Windows build and packages of the 32-bit program (MinGW-w64, i686; not run: this machine runs no 32-bit code)"
    step win32-build bash -c "win_build '$MQ_WIN32_BUILD' '$MQ_WIN32_TOOLCHAIN' >/dev/null &&
        i686-w64-mingw32-objdump -p '$MQ_WIN32_BUILD/shell/Mnemoquill.exe' |
        grep -q 'Subsystem.*Windows GUI' &&
        cd '$MQ_WIN32_BUILD' && rm -f packages/Mnemoquill-* && cpack >/dev/null"
fi

echo "== Windows build (MinGW-w64, $MQ_WIN_ARCH), tested under Wine ($WINEARCH)"
if step win-build win_build "$MQ_WIN_BUILD" "$MQ_WIN_TOOLCHAIN"; then
    for t in "$MQ_WIN_BUILD"/tests/mq_*_tests.exe; do
        gtest "wine-$(basename "$t" .exe)" wine "$t"
    done
    step wine-tool-tests ctest --test-dir "$MQ_WIN_BUILD" -R "^mqdeck$" --no-tests=error --output-on-failure
    # The installer and the portable zip; the end-to-end tests install the former.
    step win-package bash -c "cd '$MQ_WIN_BUILD' && rm -f packages/Mnemoquill-* && cpack"
    # The end-to-end tests start a virtual display of their own, so real key
    # presses never reach a desktop you are working on.
    [ -f tests/e2e/run.sh ] && e2e e2e tests/e2e/run.sh
    # Saving against a read-only, full, held or vanished file, as an ordinary user.
    [ -f tests/e2e/faults.sh ] && e2e e2e-faults tests/e2e/faults.sh
fi

if [ -f fuzz/run.sh ]; then
    echo "== Fuzzing the card reader"
    step fuzz bash fuzz/run.sh "$MQ_FUZZ_BUILD" "${MQ_FUZZ_SECONDS:-60}"
fi

wineserver -k >/dev/null 2>&1 || true
echo "Logs are in $logs"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
