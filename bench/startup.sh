#!/usr/bin/env bash
# Start-up time of the main window, from exec of quarvel to its first painted
# frame, timed from outside on a virtual X server (Xvfb, started once for all
# runs), with no library on the command line and with a 10,000-slide library.
#
# How the end is seen: with QUARVEL_STARTUP_MARK=FILE in its environment the
# program appends "painted SECONDS" (the monotonic clock, the one Python's
# time.monotonic reads) to FILE once its main window's first paint has been
# drawn and flushed, and ends at once. The script notes the same clock just
# before it starts the process; the difference is the figure. Without the
# variable the program does nothing of the kind.
#
# Warm runs: one after the other, files in the page cache. Cold runs: each
# after the page cache is dropped (needs root; skipped otherwise), the
# nearest to the first run after boot that a shared machine allows. Every run
# starts in a fresh home and program folder (no settings file, no user
# caches), as a first run of a new user.
#
# Prints, per case, the median, the quartiles and the extremes in ms.
#   QUARVEL_BUILD_DIR        build folder (default: build)
#   QUARVEL_STARTUP_RUNS     warm runs per case (default: 21)
#   QUARVEL_STARTUP_COLD     cold runs per case (default: 5; 0: none)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
quarvel_install_missing "${QUARVEL_BUILD_PACKAGES[@]}" "${QUARVEL_RUN_PACKAGES[@]}" xvfb python3

build=${QUARVEL_BUILD_DIR:-build}
quarvel_configure "$build"
ninja -C "$build" quarvel quarvel-cli > /dev/null
corpus=$(cd ../shared/corpus && pwd)

work=$(mktemp -d)
xvfb=
cleanup() {
    [ -n "$xvfb" ] && kill "$xvfb" 2> /dev/null && wait "$xvfb" 2> /dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# The library: 10,000 corpus slides, made by quarvel-cli.
mapfile -t slides < <(find "$corpus/sld" -type f -iname '*.sld' | sort)
python3 bench/cli_timing.py links "$work/s10000" 10000 "${slides[@]}"
"$build/cli/quarvel-cli" create "$work/lib10000.slb" "$work"/s10000/*.sld > /dev/null
rm -rf "$work/s10000"

exec 3< <(Xvfb -displayfd 1 -screen 0 1280x800x24 -nolisten tcp 2> "$work/xvfb.log")
xvfb=$!
read -r -t 10 display <&3 || { cat "$work/xvfb.log"; echo "Xvfb did not start"; exit 1; }

cold=${QUARVEL_STARTUP_COLD:-5}
if [ "$cold" -gt 0 ] && ! { sync && echo 3 > /proc/sys/vm/drop_caches; } 2> /dev/null; then
    echo "(cold runs skipped: the page cache cannot be dropped without root)"
    cold=0
fi

env -u QT_QPA_PLATFORM DISPLAY=":$display" python3 - "$(realpath "$build/app/quarvel")" "$work" \
    "${QUARVEL_STARTUP_RUNS:-21}" "$cold" <<'EOF'
import os, shutil, statistics, subprocess, sys, time

program, work, runs, cold = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
library = os.path.join(work, "lib10000.slb")

def one_run(args, drop):
    run = os.path.join(work, "run")
    shutil.rmtree(run, ignore_errors=True)
    for sub in ("prog", "home/config", "home/cache", "home/data", "home/runtime"):
        os.makedirs(os.path.join(run, sub))
    os.chmod(os.path.join(run, "home/runtime"), 0o700)
    shutil.copy(program, os.path.join(run, "prog/quarvel"))
    mark = os.path.join(run, "mark")
    home = os.path.join(run, "home")
    env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=home + "/config", XDG_CACHE_HOME=home + "/cache",
               XDG_DATA_HOME=home + "/data", XDG_RUNTIME_DIR=home + "/runtime", QUARVEL_STARTUP_MARK=mark)
    if drop:
        os.sync()
        with open("/proc/sys/vm/drop_caches", "w") as f:
            f.write("3\n")
    start = time.monotonic()
    result = subprocess.run([os.path.join(run, "prog/quarvel")] + args, env=env, timeout=60,
                            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    try:
        with open(mark) as f:
            painted = float(f.read().split()[1])
    except (OSError, IndexError, ValueError):
        sys.exit(f"no paint mark (exit {result.returncode}): {result.stderr.decode(errors='replace')}")
    return (painted - start) * 1000.0

def report(name, times):
    q = statistics.quantiles(times, n=4) if len(times) > 1 else times * 3
    print(f"{name:34} median {statistics.median(times):6.1f} ms   quartiles {q[0]:6.1f} .. {q[2]:6.1f}"
          f"   range {min(times):6.1f} .. {max(times):6.1f}   ({len(times)} runs)")

print("== quarvel: exec to the first painted main window (target < 300 ms)")
for name, args in (("no library", []), ("10,000-slide library", [library])):
    if cold:
        report(name + ", cold", [one_run(args, True) for _ in range(cold)])
    one_run(args, False)   # the first warm run pays for the cache the cold ones emptied
    report(name + ", warm", [one_run(args, False) for _ in range(runs)])
EOF
