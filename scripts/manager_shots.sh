#!/bin/sh
# Pictures of the manager window's tray menu, the Find question and the
# update check's answers, saved in docs/screenshots/: the "shots" set of
# scripts/screenshots.sh.
#
#   scripts/manager_shots.sh [windows build folder]   (default build/win)
if [ -n "${1:-}" ]; then
  exec "$(dirname "$0")/screenshots.sh" -b "$1" shots
fi
exec "$(dirname "$0")/screenshots.sh" shots
