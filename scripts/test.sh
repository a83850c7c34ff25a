#!/usr/bin/env bash
# Runs every test: installs what is missing, builds the native core (with
# sanitizers and fuzz targets), the 64-bit add-on and the Windows program,
# runs the native tests, then the Windows tests under Wine on a private X
# display, then the 64-bit add-on's in a 64-bit prefix.
set -uo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="${KRX_BUILD_DIR:-$ROOT/build}"
JOBS="${KRX_JOBS:-2}"

bash "$ROOT/scripts/setup.sh" || exit 1

mkdir -p "$BUILD"
step() { printf '\n== %s\n' "$*"; }

step "native build (clang, sanitizers, fuzz targets)"
cmake -S "$ROOT" -B "$BUILD/host" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DKRX_SANITIZE=ON -DKRX_FUZZ=ON >"$BUILD/host-configure.log" 2>&1 || { cat "$BUILD/host-configure.log"; exit 1; }
cmake --build "$BUILD/host" -j"$JOBS" || exit 1

# The 64-bit add-on first: the 32-bit tree's setup file carries it.
step "64-bit add-on build (mingw-w64 x86_64)"
cmake -S "$ROOT" -B "$BUILD/win64" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release \
  -DKRX_ADDON_ONLY=ON -DKRX_WIN32_TREE="$BUILD/win" >"$BUILD/win64-configure.log" 2>&1 || { cat "$BUILD/win64-configure.log"; exit 1; }
cmake --build "$BUILD/win64" -j"$JOBS" || exit 1

step "Windows build (mingw-w64 i686)"
cmake -S "$ROOT" -B "$BUILD/win" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release \
  -DKRX_WIN64_TREE="$BUILD/win64" >"$BUILD/win-configure.log" 2>&1 || { cat "$BUILD/win-configure.log"; exit 1; }
cmake --build "$BUILD/win" -j"$JOBS" || exit 1

step "native tests"
(cd "$BUILD/host" && ctest --output-on-failure -j"$JOBS") | tee "$BUILD/host-ctest.log"
host_rc=${PIPESTATUS[0]}
# The short fuzz runs' coverage, which CTest keeps to itself when they pass.
cat "$BUILD/host/tests/fuzz/coverage/"*.txt 2>/dev/null

step "Windows tests under Wine"
# shellcheck source=wine-env.sh
source "$ROOT/scripts/wine-env.sh"
rm -rf "$BUILD/win/run"
krx_wine_start "$BUILD/win/run"
(cd "$BUILD/win" && ctest --output-on-failure -j"$JOBS") | tee "$BUILD/win-ctest.log"
win_rc=${PIPESTATUS[0]}
krx_wine_stop

step "64-bit add-on tests under Wine (64-bit prefix)"
rm -rf "$BUILD/win64/run"
krx_wine_start "$BUILD/win64/run" win64
(cd "$BUILD/win64" && ctest --output-on-failure -j"$JOBS") | tee "$BUILD/win64-ctest.log"
win64_rc=${PIPESTATUS[0]}
krx_wine_stop

# One closing line over the three runs.
count() { sed -n 's/.*tests passed, \([0-9]*\) tests failed out of \([0-9]*\).*/\1 \2/p' "$1" | tail -n1; }
read -r hf ht <<<"$(count "$BUILD/host-ctest.log")"
read -r wf wt <<<"$(count "$BUILD/win-ctest.log")"
read -r xf xt <<<"$(count "$BUILD/win64-ctest.log")"
hf=${hf:-0}; ht=${ht:-0}; wf=${wf:-0}; wt=${wt:-0}; xf=${xf:-0}; xt=${xt:-0}
failed=$((hf + wf + xf))
passed=$((ht + wt + xt - failed))
if [ "$host_rc" -ne 0 ] || [ "$win_rc" -ne 0 ] || [ "$win64_rc" -ne 0 ]; then
  [ "$failed" -eq 0 ] && failed=1
fi
echo
echo "native: $((ht - hf)) of $ht passed; Windows under Wine: $((wt - wf)) of $wt passed;" \
  "64-bit add-on under Wine: $((xt - xf)) of $xt passed"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
