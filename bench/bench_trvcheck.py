#!/usr/bin/env python3
"""Times trvcheck on a full-size course: the 24 modules of the viewer's module page table, about 2500
pages with their videos and narration (gencourse.py), and the word lists trvwordlists builds for it.

    bench_trvcheck.py --trvcheck BIN --trvwordlists BIN [--runs 5] [--limit SECONDS] [--keep FOLDER]

Each run is one whole check, media decoded, as an author runs it; one more run without the media
(--no-media) shows what reading the pages and the lists takes alone. Runs after a warm-up that is not
counted, so the files are in the page cache. The generated course is one the viewer can show, so any
finding, or a median over --limit, fails the benchmark (exit status 1). Python 3 standard library.
"""

from __future__ import annotations

import argparse
import os
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

HERE = Path(__file__).resolve().parent


class Run:
    """One trvcheck run: its wall time, peak resident memory, exit status and output."""

    def __init__(self, trvcheck: str, args: list[str]):
        with tempfile.TemporaryFile("w+") as out, tempfile.TemporaryFile("w+") as err:
            start = time.perf_counter()
            process = subprocess.Popen([trvcheck, *args], stdout=out, stderr=err)
            _, status, usage = os.wait4(process.pid, 0)  # reaped here for its own resource usage
            self.seconds = time.perf_counter() - start
            process.returncode = self.status = os.waitstatus_to_exitcode(status)
            self.peak_mb = usage.ru_maxrss / 1024
            out.seek(0)
            err.seek(0)
            self.output = out.read() + err.read()


def main() -> int:
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--trvcheck", required=True)
    ap.add_argument("--trvwordlists", required=True)
    ap.add_argument("--runs", type=int, default=5)
    ap.add_argument("--limit", type=float, default=10.0, help="seconds the median may take (default 10)")
    ap.add_argument("--keep", type=Path, help="generate the course here and keep it")
    args = ap.parse_args()

    with tempfile.TemporaryDirectory() as scratch:
        work = args.keep.resolve() if args.keep else Path(scratch)
        course, lists = work / "course", work / "lists"
        subprocess.run([sys.executable, str(HERE / "gencourse.py"), "--out", str(course)], check=True)
        subprocess.run([args.trvwordlists, str(course), str(lists)], check=True)
        check = [str(course), str(lists)]

        runs = []
        for number in range(args.runs + 1):
            run = Run(args.trvcheck, check)
            if run.status != 0:
                print(f"bench_trvcheck.py: trvcheck ended with {run.status} on the generated course:\n"
                      f"{run.output}", file=sys.stderr)
                return 1
            print(f"{'warm-up' if number == 0 else f'run {number}'}: {run.seconds:.2f} s, "
                  f"{run.peak_mb:.0f} MB; {run.output.strip()}")
            if number > 0:
                runs.append(run)
        pages_only = Run(args.trvcheck, ["--no-media", *check])

    times = [run.seconds for run in runs]
    median = statistics.median(times)
    print(f"trvcheck, {os.cpu_count()} processors: median {median:.2f} s of {len(times)} runs "
          f"(min {min(times):.2f}, max {max(times):.2f}); without the media {pages_only.seconds:.2f} s; "
          f"peak {max(run.peak_mb for run in runs):.0f} MB resident")
    if median > args.limit:
        print(f"bench_trvcheck.py: the median is over the {args.limit:g} s aim", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
