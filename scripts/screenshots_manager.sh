#!/bin/sh
# Pictures of every view of the manager window, the About box and the exit
# question, saved in docs/screenshots/: the "manager" set of
# scripts/screenshots.sh.
#
#   scripts/screenshots_manager.sh [windows build folder]   (default build/win)
if [ -n "${1:-}" ]; then
  exec "$(dirname "$0")/screenshots.sh" -b "$1" manager
fi
exec "$(dirname "$0")/screenshots.sh" manager
