#!/usr/bin/env python3
"""The account windows' benchmarks under Wine, on a private Xvfb and a
private prefix, with a warm (persistent) wineserver:

* the list refresh at 1,000, 10,000 and 100,000 accounts against its parts;
* start-up to a filled, shown list with a 10,000-account zhsj.edb, against
  a trivial Win32 window started the same way (what Wine itself costs),
  alternating, medians of 10.

Usage: bench/accounts_wine/run_bench.py [win build dir]"""

import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BUILD = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build", "win"))
HERE = os.path.join(BUILD, "bench", "accounts_wine")
TRIVIAL = os.path.join(BUILD, "bench", "ui", "bench_trivial_window.exe")
WINE_ENV = os.path.join(ROOT, "scripts", "wine-env.sh")
os.environ.setdefault("PASSBOOK_WINEPREFIX", os.path.join(BUILD, "wineprefix-bench"))


def wine(*args, cwd=None):
    return subprocess.run([os.path.join(ROOT, "scripts", "wine-run"), *args], cwd=cwd,
                          stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True,
                          check=True).stdout


def wineserver(flag):
    subprocess.run(["bash", "-c", f'source "{WINE_ENV}"; wineserver {flag}'], check=False)


def private_display():
    for n in range(210, 260):
        if not os.path.exists(f"/tmp/.X11-unix/X{n}") and not os.path.exists(f"/tmp/.X{n}-lock"):
            xvfb = subprocess.Popen(["Xvfb", f":{n}", "-screen", "0", "1024x768x24",
                                     "-nolisten", "tcp"], stdout=subprocess.DEVNULL,
                                    stderr=subprocess.DEVNULL)
            while not os.path.exists(f"/tmp/.X11-unix/X{n}"):
                time.sleep(0.1)
            os.environ["DISPLAY"] = f":{n}"
            return xvfb
    sys.exit("run_bench: no free display")


def start_to_shown(exe, folder):
    start = time.time() * 1000.0
    out = wine(exe, cwd=folder)
    fields = dict(f.split("=", 1) for f in out.split() if "=" in f)
    return float(fields["shown_ms"]) - start, fields


def main():
    xvfb = private_display()
    folder = tempfile.mkdtemp(prefix="bench-startup-")
    try:
        wineserver("-p")  # stays up between the runs: the warm case
        print(wine(os.path.join(HERE, "bench_accounts_refresh_bench.exe")), end="")

        exe = shutil.copy(os.path.join(HERE, "bench_accounts_startup_bench.exe"), folder)
        wine(os.path.join(HERE, "bench_accounts_make_store.exe"), "zhsj.edb", "10000",
             cwd=folder)
        start_to_shown(exe, folder)  # warm the caches
        wine(TRIVIAL)
        ours, trivial, opens, derives = [], [], [], []
        for _ in range(10):
            trivial.append(start_to_shown(TRIVIAL, folder)[0])
            ms, fields = start_to_shown(exe, folder)
            ours.append(ms)
            opens.append(float(fields["open_ms"]))
            derives.append(float(fields["derive_ms"]))
        m = statistics.median
        print(f"startup accounts=10000 shown_ms={m(ours):.1f} (min {min(ours):.1f}) "
              f"trivial_window_ms={m(trivial):.1f} open_ms={m(opens):.2f} "
              f"key_derivation_ms={m(derives):.3f} (medians of 10)")
    finally:
        wineserver("-k")
        xvfb.terminate()
        xvfb.wait()
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    main()
