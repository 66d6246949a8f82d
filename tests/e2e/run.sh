#!/bin/sh
# Runs the end-to-end tests against a Windows build: tests/e2e/run.sh BUILD_DIR
# Needs wine, Xvfb and xdotool; extra arguments go to unittest (e.g. -k open).
set -eu
. "$(dirname "$0")/build_dir.sh"
exec python3 -m unittest -v test_program test_learning test_schedule test_progress test_answer test_install test_monkey test_recovery test_merge "$@"
