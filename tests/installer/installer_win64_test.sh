#!/usr/bin/env bash
# installer_win64_test.sh SETUP.exe WORKDIR
# Setup's 64-bit branch in a 64-bit Wine prefix of its own: both add-ons
# installed, each registered in its own view of the registry with the
# AppContainer category, and the uninstall taking both away, also when the
# 64-bit library can no longer unregister itself.
set -u
setup="$1" work="$2"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
check() { local what="$1"; shift; if "$@"; then echo "ok: $what"; else fail "$what"; fi; }

if [ -z "${DISPLAY:-}" ]; then echo "installer test: no DISPLAY (run it under scripts/test.sh)"; exit 2; fi
rm -rf "$work"
mkdir -p "$work"
export WINEPREFIX="$work/prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
w() { timeout --kill-after=5 120 wine "$@" </dev/null; }
wineserver -p </dev/null >/dev/null 2>&1
timeout 180 wineboot -i </dev/null >"$work/wineboot.log" 2>&1
trap 'wineserver -k >/dev/null 2>&1' EXIT

dir='C:\Apps\Kestrelix'
unix="$WINEPREFIX/drive_c/Apps/Kestrelix"
class_key='HKLM\Software\Classes\CLSID\{617D30F3-45EB-4A05-91D3-F50D72567345}'
helper_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Explorer\Browser Helper Objects\{617D30F3-45EB-4A05-91D3-F50D72567345}'
category='Implemented Categories\{59FB2056-D625-48D0-A944-1A85B5AB2640}'
# view is 32 or 64: the registry as a 32-bit or a 64-bit program sees it.
library() { w reg query "$1\\InprocServer32" /ve "/reg:$2" 2>/dev/null | tr -d '\r' | sed -n 's/^ *([^)]*) *REG_[A-Z_]* *//p'; }
has_key() { w reg query "$1" "/reg:$2" >/dev/null 2>&1; }
no_key() { ! has_key "$@"; }

w "$setup" /S "/D=$dir"
check "setup exits 0" [ $? = 0 ]
wineserver -w
check "installed Kestrelix.dll and Kestrelix64.dll" [ -f "$unix/Kestrelix.dll" ] && [ -f "$unix/Kestrelix64.dll" ]
check "the 64-bit view names the 64-bit add-on" [ "$(library "$class_key" 64)" = "$dir\\Kestrelix64.dll" ]
check "the 32-bit view names the 32-bit add-on" [ "$(library "$class_key" 32)" = "$dir\\Kestrelix.dll" ]
for view in 32 64; do
  check "AppContainer category in the $view-bit view" has_key "$class_key\\$category" $view
  check "a browser helper in the $view-bit view" has_key "$helper_key" $view
done

w "$unix/uninstall.exe" /S
wineserver -w
for view in 32 64; do
  check "uninstall: no class in the $view-bit view" no_key "$class_key" $view
  check "uninstall: no helper in the $view-bit view" no_key "$helper_key" $view
done
check "uninstall removed both add-ons" [ ! -e "$unix/Kestrelix.dll" ] && [ ! -e "$unix/Kestrelix64.dll" ]

# A 64-bit library that cannot unregister itself (damaged here) still has
# its keys removed, as they name it.
w "$setup" /S "/D=$dir"
wineserver -w
check "reinstalled: the 64-bit class is back" has_key "$class_key" 64
printf 'damaged' >"$unix/Kestrelix64.dll"
w "$unix/uninstall.exe" /S
wineserver -w
check "damaged library: no class in the 64-bit view" no_key "$class_key" 64
check "damaged library: no helper in the 64-bit view" no_key "$helper_key" 64
check "damaged library: the file removed" [ ! -e "$unix/Kestrelix64.dll" ]

echo "$failures failed"
[ "$failures" = 0 ]
