#!/bin/bash
# Kills the real Kestrelix.exe at random moments of its close, many times
# over (the test command runs a dozen): trials, completed closes, damaged
# files and records lost. Runs at the lowest priority; it takes a while.
#   scripts/close_kill_trials.sh [trials=200] [windows build folder=build/win]
set -u
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
TRIALS="${1:-200}"
BUILD="$(cd "${2:-$ROOT/build/win}" && pwd)"
EXE="$BUILD/tests/app/app_tests.exe"
[ -f "$EXE" ] || { echo "build app_tests first: cmake --build $BUILD --target app_tests" >&2; exit 1; }
source "$ROOT/scripts/wine-env.sh"
krx_wine_start "$BUILD/kill-run"
trap krx_wine_stop EXIT
export KRX_CLOSE_KILL_TRIALS="$TRIALS"
# About 10 s a trial on a busy 2-core machine.
nice -n 19 timeout $((TRIALS * 60 + 600)) wine "$EXE" --gtest_filter='CloseKill.*' </dev/null 2>&1 |
  grep -E '^close kills:|FAILED|Failure|neither|not what'
