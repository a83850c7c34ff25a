# Sourced by the test and run scripts: one X display and one warm Wine
# prefix for a whole run. The order matters: Xvfb first, then the
# wineserver under that display, then wineboot, then the programs.

# krx_wine_start DIR [win32|win64]: the prefix is DIR/wineprefix; win64 (for
# the 64-bit add-on's tests) makes a 64-bit prefix, which runs the 32-bit
# manager too.
krx_wine_start() {
  local dir="$1" arch="${2:-win32}"
  mkdir -p "$dir"
  unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export WINEARCH="$arch"
  export WINEPREFIX="$dir/wineprefix"
  export KRX_RUN_DIR="$dir"

  KRX_XVFB_PID=""
  if [ -n "${KRX_KEEP_DISPLAY:-}" ] && [ -n "${DISPLAY:-}" ]; then
    : # the caller's own display
  else
    # 24-bit, or colours read back from the screen are quantised.
    rm -f "$dir/xvfb.display"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$dir/xvfb.display" </dev/null >"$dir/xvfb.log" 2>&1 &
    KRX_XVFB_PID=$!
    local i
    for i in $(seq 1 100); do
      [ -s "$dir/xvfb.display" ] && break
      sleep 0.1
    done
    export DISPLAY=":$(head -n1 "$dir/xvfb.display")"
  fi

  local fresh=0
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    fresh=1
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
  fi
  # Background Wine processes must not hold the caller's pipes open, or
  # CTest waits for them forever.
  wineserver -p </dev/null >/dev/null 2>&1
  timeout 180 wineboot -i </dev/null >"$dir/wineboot.log" 2>&1 || true
  if [ "$fresh" = 1 ]; then
    # Tahoma and friends; Verdana exists in no package, DejaVu Sans stands in.
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    # No window manager runs under Xvfb: unmanaged windows, or every hide stalls.
    timeout 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
    timeout 60 wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Verdana /d 'DejaVu Sans' /f </dev/null >/dev/null 2>&1
    # A first boot may leave two services.exe and no rpcss.exe, and every
    # URL moniker bind (the browser's fetches) then waits 3-10 s: one
    # restart of the prefix gives one of each.
    wineserver -k </dev/null >/dev/null 2>&1
    wineserver -w </dev/null >/dev/null 2>&1
    wineserver -p </dev/null >/dev/null 2>&1
    timeout 180 wineboot </dev/null >>"$dir/wineboot.log" 2>&1 || true
  fi
  # One warm-up command so the first test does not pay for a cold start.
  timeout 60 wine cmd /c exit </dev/null >/dev/null 2>&1 || true
}

krx_wine_stop() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "${KRX_XVFB_PID:-}" ]; then
    kill "$KRX_XVFB_PID" 2>/dev/null || true
    wait "$KRX_XVFB_PID" 2>/dev/null || true
  fi
}
