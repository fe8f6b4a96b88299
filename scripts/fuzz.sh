#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer) and gives the store reader a
# short bounded run; exits 0 when nothing crashed. FUZZ_SECONDS sets the run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${FUZZ_SECONDS:-30}"
build=build/fuzz

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target edb_open_fuzz

# New inputs go to a scratch corpus; the seeds in the tree stay as they are.
corpus="$build/corpus/edb_open"
mkdir -p "$corpus"
echo "fuzz: edb_open_fuzz for ${seconds}s"
"$build/tests/fuzz/edb_open_fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -max_len=8192 -print_final_stats=1 -artifact_prefix="$build/" \
  "$corpus" tests/fuzz/corpus 2>&1 | tail -n 12
