#!/usr/bin/env bash
# Runs one Windows executable under Wine for CTest. The environment (prefix,
# display, quiet Wine) comes from scripts/wine-env.sh, which the test command
# sets up before CTest starts.
if [ -z "${WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ]; then
  echo "wine-exec: no Wine test environment; run scripts/test.sh (or source scripts/wine-env.sh and call krx_wine_start)" >&2
  exit 2
fi
# The output goes through a file, not CTest's pipe: a background Wine process
# that a test happens to start (the desktop process, after another prefix on
# the same display ended its own) would otherwise hold the pipe open and make
# CTest wait for it to exit, about 20 s a test.
out=$(mktemp "${TMPDIR:-/tmp}/krx-wine-exec.XXXXXX") || exit 2
timeout --kill-after=10 "${KRX_WINE_TIMEOUT:-280}" wine "$@" >"$out" 2>&1
rc=$?
cat "$out"
rm -f "$out"
exit $rc
