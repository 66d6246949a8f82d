#!/usr/bin/env bash
# Builds the fuzz targets and runs each for its share of a bounded time; exits
# non-zero when the fuzzer finds a crash, a sanitizer report or a broken invariant.
# usage: fuzz/run.sh [BUILD_DIR] [SECONDS] [TARGET...]
#        (defaults: build/fuzz, 60 shared by all, card_reader and import)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(dirname "$here")
build_dir=$(mkdir -p "${1:-$source_dir/build/fuzz}" && cd "${1:-$source_dir/build/fuzz}" && pwd)
seconds=${2:-60}
targets=("${@:3}")
[ ${#targets[@]} -gt 0 ] || targets=(card_reader import)
share=$((seconds / ${#targets[@]}))
[ "$share" -gt 0 ] || share=1

cmake -S "$source_dir" -B "$build_dir" -DMQ_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER="${CXX:-clang++}" >/dev/null
cmake --build "$build_dir" -j2 --target "${targets[@]/%/_fuzz}"

for target in "${targets[@]}"; do
    case $target in
        card_reader) seeds=$here/corpus dict=$here/card_reader.dict ;;
        *) seeds=$here/${target}_corpus dict=$here/$target.dict ;;
    esac
    echo "== $target: $share seconds"
    # New inputs go to the build folder; the seeds in the repository stay as they are.
    mkdir -p "$build_dir/corpus/$target" "$build_dir/artifacts/$target"
    "$build_dir/fuzz/${target}_fuzz" "$build_dir/corpus/$target" "$seeds" \
        -dict="$dict" -max_total_time="$share" -max_len=4096 \
        -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$build_dir/artifacts/$target/" \
        -print_final_stats=1
done
