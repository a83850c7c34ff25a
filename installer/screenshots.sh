#!/usr/bin/env bash
# installer/screenshots.sh [SETUP.exe]: pictures of the setup file's pages
# and of the uninstaller, for the user's guide, taken
# on a private Xvfb in a fresh Wine prefix. Writes docs/screenshots/setup_*.png.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
SETUP="${1:-$ROOT/build/win/download/krx.exe}"
OUT="$ROOT/docs/screenshots"
WORK="$(mktemp -d /tmp/krx-setup-shots.XXXXXX)"
[ -f "$SETUP" ] || { echo "no setup file at $SETUP (build the installer target first)"; exit 1; }

# shellcheck source=../scripts/wine-env.sh
source "$ROOT/scripts/wine-env.sh"
unset KRX_KEEP_DISPLAY
krx_wine_start "$WORK" >/dev/null
trap 'krx_wine_stop; rm -rf "$WORK"' EXIT
trap 'exit 1' INT TERM

# Waits for a window with this title and saves it as OUT/name.png.
shot() {
  local title="$1" name="$2" id="" i
  for i in $(seq 1 100); do
    id=$(xdotool search --name "^${title}" 2>/dev/null | tail -n1) && [ -n "$id" ] && break
    sleep 0.2
  done
  [ -n "$id" ] || { echo "no window \"$title\""; return 1; }
  sleep 1.5  # let it paint
  eval "$(xdotool getwindowgeometry --shell "$id")"
  xwd -root -silent | /usr/bin/convert xwd:- -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage \
    -define png:compression-level=9 "$OUT/$name.png"
  echo "saved $OUT/$name.png"
}
# No window manager runs here: give the window the focus directly, then the key.
key() {
  sleep 0.5
  local id
  id=$(xdotool search --name "^$1" 2>/dev/null | tail -n1)
  [ -n "$id" ] && xdotool windowfocus --sync "$id" 2>/dev/null
  xdotool key "$2"
}

title="Kestrelix 1.30 Setup"
timeout 120 wine "$SETUP" </dev/null >/dev/null 2>&1 &
shot "$title" setup_welcome
key "$title" Return
shot "$title" setup_folder
key "$title" Return
sleep 6
shot "$title" setup_finished
# Leave "Start Kestrelix now" unticked, then Finish.
key "$title" space
key "$title" Return
sleep 3
wineserver -k  # whatever was left open

uninstaller="$WINEPREFIX/drive_c/Program Files/Kestrelix/uninstall.exe"
mkdir -p "$(dirname "$uninstaller")/User"
printf 'x' >"$(dirname "$uninstaller")/User/user.sav"
timeout 120 wine "$uninstaller" </dev/null >/dev/null 2>&1 &
shot "Kestrelix 1.30 Uninstall" setup_uninstall
key "Kestrelix 1.30 Uninstall" Return
sleep 2
# The question about User\ is a system message box, which a capture of
# Xvfb shows black under Wine; it is answered, not pictured.
key "Kestrelix 1.30 Uninstall" Return   # No: User\ stays
sleep 2
key "Kestrelix 1.30 Uninstall" Return
sleep 2
wineserver -k
