#!/usr/bin/env bash
# Builds fuzz targets and runs each for a bounded time; exits non-zero when the
# fuzzer finds a crash, a sanitizer report or a broken check.
# usage: fuzz/run.sh [BUILD_DIR] [SECONDS] [TARGET...]   (defaults: build/fuzz, 60 shared by
#        all, card_reader and import)
# A target NAME is the CMake target NAME_fuzz; its seeds lie in corpus/NAME and
# its dictionary, if it has one, in NAME.dict.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(dirname "$here")
build_dir=$(mkdir -p "${1:-$source_dir/build/fuzz}" && cd "${1:-$source_dir/build/fuzz}" && pwd)
seconds=${2:-60}
shift $(($# < 2 ? $# : 2))
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(card_reader import)
share=$((seconds / ${#targets[@]}))
[ "$share" -gt 0 ] || share=1

cmake -S "$source_dir" -B "$build_dir" -DMQ_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER="${CXX:-clang++}" >/dev/null
for target in "${targets[@]}"; do
    cmake --build "$build_dir" -j2 --target "${target}_fuzz"
done

for target in "${targets[@]}"; do
    # New inputs go to the build folder; the seeds in the repository stay as they are.
    corpus=$build_dir/corpus/$target
    artifacts=$build_dir/artifacts/$target
    mkdir -p "$corpus" "$artifacts"
    options=(-max_total_time="$share" -max_len=4096 -timeout=10 -rss_limit_mb=2048
             -artifact_prefix="$artifacts/" -print_final_stats=1)
    [ -f "$here/$target.dict" ] && options+=(-dict="$here/$target.dict")
    seeds=()
    [ -d "$here/corpus/$target" ] && seeds+=("$here/corpus/$target")
    echo "== fuzzing $target for $share s"
    "$build_dir/fuzz/${target}_fuzz" "$corpus" "${seeds[@]}" "${options[@]}"
done
