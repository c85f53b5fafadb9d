#!/usr/bin/env bash
# Installs everything the build and the tests need on a fresh Debian 12 machine.
# Idempotent: a second run checks and does nothing when all is in place.
set -euo pipefail

packages=(
  cmake ninja-build g++ make pkg-config
  mingw-w64 g++-mingw-w64-i686-win32 gcc-mingw-w64-i686-win32 binutils-mingw-w64-i686
  wine wine32:i386 xvfb x11-utils xdotool imagemagick
  clang libclang-rt-14-dev llvm
  libmspack-dev libmspack0 googletest libgtest-dev libgmock-dev libbenchmark-dev
  gcab mscompress cabextract
  dpkg-dev python3 xxd
)

need_root() {
  if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "run as root or install sudo" >&2; exit 1; }
    sudo "$@"
  else
    "$@"
  fi
}

missing=()
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  need_root dpkg --add-architecture i386
  missing=(force-update)
fi

# Source entries are needed for `apt-get source libmspack` (cross-compiled for win32).
src=/etc/apt/sources.list.d/debian.sources
if [ -f "$src" ] && ! grep -q '^Types:.*deb-src' "$src"; then
  need_root sed -i 's/^Types: deb$/Types: deb deb-src/' "$src"
  missing=(force-update)
fi

for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  need_root apt-get update -q
  need_root apt-get install -y -q --no-install-recommends "${packages[@]}"
fi

echo "prerequisites: ok"
