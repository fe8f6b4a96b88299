#!/usr/bin/env python3
"""The account windows' benchmarks under Wine, on a private Xvfb and a
private prefix, with a warm (persistent) wineserver:

* the list refresh at 1,000, 10,000 and 100,000 accounts against its parts;
* start-up to a filled, shown list with a 10,000-account zhsj.edb, against
  a trivial Win32 window started the same way (what Wine itself costs),
  alternating, medians of 10;
* the real passbook.exe on the same store, driven by the end-to-end driver:
  process start to the login window shown, and the OK of "欢迎使用" to the
  filled list shown (the user's typing left out), medians of 5.

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
os.environ["PASSBOOK_E2E_BIN"] = BUILD
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
import harness  # noqa: E402  (after the environment it reads)

MASTER_PASSWORD = "master"  # what bench/accounts/account_store.cpp sets


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


def poll(driver, pick):
    """Polls the driver's window list until pick(windows) gives something."""
    while True:
        got = pick(driver.call("windows"))
        if got:
            return got, time.monotonic()
        time.sleep(0.002)


def shown(id_):
    return lambda ws: next((w for w in ws if w["id"] == id_ and w["visible"]), None)


def box(ws):
    return next((w for w in ws if w["class"] == "#32770" and w["visible"]), None)


def control(driver, hwnd, key, value):
    return next(c for c in driver.call("controls", hwnd) if c[key] == value)["hwnd"]


def real_program(driver, folder):
    """(start to login shown, welcome OK to the list shown) in ms."""
    exe = shutil.copy(harness.PASSBOOK, folder)
    start = time.monotonic()
    proc = subprocess.Popen([harness.WINE_RUN, exe], cwd=folder, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    login, at_login = poll(driver, shown("login"))
    driver.call("settext", control(driver, login["hwnd"], "name", "编辑框1"), MASTER_PASSWORD)
    driver.call("click", control(driver, login["hwnd"], "name", "按钮1"))
    welcome, _ = poll(driver, box)
    ok_at = time.monotonic()
    driver.call("click", control(driver, welcome["hwnd"], "id", harness.OK))
    listed, at_list = poll(driver, shown("list"))
    rows = driver.call("list", control(driver, listed["hwnd"], "name", "超级列表框1"), 0, 0)
    if rows["count"] != 10000:
        sys.exit(f"run_bench: the list shows {rows['count']} rows")
    driver.call("click", control(driver, listed["hwnd"], "name", "按钮_退出"))
    proc.wait()
    return (at_login - start) * 1000.0, (at_list - ok_at) * 1000.0


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

        driver = harness.Driver()
        try:
            real_program(driver, folder)  # warm
            runs = [real_program(driver, folder) for _ in range(5)]
        finally:
            driver.stop()
        to_login, to_list = m(r[0] for r in runs), m(r[1] for r in runs)
        print(f"passbook accounts=10000 start_to_login_ms={to_login:.1f} "
              f"welcome_ok_to_list_ms={to_list:.1f} sum_ms={to_login + to_list:.1f} "
              f"(medians of 5, polled every few ms)")
    finally:
        wineserver("-k")
        xvfb.terminate()
        xvfb.wait()
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    main()
