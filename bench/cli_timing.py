#!/usr/bin/env python3
"""Times quarvel-cli from outside, one process per run, beside a peer command.

  cli_timing.py render CLI OUTDIR SLIDE...   quarvel-cli render (800x600 PNG) and
                                             sldtoppm -adjust -width 800 | pnmtopng,
                                             one process (pipeline) per slide, interleaved
  cli_timing.py each RUNS COMMAND [ARGS...]  one command RUNS times
  cli_timing.py links DIR COUNT SLIDE...     DIR/S00000.sld ... as links to the slides in turn

Prints medians in milliseconds. The two processes of the peer's pipeline are
started directly (no shell), so neither side pays for one.
"""
import os
import resource
import shutil
import statistics
import subprocess
import sys
import time


def children_cpu():
    usage = resource.getrusage(resource.RUSAGE_CHILDREN)
    return (usage.ru_utime + usage.ru_stime) * 1000.0


def timed(run, cpu=None):
    """Wall milliseconds of run; its processes' CPU milliseconds are appended to cpu."""
    before = children_cpu()
    start = time.perf_counter()
    run()
    wall = (time.perf_counter() - start) * 1000.0
    if cpu is not None:
        cpu.append(children_cpu() - before)
    return wall


def run_cli(args):
    result = subprocess.run(args, stdout=subprocess.DEVNULL)
    if result.returncode not in (0, 1):   # 1: a damaged slide, drawn up to the damage
        sys.exit(f"failed ({result.returncode}): {' '.join(args)}")


def run_peer(slide, out_path):
    with open(out_path, "wb") as out:
        first = subprocess.Popen(["sldtoppm", "-adjust", "-width", "800", slide],
                                 stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        second = subprocess.Popen(["pnmtopng"], stdin=first.stdout, stdout=out, stderr=subprocess.DEVNULL)
        first.stdout.close()
        second.wait()
        first.wait()


def render(cli, outdir, slides):
    peer = shutil.which("sldtoppm") and shutil.which("pnmtopng")
    ours, theirs, our_cpu, their_cpu = [], [], [], []
    for _ in range(3):   # warm the page cache and the programs
        run_cli([cli, "render", slides[0], "-o", os.path.join(outdir, "warm.png"), "--size", "800x600"])
    for rounds in range(3):
        for slide in slides:
            ours.append(timed(lambda: run_cli([cli, "render", slide, "-o", os.path.join(outdir, "q.png"),
                                               "--size", "800x600"]), our_cpu))
            if peer:
                theirs.append(timed(lambda: run_peer(slide, os.path.join(outdir, "p.png")), their_cpu))
    mine = statistics.median(ours)
    print(f"quarvel-cli render, {len(slides)} slides x 3, one process each: median {mine:.2f} ms "
          f"(target <= 10 ms); CPU median {statistics.median(our_cpu):.2f} ms")
    if peer:
        other = statistics.median(theirs)
        print(f"sldtoppm -adjust -width 800 | pnmtopng, same slides:          median {other:.2f} ms "
              f"-> quarvel-cli is {other / mine:.1f}x faster (target >= 4x); "
              f"CPU median {statistics.median(their_cpu):.2f} ms")
    else:
        print("sldtoppm/pnmtopng missing: no peer figure")


def each(runs, command):
    subprocess.run(command, stdout=subprocess.DEVNULL)
    times = [timed(lambda: run_cli(command)) for _ in range(runs)]
    return statistics.median(times)


def main():
    if len(sys.argv) >= 4 and sys.argv[1] == "render":
        render(sys.argv[2], sys.argv[3], sys.argv[4:])
    elif len(sys.argv) >= 5 and sys.argv[1] == "links":
        folder, count, slides = sys.argv[2], int(sys.argv[3]), sys.argv[4:]
        os.makedirs(folder, exist_ok=True)
        for i in range(count):
            os.symlink(os.path.abspath(slides[i % len(slides)]), os.path.join(folder, f"S{i:05d}.sld"))
    elif len(sys.argv) >= 4 and sys.argv[1] == "each":
        print(f"{each(int(sys.argv[2]), sys.argv[3:]):.2f}")
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main()
