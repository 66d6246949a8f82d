#!/usr/bin/env bash
# Builds the card reader's fuzz target and runs it for a bounded time; exits
# non-zero when the fuzzer finds a crash, a sanitizer report or a broken invariant.
# usage: fuzz/run.sh [BUILD_DIR] [SECONDS]     (defaults: build/fuzz, 60)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(dirname "$here")
build_dir=$(mkdir -p "${1:-$source_dir/build/fuzz}" && cd "${1:-$source_dir/build/fuzz}" && pwd)
seconds=${2:-60}

cmake -S "$source_dir" -B "$build_dir" -DMQ_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER="${CXX:-clang++}" >/dev/null
cmake --build "$build_dir" -j2 --target card_reader_fuzz

# New inputs go to the build folder; the seeds in the repository stay as they are.
mkdir -p "$build_dir/corpus" "$build_dir/artifacts"
exec "$build_dir/fuzz/card_reader_fuzz" "$build_dir/corpus" "$here/corpus" \
    -dict="$here/card_reader.dict" -max_total_time="$seconds" -max_len=4096 \
    -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$build_dir/artifacts/" \
    -print_final_stats=1
