#!/usr/bin/env bash
# Benchmarks: quarvel-bench (decoding, library operations, drawing), then
# quarvel-cli timed from outside: peak memory of an add and a delete on a
# 10,000-slide 50 MB library, rendering one slide per process, and a whole
# 783-slide library in one process.
#   QUARVEL_BUILD_DIR     build folder prefix (default: build; uses <dir>-bench)
#   QUARVEL_BENCH_FILTER  quarvel-bench --benchmark_filter (default: all)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
quarvel_install_missing "${QUARVEL_BUILD_PACKAGES[@]}" hyperfine time

build=${QUARVEL_BUILD_DIR:-build}-bench
corpus=../shared/corpus
quarvel_configure "$build" -DQUARVEL_BENCH=ON -DQUARVEL_TESTS=OFF
ninja -C "$build" quarvel-bench quarvel-benchlib quarvel-cli

"$build/bench/quarvel-bench" --benchmark_filter="${QUARVEL_BENCH_FILTER:-.}"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cli=$build/cli/quarvel-cli
"$build/bench/quarvel-benchlib" generated "$work/big.slb"
"$build/bench/quarvel-benchlib" slide "$work/NEW.sld"
"$build/bench/quarvel-benchlib" corpus "$work/corpus783.slb" 783

echo
size=$(stat -c %s "$work/big.slb")
echo "== quarvel-cli on a 10,000-slide library of $size bytes (peak memory must stay under $((2 * size / 1024)) KB)"
/usr/bin/time -f "add one slide:    %e s, peak %M KB" "$cli" add "$work/big.slb" "$work/NEW.sld"
/usr/bin/time -f "delete one slide: %e s, peak %M KB" "$cli" delete "$work/big.slb" NEW
/usr/bin/time -f "names:            %e s, peak %M KB" "$cli" names "$work/big.slb" > /dev/null

echo
echo "== quarvel-cli render, one process per slide (PNG, 800 px wide)"
slides=$(ls -S "$corpus"/sld/*.sld "$corpus"/sld/*.SLD 2>/dev/null)
smallest=$(echo "$slides" | tail -1)
median=$(echo "$slides" | sed -n "$(( $(echo "$slides" | wc -l) / 2 ))p")
largest=$(echo "$slides" | head -1)
hyperfine -N --warmup 3 --runs 30 \
    "$cli render '$smallest' -o $work/s.png" \
    "$cli render '$median' -o $work/m.png" \
    "$cli render '$largest' -o $work/l.png" \
    "$cli names '$smallest'"
count=0
start=$(date +%s%N)
while read -r slide; do
    "$cli" render "$slide" -o "$work/one.png"
    count=$((count + 1))
done <<< "$slides"
echo "every corpus .sld ($count), one process each: $(( ($(date +%s%N) - start) / count / 1000 )) us per slide"

echo
echo "== quarvel-cli render of a whole 783-slide library in one process"
hyperfine -N --warmup 1 --runs 5 "$cli render $work/corpus783.slb -o $work/png"
hyperfine -N --warmup 1 --runs 5 "$cli render $work/corpus783.slb -o $work/svg --format svg"
hyperfine -N --warmup 1 --runs 5 "$cli render $work/corpus783.slb -o $work/wmf --format wmf"
