#!/usr/bin/env python3
"""The toolkit's benchmarks under Wine: list fill times, and start-up to the
first window shown against a trivial Win32 program (warm wineserver, both in
the same run, alternating). Usage: bench/ui/run_bench.py [build dir]"""

import os
import statistics
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BUILD = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build", "win"))
HERE = os.path.join(BUILD, "bench", "ui")
WINE_RUN = os.path.join(ROOT, "scripts", "wine-run")


def wine(exe):
    return subprocess.run([WINE_RUN, os.path.join(HERE, exe)], stdout=subprocess.PIPE,
                          stderr=subprocess.DEVNULL, text=True, check=True).stdout


def start_to_shown(exe):
    start = time.time() * 1000.0
    out = wine(exe)
    shown = float(out.split("shown_ms=")[1].split()[0])
    return shown - start


def main():
    if not os.environ.get("DISPLAY"):
        sys.exit("run_bench: needs a display (source scripts/xvfb.sh)")
    print(wine("bench_list_fill.exe"), end="")

    wine("bench_trivial_window.exe")  # warm the wineserver and the caches
    toolkit, trivial = [], []
    for _ in range(10):
        trivial.append(start_to_shown("bench_trivial_window.exe"))
        toolkit.append(start_to_shown("bench_first_window.exe"))
    t, b = statistics.median(toolkit), statistics.median(trivial)
    print(f"first_window toolkit_median_ms={t:.1f} trivial_median_ms={b:.1f} ratio={t / b:.2f}")


if __name__ == "__main__":
    main()
