#!/usr/bin/env bash
# Builds the card file benchmarks (Release, no sanitizers), runs them side by side
# with pugixml, then measures from outside: peak resident memory of reading and of
# `mqdeck write` on the 100,000-card deck, and callgrind's instructions per byte
# of reading a 10,000-card deck, each for the ASCII, the Western (both code page
# 1252) and the several-scripts (UTF-8) deck, with a day on every card and
# without days; and
# the card tool's import and export.
# usage: bench/run.sh [BUILD_DIR] [benchmark options...]     (default: build/bench)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(dirname "$here")
build_dir=${1:-$source_dir/build/bench}
shift || true

cmake -S "$source_dir" -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DMQ_BENCH=ON \
    -DMQ_SANITIZE=OFF -DMQ_TESTS=OFF >/dev/null
cmake --build "$build_dir" -j2 --target card_file_bench import_bench undo_bench merge_bench mqdeck
bench=$build_dir/bench/card_file_bench
# Other work on the machine only ever slows a run down: the fastest of a few
# repetitions is the figure.
[ $# -gt 0 ] || set -- --benchmark_repetitions=3
"$bench" "$@"
"$build_dir/bench/import_bench" "$@"
"$build_dir/bench/undo_bench" "$@"
"$build_dir/bench/merge_bench" "$@"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
kinds=()
for kind in ascii cp1252 utf8; do
    option=--write-deck
    [ "$kind" = cp1252 ] || option=--write-deck-$kind
    for days in days nodays; do
        "$bench" "$option-$days" 100000 "$work/large-$kind-$days.mqf"
        "$bench" "$option-$days" 10000 "$work/small-$kind-$days.mqf"
        kinds+=("$kind-$days")
    done
done

for kind in "${kinds[@]}"; do
    large=$work/large-$kind.mqf
    echo
    "$bench" --peak-memory "$large"
    /usr/bin/time -f '%M' -o "$work/rss" "$build_dir/tools/mqdeck" write "$large" "$work/out.mqf"
    cmp -s "$large" "$work/out.mqf" || echo "mqdeck write did not give the same bytes back"
    awk -v kb="$(cat "$work/rss")" -v size="$(stat -c %s "$large")" -v kind="$kind" 'BEGIN {
        printf "peak resident memory of mqdeck write (%s): %.1f MB (%.2f x the file of %.1f MB)\n",
            kind, kb * 1024 / 1e6, kb * 1024 / size, size / 1e6 }'
done

if command -v valgrind >/dev/null; then
    echo
    # The file's reads and parsing apart, then the two together; and asking for
    # every text afterwards, which decodes a code page 1252 deck's texts.
    for kind in "${kinds[@]}"; do
        small=$work/small-$kind.mqf
        counts=()
        for part in 'readCardFileText*' 'readCardFile(*' '*lookAtEveryText*'; do
            valgrind --tool=callgrind --callgrind-out-file="$work/callgrind.out" \
                --toggle-collect="$part" "$bench" --read-once "$small" >/dev/null 2>&1
            counts+=("$(sed -n 's/^totals: *\([0-9]*\).*/\1/p' "$work/callgrind.out")")
        done
        awk -v read="${counts[0]}" -v parse="${counts[1]}" -v look="${counts[2]}" \
            -v size="$(stat -c %s "$small")" -v kind="$kind" 'BEGIN {
            printf "reading 10,000 cards (%s): %d instructions, %.2f per byte (read %.2f + parse %.2f);" \
                " every text asked for afterwards %.2f per byte\n", kind, read + parse,
                (read + parse) / size, read / size, parse / size, look / size }'
    done
fi
