#!/usr/bin/env bash
# Pictures for the guide, taken on a private Xvfb in a fresh Wine prefix and
# saved as compressed PNGs in docs/screenshots/.
#
#   scripts/screenshots.sh [-b windows build folder] SET...   (default build/win)
#
# Sets:
#   manager  every view of the manager window in three themes, the About box
#            and the exit question (manager_*.png)
#   shots    the tray menu in three themes, the Find question and the update
#            check's three answers, from a server on 127.0.0.1
#            (tray_menu_*, find_question, update_*.png)
#   cache    the browser-cache view after a fetch with a line's details, in
#            three themes and with a cookie's content (cache_view_*.png)
#   skin     the skinned dialog, message box, wait window, check boxes,
#            popup menu and button group in their themes
#   context  the lists' context menus and the export dialog
#            (context_menu_*, export_dialog.png)
#   stats    the Statistics window in two themes and with many days, with
#            the new sites of a day (statistics_*.png), the grouped view by
#            site in two themes (sites_*.png), and the exported page as a
#            browser shows it (statistics_page.png, when chromium is installed)
#   all      every set above
# The build folder is configured for the Windows build if it is not yet.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="${KRX_BUILD_DIR:-$ROOT/build}/win"
if [ "${1:-}" = "-b" ]; then
  BUILD="$2"
  shift 2
fi
OUT="$ROOT/docs/screenshots"
[ $# -gt 0 ] || { sed -n '2,24p' "$0" | sed 's/^# \{0,1\}//'; exit 2; }
sets=("$@")
[ "${sets[0]}" = all ] && sets=(manager shots cache skin context stats)

# set -> build target, and the program's path inside the build folder
target_of() {
  case "$1" in
    manager) echo manager_screenshots ;;
    shots) echo manager_shots ;;
    cache) echo cache_view_screenshot ;;
    skin) echo skin_tests ;;
    context|stats) echo manager_tests ;;
    *) echo "unknown set: $1 (manager, shots, cache, skin, context, stats or all)" >&2; return 1 ;;
  esac
}
targets=()
for s in "${sets[@]}"; do targets+=("$(target_of "$s")"); done

mkdir -p "$BUILD"
BUILD="$(cd "$BUILD" && pwd)"
if [ ! -f "$BUILD/CMakeCache.txt" ]; then
  cmake -S "$ROOT" -B "$BUILD" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$BUILD" -j"${KRX_JOBS:-2}" --target "${targets[@]}"

WORK="$(mktemp -d /tmp/krx-screenshots.XXXXXX)"
# shellcheck source=wine-env.sh
source "$ROOT/scripts/wine-env.sh"
unset KRX_KEEP_DISPLAY
krx_wine_start "$WORK" >/dev/null
trap 'krx_wine_stop; rm -rf "$WORK"' EXIT

status=0
mkdir -p "$OUT"
for s in "${sets[@]}"; do
  exe="$(find "$BUILD" -name "$(target_of "$s").exe" | head -n1)"
  shots="$WORK/shots-$s"
  mkdir -p "$shots"
  echo "== $s: $exe"
  # Each program runs from its own folder, where its tests expect to be.
  if [ "$s" = skin ] || [ "$s" = context ] || [ "$s" = stats ]; then
    filter='Screenshots.*:*SkinScreenshotTest.*'
    [ "$s" = context ] && filter='ManagerContext.EachViews*:ManagerContext.Export*'
    [ "$s" = stats ] && filter='ManagerStats.*:ManagerSites.*'
    (cd "$(dirname "$exe")" && KRX_SCREENSHOT_DIR="$(winepath -w "$shots")" timeout 300 \
      wine "./$(basename "$exe")" --gtest_filter="$filter" </dev/null >"$WORK/$s.log" 2>&1) ||
      { status=$?; tail -n 20 "$WORK/$s.log"; }
  else
    (cd "$(dirname "$exe")" && timeout 300 wine "./$(basename "$exe")" "$(winepath -w "$shots")" </dev/null) || status=$?
  fi
  # The exported page as a browser draws it; the browser is only this
  # script's, no test needs it.
  if [ -f "$shots/statistics_page.htm" ]; then
    if command -v chromium >/dev/null; then
      timeout 120 chromium --headless --no-sandbox --disable-gpu --hide-scrollbars --window-size=760,620 \
        --screenshot="$shots/statistics_page.png" "file://$shots/statistics_page.htm" >/dev/null 2>&1 ||
        echo "stats: chromium could not render the page" >&2
    else
      echo "stats: no chromium here, the exported page is not pictured" >&2
    fi
  fi
  for f in "$shots"/*.png; do
    [ -e "$f" ] || { echo "$s: no pictures made" >&2; status=1; break; }
    /usr/bin/convert "$f" -strip -define png:compression-level=9 -define png:compression-filter=5 "$OUT/$(basename "$f")"
    echo "saved docs/screenshots/$(basename "$f")"
  done
  # The guide's picture of the window.
  if [ "$s" = stats ] && [ -f "$OUT/statistics_1_Sky.png" ]; then
    cp "$OUT/statistics_1_Sky.png" "$ROOT/help/kestrelix/statistics.png"
  fi
done
exit $status
