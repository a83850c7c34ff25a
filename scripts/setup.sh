#!/usr/bin/env bash
# Installs everything the build and the tests need on a fresh Debian machine.
# Idempotent: what is already there is skipped.
set -euo pipefail

log() { printf '[setup] %s\n' "$*"; }

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

# Packages for the builds (native, 32- and 64-bit Windows) and the Wine test
# runs (wine32 for the 32-bit prefix, wine64 for the 64-bit add-on's). wine32
# needs the i386 architecture before the package lists are read.
PKGS=(
  cmake make g++ clang libclang-rt-dev
  libgtest-dev googletest libbenchmark-dev
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  libz-mingw-w64-dev
  wine wine32 wine64 xvfb x11-apps x11-utils xdotool
  fonts-wine fonts-dejavu-core fonts-liberation
  fp-utils imagemagick python3
  nsis
)

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  log "adding the i386 architecture (for wine32)"
  $SUDO dpkg --add-architecture i386
  NEED_UPDATE=1
fi

missing=()
for p in "${PKGS[@]}"; do
  # wine32 is an i386 package; dpkg-query needs the qualified name for it.
  q="$p"; [ "$p" = wine32 ] && q="wine32:i386"
  if ! dpkg-query -W -f='${Status}' "$q" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  log "all packages present"
else
  log "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# ImageMagick's real convert lives in /usr/bin; another one may shadow it on PATH.
if [ ! -x /usr/bin/convert ]; then
  log "warning: /usr/bin/convert missing; screenshots will stay as BMP"
fi
log "done"
