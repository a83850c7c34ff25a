#!/bin/sh
# Pictures of the manager window: every view in three themes, the About box
# and the exit question, saved as compressed PNGs in docs/screenshots/.
#
#   scripts/screenshots_manager.sh [windows build folder]   (default build/win)
#
# The folder must be configured for the Windows build (scripts/test.sh does
# that). The pictures are taken under a private Xvfb and Wine prefix.
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${1:-$ROOT/build/win}
OUT=$ROOT/docs/screenshots
cmake --build "$BUILD" -j2 --target manager_screenshots
EXE=$(find "$BUILD" -name manager_screenshots.exe | head -n1)
mkdir -p "$OUT"
. "$ROOT/scripts/wine-env.sh"
krx_wine_start "$BUILD/screenshots-run"
trap krx_wine_stop EXIT
status=0
timeout 300 wine "$EXE" "$(winepath -w "$OUT")" || status=$?
# The program writes plain PNGs; the encoder here squeezes them.
for f in "$OUT"/manager_*.png; do
  /usr/bin/convert "$f" -strip -define png:compression-level=9 -define png:compression-filter=5 "$f.tmp.png" &&
    mv "$f.tmp.png" "$f"
done
exit $status
