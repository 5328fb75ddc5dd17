#!/usr/bin/env bash
# Installs what is missing, builds Quarvel and runs every test:
#   1. the normal build;
#   2. the libFuzzer targets (clang, ASan + UBSan), each run for a short
#      while on its seed inputs;
#   3. the whole test suite built and run with AddressSanitizer and
#      UndefinedBehaviorSanitizer;
#   4. the Windows build in build-win/ (scripts/windows.sh): quarvel.exe,
#      quarvel-cli.exe and the tests cross-built, the tests and the window
#      run under Wine, quarvel-cli.exe checked against the Linux build, the
#      setup program made, installed and uninstalled under Wine;
#   5. the Debian package built, installed, checked and purged
#      (scripts/package-check.sh; as root or on CI only);
#   6. the whole test suite of the normal build (ctest's summary ends the output).
# Environment:
#   QUARVEL_BUILD_DIR       build folder (default: build; also <dir>-fuzz, <dir>-asan)
#   QUARVEL_FUZZ_SECONDS    seconds per fuzz target (default 20; 0 skips fuzzing)
#   QUARVEL_SANITIZE=0      skips the sanitizer build
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
export QT_QPA_PLATFORM=offscreen

quarvel_install_missing "${QUARVEL_BUILD_PACKAGES[@]}" "${QUARVEL_TEST_PACKAGES[@]}" || exit 1
build=${QUARVEL_BUILD_DIR:-build}
fuzz_seconds=${QUARVEL_FUZZ_SECONDS:-20}
failed=()
started=$SECONDS
step() { echo; echo "== $* ($((SECONDS - started)) s)"; }

step "Build"
quarvel_configure "$build" && ninja -C "$build" || exit 1

if [ "$fuzz_seconds" -gt 0 ]; then
    step "Fuzz targets, $fuzz_seconds s each"
    if CC=clang CXX=clang++ quarvel_configure "$build-fuzz" -DQUARVEL_FUZZ=ON -DQUARVEL_TESTS=OFF \
        && ninja -C "$build-fuzz" fuzz_sld fuzz_slb fuzz_writers fuzz_seeds; then
        for target in sld slb writers; do
            seeds="$build-fuzz/fuzz/seeds/$target"
            [ "$target" = writers ] && seeds="$build-fuzz/fuzz/seeds/sld"
            work=$(mktemp -d)
            log="$build-fuzz/fuzz_$target.log"
            # New inputs go to a scratch folder; the seeds stay as they are.
            if "$build-fuzz/fuzz/fuzz_$target" -max_total_time="$fuzz_seconds" -timeout=10 \
                -dict=fuzz/slide.dict "$work" "$seeds" > "$log" 2>&1; then
                echo "fuzz_$target: $(grep -E '^Done [0-9]+ runs' "$log" | tail -1)"
            else
                tail -n 60 "$log"
                failed+=("fuzz_$target (log: $log)")
            fi
            rm -rf "$work"
        done
    else
        failed+=("fuzz build")
    fi
fi

if [ "${QUARVEL_SANITIZE:-1}" != 0 ]; then
    step "Tests under AddressSanitizer and UndefinedBehaviorSanitizer"
    if quarvel_configure "$build-asan" -DQUARVEL_SANITIZE=ON && ninja -C "$build-asan"; then
        ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
            ctest --test-dir "$build-asan" --output-on-failure -j2 || failed+=("sanitizer tests")
    else
        failed+=("sanitizer build")
    fi
fi

step "Windows build, checked under Wine"
bash scripts/windows.sh "$build" || failed+=("Windows build and checks")

step "Debian package"
bash scripts/package-check.sh || failed+=("package check")

step "Tests"
ctest --test-dir "$build" --output-on-failure -j2
status=$?
if [ ${#failed[@]} -gt 0 ]; then
    echo "FAILED besides the tests above: ${failed[*]}" >&2
    status=1
fi
exit $status
