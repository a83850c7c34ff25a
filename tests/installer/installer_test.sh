#!/usr/bin/env bash
# installer_test.sh SETUP.exe wait_for_window.exe WORKDIR icacls_recorder.exe
# Runs the setup file silently in a fresh Wine prefix of its own (on the
# test display) and checks the installation, an upgrade and the uninstall.
# Wine's icacls changes nothing: a recording stand-in takes its place, and
# the commands setup ran are checked instead.
set -u
setup="$1" waiter="$2" work="$3" recorder="$4"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
check() { local what="$1"; shift; if "$@"; then echo "ok: $what"; else fail "$what"; fi; }

if [ -z "${DISPLAY:-}" ]; then echo "installer test: no DISPLAY (run it under scripts/test.sh)"; exit 2; fi
rm -rf "$work"
mkdir -p "$work"
export WINEPREFIX="$work/prefix" WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;icacls.exe=n"
w() { timeout --kill-after=5 120 wine "$@" </dev/null; }
wineserver -p </dev/null >/dev/null 2>&1
timeout 180 wineboot -i </dev/null >"$work/wineboot.log" 2>&1
w reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
trap 'wineserver -k >/dev/null 2>&1' EXIT
cp "$recorder" "$WINEPREFIX/drive_c/windows/system32/icacls.exe"
calls="$WINEPREFIX/drive_c/windows/system32/icacls-calls.txt"
# The access commands setup ran, in order, one a line.
icacls_calls() { tr -d '\r' <"$calls" 2>/dev/null; }

