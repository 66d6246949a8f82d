#!/usr/bin/env bash
# Builds the card file benchmarks (Release, no sanitizers), runs them side by side
# with pugixml, then measures from outside: peak resident memory of reading and of
# `mqdeck write` on the 100,000-card deck, and callgrind's instructions per byte
# of reading a 10,000-card deck; and the card tool's import and export.
# usage: bench/run.sh [BUILD_DIR] [benchmark options...]     (default: build/bench)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(dirname "$here")
build_dir=${1:-$source_dir/build/bench}
shift || true

cmake -S "$source_dir" -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DMQ_BENCH=ON \
    -DMQ_SANITIZE=OFF -DMQ_TESTS=OFF >/dev/null
cmake --build "$build_dir" -j2 --target card_file_bench import_bench mqdeck
bench=$build_dir/bench/card_file_bench
# Other work on the machine only ever slows a run down: the fastest of a few
# repetitions is the figure.
[ $# -gt 0 ] || set -- --benchmark_repetitions=3
"$bench" "$@"
"$build_dir/bench/import_bench" "$@"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$bench" --write-deck 100000 "$work/large.mqf"
"$bench" --write-deck 10000 "$work/small.mqf"
size=$(stat -c %s "$work/large.mqf")

echo
"$bench" --peak-memory "$work/large.mqf"

/usr/bin/time -f '%M' -o "$work/rss" "$build_dir/tools/mqdeck" write "$work/large.mqf" "$work/out.mqf"
cmp -s "$work/large.mqf" "$work/out.mqf" || echo "mqdeck write did not give the same bytes back"
awk -v kb="$(cat "$work/rss")" -v size="$size" 'BEGIN {
    printf "peak resident memory of mqdeck write: %.1f MB (%.2f x the file of %.1f MB)\n",
        kb * 1024 / 1e6, kb * 1024 / size, size / 1e6 }'

if command -v valgrind >/dev/null; then
    valgrind --tool=callgrind --callgrind-out-file="$work/callgrind.out" \
        --toggle-collect='readCardText*' "$bench" --read-once "$work/small.mqf" >/dev/null 2>&1
    instructions=$(sed -n 's/^totals: *\([0-9]*\).*/\1/p' "$work/callgrind.out")
    awk -v ir="$instructions" -v size="$(stat -c %s "$work/small.mqf")" 'BEGIN {
        printf "reading 10,000 cards: %d instructions, %.2f per byte\n", ir, ir / size }'
fi
