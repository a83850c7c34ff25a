#!/bin/sh
# Pictures of the manager window's browser-cache view, saved in
# docs/screenshots/: the "cache" set of scripts/screenshots.sh.
#
#   scripts/screenshots_cache.sh [windows build folder]   (default build/win)
if [ -n "${1:-}" ]; then
  exec "$(dirname "$0")/screenshots.sh" -b "$1" cache
fi
exec "$(dirname "$0")/screenshots.sh" cache
