#!/bin/sh
# One fuzz run: run_short.sh FUZZER SECONDS REPORT_DIR [SEED_DIR | -flag]...
# New inputs go to a scratch folder (or to KRX_FUZZ_KEEP when set), so
# nothing lands in the repository; a crash input lands in REPORT_DIR. Prints
# the coverage reached and keeps that line in REPORT_DIR/<fuzzer>.txt.
set -u
fuzzer=$1 seconds=$2 reports=$3
shift 3
name=$(basename "$fuzzer")
mkdir -p "$reports"
if [ -n "${KRX_FUZZ_KEEP:-}" ]; then
  work=$KRX_FUZZ_KEEP
  mkdir -p "$work"
else
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
fi
# Seed folders that do not exist (no kept findings yet) are left out.
for arg in "$@"; do
  shift
  case "$arg" in
    -*) set -- "$@" "$arg" ;;
    *) [ -d "$arg" ] && set -- "$@" "$arg" ;;
  esac
done
log="$reports/$name.log"
# libFuzzer adds new inputs to the first folder it is given: the scratch one,
# never a seed folder (for a target without made seeds, that would be its
# corpus folder in the repository).
"$fuzzer" -max_total_time="$seconds" -rss_limit_mb=1024 -print_final_stats=1 \
  -artifact_prefix="$reports/$name-" "$work" "$@" >"$log" 2>&1
rc=$?
# libFuzzer's last status line: "#123 DONE cov: 456 ft: 789 corp: 12/3456b ..."
done_line=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -n1)
cov=$(printf '%s' "$done_line" | sed -n 's/.* cov: \([0-9]*\).*/\1/p')
ft=$(printf '%s' "$done_line" | sed -n 's/.* ft: \([0-9]*\).*/\1/p')
corp=$(printf '%s' "$done_line" | sed -n 's/.* corp: \([0-9]*\).*/\1/p')
runs=$(sed -n 's/^Done \([0-9]*\) runs in \([0-9]*\) second.*/\1 runs in \2 s/p' "$log" | tail -n1)
summary="$name: ${cov:-?} edges covered (${ft:-?} features), ${runs:-no runs}, corpus ${corp:-?} inputs"
if [ "$rc" -ne 0 ]; then
  tail -n 40 "$log"
  summary="$summary -- FAILED (exit $rc, log $log)"
fi
echo "$summary"
echo "$summary" >"$reports/$name.txt"
exit "$rc"
