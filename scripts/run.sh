#!/usr/bin/env bash
# Builds Kestrelix.exe, the 64-bit add-on and the setup file, and starts the program under Wine
# from a staged program folder (build/win/stage with User\ and tmp\). The
# setup file is left at build/krx.exe. Without a display of your
# own it runs on a private Xvfb and saves a screenshot to build/stage-screen.png.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="${KRX_BUILD_DIR:-$ROOT/build}"

bash "$ROOT/scripts/setup.sh"
# The setup file carries the 64-bit add-on: its tree is built first.
cmake -S "$ROOT" -B "$BUILD/win64" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release \
  -DKRX_ADDON_ONLY=ON -DKRX_WIN32_TREE="$BUILD/win" >/dev/null
cmake --build "$BUILD/win64" -j"${KRX_JOBS:-2}" --target krx_addon
cmake -S "$ROOT" -B "$BUILD/win" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release \
  -DKRX_WIN64_TREE="$BUILD/win64" >/dev/null
cmake --build "$BUILD/win" -j"${KRX_JOBS:-2}" --target stage
cmake --build "$BUILD/win" -j"${KRX_JOBS:-2}" --target installer

STAGE="$BUILD/win/stage"
mkdir -p "$STAGE/User" "$STAGE/tmp"
echo "program folder: $STAGE"
cp "$BUILD/win/download/krx.exe" "$BUILD/krx.exe"
echo "setup file: $BUILD/krx.exe (also build/win/download/krx.exe, the update check's name)"

# shellcheck source=wine-env.sh
source "$ROOT/scripts/wine-env.sh"
# A display of the caller's own is used as it is; otherwise a private Xvfb.
private=1
if [ -n "${DISPLAY:-}" ] && [ -z "${KRX_PRIVATE_DISPLAY:-}" ]; then
  export KRX_KEEP_DISPLAY=1
  private=0
fi
krx_wine_start "$BUILD/win/run-app"
trap krx_wine_stop EXIT

# The demo day writer leaves a few days of records for the manager to merge.
if [ -x "$STAGE/daywriter.exe" ]; then
  wine "$STAGE/daywriter.exe" "$STAGE/tmp" </dev/null >/dev/null 2>&1 || true
fi

cd "$STAGE"
wine "$STAGE/Kestrelix.exe" </dev/null >/dev/null 2>&1 &
app=$!
if [ "$private" = 1 ]; then
  sleep "${KRX_SCREENSHOT_DELAY:-6}"
  xwd -root -silent | /usr/bin/convert xwd:- "$BUILD/stage-screen.png" && echo "screenshot: $BUILD/stage-screen.png"
  echo "Kestrelix is running on the private display $DISPLAY; press Ctrl+C to end it."
fi
wait "$app" || true
