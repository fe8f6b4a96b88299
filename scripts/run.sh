#!/usr/bin/env bash
# `make run`: builds the Windows program and starts it under Wine, in build/dist,
# with the store beside it. On a machine without a display it runs the program on
# a private X server for a few seconds and saves a screenshot instead.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/dist.sh
had_display=${DISPLAY:-}
source scripts/xvfb.sh
scripts/wine-prefix.sh
source scripts/wine-env.sh
cd build/dist

if [[ ! -f passbook.exe ]]; then
  echo "run: passbook.exe is not built yet; what edbtool says of the store:"
  wine edbtool.exe check zhsj.edb
  wine edbtool.exe dump zhsj.edb
  exit 0
fi

if [[ -n "$had_display" ]]; then
  echo "run: starting passbook.exe (close its window to end)"
  wine passbook.exe && code=0 || code=$?
  echo "run: passbook.exe ended with exit code $code"
  exit 0
fi

echo "run: no display; running passbook.exe on a private X server for 8 s"
wine passbook.exe & pid=$!
sleep 8
import -window root ../run-screenshot.png
echo "run: screenshot of what it shows: build/run-screenshot.png"
wineserver -k 2>/dev/null || true
wait $pid 2>/dev/null || true
