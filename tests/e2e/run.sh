#!/bin/sh
# Runs the end-to-end tests against a Windows build: tests/e2e/run.sh BUILD_DIR
# Needs wine, Xvfb and xdotool; extra arguments go to unittest (e.g. -k open).
set -eu
if [ $# -lt 1 ]; then
    echo "usage: $0 BUILD_DIR [unittest arguments]" >&2
    exit 2
fi
MQ_BUILD_DIR=$(cd "$1" && pwd)
export MQ_BUILD_DIR
shift
cd "$(dirname "$0")"
exec python3 -m unittest -v test_program test_learning test_install test_monkey "$@"
