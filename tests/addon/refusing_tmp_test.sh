#!/usr/bin/env bash
# refusing_tmp_test.sh WINE_EXEC addon_host_tests.exe WORKDIR
# A program folder whose tmp\ takes no file, as a protected-mode tab finds
# it where setup could not set the folder's label, and the add-on's run in
# it (AddonRefusingTmp). Wine has no integrity levels, and root passes Unix
# permissions: as root the folder is made immutable (chattr +i, which root
# obeys; Wine answers a create in it with access denied), otherwise read-only.
set -u
wine_exec="$1" exe="$2" work="$3"
tmp="$work/program/tmp"
release() { chattr -i "$tmp" >/dev/null 2>&1; chmod u+w "$tmp" >/dev/null 2>&1; }
[ -d "$tmp" ] && release
rm -rf "$work"
mkdir -p "$tmp"
if [ "$(id -u)" = 0 ]; then
  chattr +i "$tmp" || { echo "cannot make $tmp immutable"; exit 2; }
else
  chmod a-w "$tmp"
fi
trap 'release; rm -rf "$work"' EXIT
if touch "$tmp/probe" 2>/dev/null; then echo "$tmp still takes files"; exit 2; fi
program="Z:$(echo "$work/program" | tr / '\\')"
KRX_REFUSING_PROGRAM="$program" bash "$wine_exec" "$exe" --gtest_also_run_disabled_tests \
  '--gtest_filter=AddonRefusingTmp.DISABLED_*'
