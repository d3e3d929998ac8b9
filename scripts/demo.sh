#!/usr/bin/env bash
# Builds the Windows programs (and the native tools) from a fresh machine.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v i686-w64-mingw32-g++-posix >/dev/null 2>&1 || ! command -v wine >/dev/null 2>&1; then
  bash scripts/setup-deps.sh
fi
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$(nproc)"
cmake --preset native >/dev/null
cmake --build --preset native -j "$(nproc)"
echo
echo "Built:"
ls -l build/win32/diskmaker/wizard/Wendmark.exe build/win32/unpack/frame/KivoUnpack.exe
