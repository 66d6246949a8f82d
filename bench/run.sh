#!/usr/bin/env bash
# Builds the benchmarks (Release, no sanitizers) and runs them: reading and
# writing card files, and the card tool's import and export.
# usage: bench/run.sh [BUILD_DIR] [benchmark options...]     (default: build/bench)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(dirname "$here")
build_dir=${1:-$source_dir/build/bench}
shift || true

cmake -S "$source_dir" -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DMQ_BENCH=ON \
    -DMQ_SANITIZE=OFF -DMQ_TESTS=OFF >/dev/null
cmake --build "$build_dir" -j2 --target card_file_bench import_bench
"$build_dir/bench/card_file_bench" "$@"
"$build_dir/bench/import_bench" "$@"
