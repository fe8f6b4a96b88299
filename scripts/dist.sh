#!/usr/bin/env bash
# Lays out build/dist/: the program, edbtool, an empty store made by the tool
# (only when there is none yet: a store that holds the user's accounts is never
# replaced), and README.txt.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake --preset win >/dev/null
cmake --build --preset win --target edbtool $( [[ -f src/app/win32/CMakeLists.txt ]] && echo passbook )

dist=build/dist
mkdir -p "$dist"
cp build/win/tools/edbtool.exe "$dist/"
[[ -f build/win/src/app/win32/passbook.exe ]] && cp build/win/src/app/win32/passbook.exe "$dist/"
cp scripts/dist-readme.txt "$dist/README.txt"

if [[ ! -f "$dist/zhsj.edb" ]]; then
  (cd "$dist" && ../../scripts/wine-run edbtool.exe create zhsj.edb)
  echo "dist: made an empty store $dist/zhsj.edb"
fi
echo "dist: $(ls "$dist" | tr '\n' ' ')"
