#!/usr/bin/env bash
# scripts/manager_shots.sh: pictures of the manager window's tray menu (Sky,
# Orange, Blue), the Find question and the online update's three answers,
# taken on a private Xvfb in a fresh Wine prefix and saved compressed to
# docs/screenshots/. The update answers come from a server on 127.0.0.1.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="${KRX_BUILD_DIR:-$ROOT/build}/win"
OUT="$ROOT/docs/screenshots"
WORK="$(mktemp -d /tmp/krx-manager-shots.XXXXXX)"

cmake -S "$ROOT" -B "$BUILD" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$BUILD" -j"${KRX_JOBS:-2}" --target manager_shots

# shellcheck source=wine-env.sh
source "$ROOT/scripts/wine-env.sh"
unset KRX_KEEP_DISPLAY
krx_wine_start "$WORK" >/dev/null
trap 'krx_wine_stop; rm -rf "$WORK"' EXIT

mkdir -p "$WORK/shots"
(cd "$BUILD/tests/manager" && timeout 300 wine ./manager_shots.exe "$(winepath -w "$WORK/shots")" </dev/null)
mkdir -p "$OUT"
for f in "$WORK"/shots/*.png; do
  /usr/bin/convert "$f" -define png:compression-level=9 "$OUT/$(basename "$f")"
  echo "saved $OUT/$(basename "$f")"
done