# Wine quotes an argument with a space, and the setup reads /D= unquoted only.
dir='C:\Apps\Kestrelix'
unix="$WINEPREFIX/drive_c/Apps/Kestrelix"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Kestrelix"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kestrelix'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
toolbar_key='HKLM\Software\Microsoft\Internet Explorer\Extensions\{5A3C91E2-7B40-4D8F-A6E1-3C92B07D4F15}'
user_toolbar_key='HKCU\Software\Microsoft\Internet Explorer\Extensions\{5A3C91E2-7B40-4D8F-A6E1-3C92B07D4F15}'
maker_key='HKLM\SOFTWARE\Marrowin\Kestrelix'
addon_class_key='HKLM\Software\Classes\CLSID\{617D30F3-45EB-4A05-91D3-F50D72567345}'
addon_helper_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Explorer\Browser Helper Objects\{617D30F3-45EB-4A05-91D3-F50D72567345}'
value() { w reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"; }
default_value() { w reg query "$1" /ve 2>/dev/null | tr -d '\r' | sed -n "s/^ *([^)]*) *REG_[A-Z_]* *//p"; }
has_key() { w reg query "$1" >/dev/null 2>&1; }
has_value() { w reg query "$1" /v "$2" >/dev/null 2>&1; }
no_key() { ! has_key "$1"; }
no_value() { ! has_value "$1" "$2"; }

# 1. Silent install into a chosen folder.
w "$setup" /S "/D=$dir"
check "setup exits 0" [ $? = 0 ]
wineserver -w
for f in Kestrelix.exe Kestrelix.dll Kestrelix.chm qv.chm Kestrelix.ico krxtool.exe uninstall.exe; do
  check "installed $f" [ -f "$unix/$f" ]
done
check "User and tmp folders" test -d "$unix/User" -a -d "$unix/tmp"
check "no 64-bit add-on on 32-bit Windows" [ ! -e "$unix/Kestrelix64.dll" ]
# tmp\ and nothing else: a low label its files inherit, the files already
# there labelled too, and ALL APPLICATION PACKAGES may modify it.
expected_calls="\"$dir\\User\" /grant *S-1-5-32-545:(OI)(CI)M /T /C /Q
\"$dir\\tmp\" /grant *S-1-5-32-545:(OI)(CI)M /T /C /Q
\"$dir\\tmp\" /setintegritylevel (OI)(CI)L /C /Q
\"$dir\\tmp\\*\" /setintegritylevel L /C /Q
\"$dir\\tmp\" /grant *S-1-15-2-1:(OI)(CI)M /T /C /Q"
check "setup's access commands" [ "$(icacls_calls)" = "$expected_calls" ]
[ "$(icacls_calls)" = "$expected_calls" ] || icacls_calls
for l in "Kestrelix.lnk" "Kestrelix Help.lnk" "Uninstall Kestrelix.lnk"; do
  check "Start menu: $l" [ -f "$menu/$l" ]
done
check "Add/Remove name" [ "$(value "$uninstall_key" DisplayName)" = "Kestrelix" ]
check "Add/Remove version 1.30" [ "$(value "$uninstall_key" DisplayVersion)" = "1.30" ]
check "Add/Remove publisher" [ -n "$(value "$uninstall_key" Publisher)" ]
check "Add/Remove icon" [ "$(value "$uninstall_key" DisplayIcon)" = "$dir\\Kestrelix.ico" ]
check "Add/Remove uninstall command" [ "$(value "$uninstall_key" UninstallString)" = "\"$dir\\uninstall.exe\"" ]
size=$(value "$uninstall_key" EstimatedSize)
check "Add/Remove size ($size KB)" [ "$((${size:-0}))" -gt 100 ]
# The real add-on registered itself: its class with the installed library,
# and its place among the browser's helper objects (not Explorer's).
check "the add-on's class and library" [ "$(default_value "$addon_class_key\\InprocServer32")" = "$dir\\Kestrelix.dll" ]
check "the add-on's threading model" [ "$(value "$addon_class_key\\InprocServer32" ThreadingModel)" = "Apartment" ]
check "the add-on among the browser's helpers" [ "$(value "$addon_helper_key" NoExplorer)" = "0x1" ]
# Setup writes the install path (the manager may not, as a standard user):
# the folder's bytes with its closing backslash, no NUL.
path_bytes=$(printf '%s' "$dir\\" | od -An -tx1 | tr -d ' \n' | tr a-f A-F)
check "the install path by setup" [ "$(value "$maker_key" InstallPath)" = "$path_bytes" ]

# 2. The program starts from the installed folder: its first-use login.
(cd "$unix" && timeout 60 wine "$dir\\Kestrelix.exe" </dev/null >/dev/null 2>&1) &
app=$!
check "login window from the installed program" w "$waiter" "Kestrelix - Login" 40 keep
# While it runs, setup and the uninstaller refuse (its files are in use).
w "$setup" /S
check "setup refuses while the program runs" [ $? = 2 ]
w "$unix/uninstall.exe" /S "_?=$dir"
check "uninstall refuses while the program runs" [ $? = 2 ]
check "nothing was removed meanwhile" [ -f "$unix/Kestrelix.exe" ]
w "$waiter" "Kestrelix - Login" 5 >/dev/null
wait "$app"
check "the program made its settings in User" [ -f "$unix/User/KRX.cfg" ]
check "the autorun value in quotes" [ "$(value "$run_key" Kestrelix)" = "\"$dir\\Kestrelix.exe\"" ]

# 3. An upgrade over it keeps User\ byte for byte.
head -c 4096 /dev/urandom >"$unix/User/visit.log"
printf 'sealed' >"$unix/User/user.sav"
cp "$unix/User/visit.log" "$work/visit.before"
cp "$unix/User/KRX.cfg" "$work/cfg.before"
w "$setup" /S
check "upgrade exits 0" [ $? = 0 ]
wineserver -w
check "upgrade went to the installed folder" [ "$(value "$uninstall_key" InstallLocation)" = "$dir" ]
check "upgrade ran the access commands again" [ "$(icacls_calls)" = "$expected_calls
$expected_calls" ]
check "upgrade kept User\\visit.log" cmp -s "$work/visit.before" "$unix/User/visit.log"
check "upgrade kept User\\KRX.cfg" cmp -s "$work/cfg.before" "$unix/User/KRX.cfg"
check "upgrade kept User\\user.sav" [ "$(cat "$unix/User/user.sav")" = sealed ]

# 3b. A manager of another Windows session holds User\Kestrelix.lock (the
# session's mutex does not show it): setup and the uninstaller refuse.
rm -f "$unix/User/Kestrelix.lock" "$work/release"
w "$waiter" --hold "$dir\\User\\Kestrelix.lock" "$(winepath -w "$work/release" 2>/dev/null)" &
holder=$!
for _ in $(seq 100); do [ -e "$unix/User/Kestrelix.lock" ] && break; sleep 0.1; done
w "$setup" /S
check "setup refuses while another session's manager runs" [ $? = 2 ]
w "$unix/uninstall.exe" /S "_?=$dir"
check "uninstall refuses while another session's manager runs" [ $? = 2 ]
check "nothing was removed meanwhile (lock)" [ -f "$unix/Kestrelix.exe" ]
touch "$work/release"
wait "$holder"

# 4. Silent uninstall, after the program has written its registry entries.
w reg add "$run_key" /v Kestrelix /d "$dir\\Kestrelix.exe" /f >/dev/null 2>&1
w reg add "$toolbar_key" /v ButtonText /d Kestrelix /f >/dev/null 2>&1
w reg add "$toolbar_key\\sub" /v x /d y /f >/dev/null 2>&1
w reg add "$maker_key" /v InstallPath /t REG_BINARY /d 41 /f >/dev/null 2>&1
printf 'x' >"$unix/tmp/1.vis"
printf 'x' >"$unix/User/ErrorMsg.txt"
: >"$unix/User/Kestrelix.lock"
w reg add "$user_toolbar_key" /v ButtonText /d Kestrelix /f >/dev/null 2>&1
check "the user's toolbar key is there to remove" has_key "$user_toolbar_key"
check "the program's entries are there to remove" has_value "$run_key" Kestrelix
check "the toolbar key is there to remove" has_key "$toolbar_key"
w "$unix/uninstall.exe" /S
wineserver -w  # the uninstaller runs from a copy of itself
check "the add-on's class unregistered" no_key "$addon_class_key"
check "the add-on no longer a browser helper" no_key "$addon_helper_key"
for f in Kestrelix.exe Kestrelix.dll Kestrelix.chm qv.chm Kestrelix.ico krxtool.exe uninstall.exe; do
  check "removed $f" [ ! -e "$unix/$f" ]
done
check "removed tmp" [ ! -e "$unix/tmp" ]
check "removed the Start menu folder" [ ! -e "$menu" ]
check "removed the autorun value" no_value "$run_key" Kestrelix
check "removed the toolbar button key" no_key "$toolbar_key"
check "removed the user's toolbar button key" no_key "$user_toolbar_key"
check "removed User\\ErrorMsg.txt and the lock" [ ! -e "$unix/User/ErrorMsg.txt" -a ! -e "$unix/User/Kestrelix.lock" ]
check "removed the install path key" no_key "$maker_key"
check "removed the Add/Remove entry" no_key "$uninstall_key"
check "silent uninstall kept User\\visit.log" cmp -s "$work/visit.before" "$unix/User/visit.log"
check "silent uninstall kept User\\user.sav" [ -f "$unix/User/user.sav" ]

echo "$failures failed"
[ "$failures" = 0 ]
