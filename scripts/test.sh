#!/usr/bin/env bash
# Everything `make test` runs: the native build under sanitizers, the Windows
# build under Wine (unit tests and end-to-end tests of the real program), and
# a short bounded fuzz run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
source scripts/xvfb.sh

passed=0 failed=0
count() {  # reads ctest's summary line from a log
  local line
  line=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$1" | tail -1 || true)
  [[ -n "$line" ]] || { failed=$((failed + 1)); return; }
  local total bad
  bad=$(sed -E 's/.* ([0-9]+) tests? failed.*/\1/' <<<"$line")
  total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
  passed=$((passed + total - bad)); failed=$((failed + bad))
}

status=0
echo "== native (Debug, ASan + UBSan)"
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native -j2 2>&1 | tee build/native-ctest.log || status=1
count build/native-ctest.log

echo "== win (MinGW-w64, under Wine)"
cmake --preset win >/dev/null
cmake --build --preset win
scripts/wine-prefix.sh
ctest --preset win -j2 2>&1 | tee build/win-ctest.log || status=1
count build/win-ctest.log

if [[ -f scripts/fuzz.sh ]]; then
  echo "== fuzz (bounded)"
  if scripts/fuzz.sh; then passed=$((passed + 1)); else failed=$((failed + 1)); status=1; fi
fi

echo
echo "all: $passed passed, $failed failed"
exit $status
