#!/usr/bin/env bash
# Runs one Windows executable under Wine for CTest. The environment (prefix,
# display, quiet Wine) comes from scripts/wine-env.sh, which the test command
# sets up before CTest starts.
if [ -z "${WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ]; then
  echo "wine-exec: no Wine test environment; run scripts/test.sh (or source scripts/wine-env.sh and call krx_wine_start)" >&2
  exit 2
fi
exec timeout --kill-after=10 "${KRX_WINE_TIMEOUT:-280}" wine "$@"
