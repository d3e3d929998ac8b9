#!/usr/bin/env bash
# Installs everything the build and the three test rings need, from Debian's
# packages only. Safe to run again: it only installs what is missing.
set -euo pipefail

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive

PACKAGES=(
  cmake make g++ clang libclang-rt-14-dev
  g++-mingw-w64-i686 binutils-mingw-w64-i686
  g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
  googletest libbenchmark-dev
  wine wine32:i386 wine64 fonts-wine xvfb x11-utils
  mtools dosfstools imagemagick
  7zip
  help2man lintian man-db groff-base dpkg-dev
)

missing=()
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
  missing=("${PACKAGES[@]}")
else
  for p in "${PACKAGES[@]}"; do
    st=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
    [ "$st" = "installed" ] || missing+=("$p")
  done
fi

if [ "${#missing[@]}" -eq 0 ]; then
  echo "setup-deps: everything is installed"
  exit 0
fi

echo "setup-deps: installing ${missing[*]}"
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"

# GoogleTest needs std::mutex, which only the posix-thread MinGW compilers have.
for tool in i686-w64-mingw32-gcc i686-w64-mingw32-g++ x86_64-w64-mingw32-gcc x86_64-w64-mingw32-g++; do
  if [ -e "/usr/bin/$tool-posix" ]; then
    $SUDO update-alternatives --set "$tool" "/usr/bin/$tool-posix" >/dev/null 2>&1 || true
  fi
done
echo "setup-deps: done"
