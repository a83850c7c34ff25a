#!/usr/bin/env bash
# Runs a chosen set of Windows tests N times in a row under one Wine prefix
# and display, and counts how often each one failed: a test that fails one
# run in seven is found here, not in CI.
#
#   scripts/repeat_tests.sh [-n N] [-b BUILD_DIR] [-j JOBS] REGEX
#   scripts/repeat_tests.sh -n 20 'ManagerEndToEnd|SkinDialog'
#   scripts/repeat_tests.sh --input -n 20    # every test that uses real input
#
# The build must exist (scripts/test.sh or cmake --build build/win). Exit
# status 0 only when every run of every chosen test passed.
set -uo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
N=20
BUILD="$ROOT/build/win"
JOBS=1
REGEX=""
while [ $# -gt 0 ]; do
  case "$1" in
    -n) N="$2"; shift 2 ;;
    -b) BUILD="$(cd "$2" && pwd)"; shift 2 ;;
    -j) JOBS="$2"; shift 2 ;;
    --input)
      # The test programs whose sources give real input (mouse, keys) or
      # take the foreground, directly or through the end-to-end tests'
      # user actions, found by name so that new ones join by themselves.
      # Parameterised suites run as "Prefix/Suite.Name/N".
      files=$(grep -rlE 'SendInput|mouse_event|keybd_event|SetForegroundWindow|GetForegroundWindow|xdotool|ClickToFocus|PressKey\(' \
        "$ROOT/tests" --include='*_test.cpp')
      suites=$(echo "$files" | xargs -r grep -hoE '^TEST(_F|_P)?\([A-Za-z0-9_]+' | sed -E 's/^TEST(_F|_P)?\(//' | sort -u)
      REGEX="(^|/)($(echo "$suites" | paste -sd'|'))\\."
      shift ;;
    *) REGEX="$1"; shift ;;
  esac
done
[ -n "$REGEX" ] || { echo "usage: $0 [-n N] [-b BUILD_DIR] [-j JOBS] (REGEX | --input)" >&2; exit 2; }
[ -f "$BUILD/CTestTestfile.cmake" ] || { echo "no Windows build in $BUILD" >&2; exit 2; }

# shellcheck source=wine-env.sh
source "$ROOT/scripts/wine-env.sh"
RUN="$BUILD/repeat-run"
rm -rf "$RUN"
krx_wine_start "$RUN"
trap krx_wine_stop EXIT

log="$RUN/failures.txt"
: >"$log"
echo "tests: $REGEX"
for i in $(seq 1 "$N"); do
  out="$RUN/run-$i.log"
  (cd "$BUILD" && ctest -R "$REGEX" -j"$JOBS" --output-on-failure) >"$out" 2>&1
  # CTest's list of failed tests: "  12 - Suite.Name (Failed)".
  sed -n 's/^[[:space:]]*[0-9]\{1,\} - \([^ ]*\) (.*)$/\1/p' "$out" >>"$log"
  summary=$(grep -E 'tests passed' "$out" | tail -n1)
  printf 'run %d of %d: %s\n' "$i" "$N" "${summary:-no tests ran}"
done

echo
if [ -s "$log" ]; then
  echo "failures (count, test); the logs are in $RUN:"
  sort "$log" | uniq -c | sort -rn
  exit 1
fi
echo "no failure in $N runs"
