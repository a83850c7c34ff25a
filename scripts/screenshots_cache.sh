#!/bin/sh
# Pictures of the manager window's browser-cache view after a fetch, with a
# line's details (three themes, and the cookies of one), saved as
# compressed PNGs in docs/screenshots/.
#
#   scripts/screenshots_cache.sh [windows build folder]   (default build/win)
#
# The folder must be configured for the Windows build (scripts/test.sh does
# that). The pictures are taken under a private Xvfb and Wine prefix, whose
# URL cache the program fills and empties again.
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$(cd "${1:-$ROOT/build/win}" && pwd)
OUT=$ROOT/docs/screenshots
cmake --build "$BUILD" -j2 --target cache_view_screenshot
EXE=$(find "$BUILD" -name cache_view_screenshot.exe | head -n1)
mkdir -p "$OUT"
. "$ROOT/scripts/wine-env.sh"
krx_wine_start "$BUILD/cache-screenshots-run"
trap krx_wine_stop EXIT
status=0
timeout 300 wine "$EXE" "$(winepath -w "$OUT")" || status=$?
# The program writes plain PNGs; the encoder here squeezes them.
for f in "$OUT"/cache_view*.png; do
  /usr/bin/convert "$f" -strip -define png:compression-level=9 -define png:compression-filter=5 "$f.tmp.png" &&
    mv "$f.tmp.png" "$f"
done
exit $status
