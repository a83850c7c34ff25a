#!/bin/sh
# The longer hunt: every fuzz target for SECONDS (600 unless told), two at a
# time and at the lowest priority, since the machine is shared.
#   tests/fuzz/hunt.sh BUILD_DIR [SECONDS] [TARGET...]
# BUILD_DIR is a native build configured with -DKRX_FUZZ=ON. Each target's
# corpus grows in BUILD_DIR/tests/fuzz/hunt/<target>/ and carries over to the
# next hunt; logs, crash inputs and one summary line per target land in
# BUILD_DIR/tests/fuzz/hunt/. Keep a finding as a regression input by
# copying it into tests/fuzz/corpus/<target>/.
set -u
[ $# -ge 1 ] || { echo "usage: hunt.sh BUILD_DIR [SECONDS] [TARGET...]" >&2; exit 2; }
build=$(cd "$1" && pwd)
seconds=${2:-600}
[ $# -ge 2 ] && shift 2 || shift 1
here=$(cd "$(dirname "$0")" && pwd)
fuzz=$build/tests/fuzz
out=$fuzz/hunt
targets=${*:-record_file day_file settings password_file item_text cache_filter outside_text user_folder}

flags_for() {
  case "$1" in
    record_file) echo "-malloc_limit_mb=64 -max_len=16384" ;;
    user_folder) echo "-malloc_limit_mb=64 -max_len=16384 $fuzz/seeds/record_file $here/corpus/record_file" ;;
    day_file) echo "-max_len=4096" ;;
    *) echo "-max_len=1024" ;;
  esac
}

hunt_one() {
  # shellcheck disable=SC2046
  KRX_FUZZ_KEEP="$out/$1" nice -n 19 sh "$here/run_short.sh" "$fuzz/$1_fuzz" "$seconds" "$out" \
    "$fuzz/seeds/$1" "$here/corpus/$1" $(flags_for "$1") >/dev/null
}

set -- $targets
while [ $# -gt 0 ]; do
  hunt_one "$1" &
  first=$!
  if [ $# -gt 1 ]; then
    hunt_one "$2" &
    wait $!
    shift
  fi
  wait "$first"
  shift
done
for name in $targets; do cat "$out/${name}_fuzz.txt"; done
