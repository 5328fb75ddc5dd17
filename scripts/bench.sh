#!/usr/bin/env bash
# Benchmarks. First quarvel-cli timed from outside, one process per run:
#   - render of every corpus slide to an 800x600 PNG, beside netpbm's
#     "sldtoppm -adjust -width 800 | pnmtopng" on the same slides (the peer);
#   - names and info; a whole 2,000-slide library rendered in one process;
#     thumbnail of a 10,000-slide library; add and delete on that library
#     with their peak memory (both libraries are made by quarvel-cli itself
#     from the corpus slides).
# Then quarvel-bench (drawing and slide selection in the view; Google Benchmark).
#   QUARVEL_BUILD_DIR     build folder prefix (default: build; uses <dir>-bench)
#   QUARVEL_BENCH_FILTER  quarvel-bench --benchmark_filter (default: all)
#   QUARVEL_BENCH_CLI_ONLY=1  only the quarvel-cli figures
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
quarvel_install_missing "${QUARVEL_BUILD_PACKAGES[@]}" hyperfine time netpbm python3

build=${QUARVEL_BUILD_DIR:-build}-bench
corpus=$(cd ../shared/corpus && pwd)
quarvel_configure "$build" -DQUARVEL_BENCH=ON -DQUARVEL_TESTS=OFF
ninja -C "$build" quarvel-cli

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cli=$PWD/$build/cli/quarvel-cli
timing=bench/cli_timing.py
median() { python3 "$timing" each "$@"; }

echo "== quarvel-cli render, one process per slide (PNG 800x600), beside the peer"
mapfile -t corpus_slides < <(find "$corpus/sld" -type f -iname '*.sld' | sort)
python3 "$timing" render "$cli" "$work" "${corpus_slides[@]}"

echo
echo "== quarvel-cli names and info, one process each (target <= 5 ms)"
library=$corpus/slb/DOOR.SLB
echo "names DOOR.SLB:  $(median 30 "$cli" names "$library") ms"
echo "info DOOR.SLB:   $(median 30 "$cli" info "$library") ms"
echo "info 2CIR.SLD:   $(median 30 "$cli" info "$corpus/sld/2CIR.SLD") ms"

# Every corpus slide, the libraries' ones extracted by the tool.
pool=$work/pool
for lib in "$corpus"/slb/*; do
    "$cli" --codepage 936 extract "$lib" -o "$pool/$(basename "$lib")" > /dev/null 2>&1 || true
done
mapfile -t all_slides < <(find "$corpus/sld" "$pool" -type f -iname '*.sld' | sort)
python3 "$timing" links "$work/s2000" 2000 "${all_slides[@]}"
python3 "$timing" links "$work/s10000" 10000 "${all_slides[@]}"
"$cli" create "$work/lib2000.slb" "$work"/s2000/*.sld
"$cli" create "$work/lib10000.slb" "$work"/s10000/*.sld
"$cli" make-slide sample/door.txt -o "$work/NEW.sld"

echo
echo "== quarvel-cli render of a whole 2,000-slide library to PNG files in one process (target < 1.5 s)"
hyperfine --warmup 1 --runs 5 --prepare "rm -rf $work/png" "$cli render $work/lib2000.slb -o $work/png"

echo
size=$(stat -c %s "$work/lib10000.slb")
echo "== quarvel-cli on a 10,000-slide library of $size bytes"
echo "thumbnail 256:   $(median 30 "$cli" thumbnail "$work/lib10000.slb" "$work/thumb.png" 256) ms (target < 15 ms)"
echo "names:           $(median 10 "$cli" names "$work/lib10000.slb") ms"
/usr/bin/time -f "add one slide:    %e s, peak %M KB" "$cli" add "$work/lib10000.slb" "$work/NEW.sld"
/usr/bin/time -f "delete one slide: %e s, peak %M KB" "$cli" delete "$work/lib10000.slb" NEW

if [ "${QUARVEL_BENCH_CLI_ONLY:-0}" = 0 ]; then
    echo
    echo "== quarvel-bench"
    ninja -C "$build" quarvel-bench
    "$build/bench/quarvel-bench" --benchmark_filter="${QUARVEL_BENCH_FILTER:-.}"
fi
