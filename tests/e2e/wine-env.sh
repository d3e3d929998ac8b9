#!/usr/bin/env bash
# The private Windows environment the Win32 tests run in: a Wine prefix inside
# the build folder, a virtual X display, and a floppy drive A: backed by a
# tmpfs of a floppy's size. Everything started here is stopped by its own
# process id (Xvfb) or by its own prefix (wineserver -k), never by name.
#
#   wine-env.sh setup DIR [ARCH]     make the prefix, start Xvfb, mount A:;
#                                    ARCH win32 (default) or win64
#   wine-env.sh wine DIR ARGS...     the prefix's own wine (reg, wineboot, ...)
#   wine-env.sh run DIR PROGRAM ...  run a Windows program in it
#   wine-env.sh floppy DIR BYTES     empty A: and give it BYTES of room
#   wine-env.sh protect DIR on|off   slide A:'s write-protect tab (read-only remount)
#   wine-env.sh stop DIR             end every program still running in the prefix
#   wine-env.sh cleanup DIR          stop and unmount what setup started
set -euo pipefail

cmd=${1:?command}
dir=${2:?environment folder}
# DIR belongs to the environment: setup marks it, and the other commands,
# which empty its floppy and stop what runs in it, work only in a marked
# folder. Setup refuses a folder that holds anything else, as it may be a
# person's own. Environments from before the mark are known by their arch
# file beside their prefix.
mark=.tandrel-wine-env
is_environment() { [ -f "$1/$mark" ] || { [ -f "$1/arch" ] && [ -d "$1/prefix" ]; }; }
if [ "$cmd" = setup ]; then
  if [ -e "$dir" ] && ! is_environment "$dir" && [ -n "$(ls -A "$dir" 2>&1)" ]; then
    echo "wine-env: $dir holds files and is no environment of wine-env.sh; give a new or empty folder" >&2
    exit 2
  fi
  mkdir -p "$dir"
  : >"$dir/$mark"
elif ! is_environment "$dir"; then
  echo "wine-env: $dir is no environment made by wine-env.sh setup" >&2
  exit 2
fi
dir=$(cd "$dir" && pwd)

export WINEPREFIX="$dir/prefix"
export WINEDEBUG=-all
# No Mono or Gecko offers, and no debugger that would wait for a person
# after a crash: a crashing program simply ends.
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
floppy="$dir/floppy"
# The prefix's architecture is chosen once, at setup, and kept beside it.
if [ "$cmd" = setup ]; then
  echo "${3:-${TANDREL_WINEARCH:-win32}}" >"$dir/arch"
fi
export WINEARCH=$(cat "$dir/arch" 2>/dev/null || echo win32)
# Debian's `wine` starts the 32-bit loader whenever it is installed; a 64-bit
# prefix needs the 64-bit one named.
if [ "$WINEARCH" = win64 ]; then wine=wine64; else wine=wine; fi
command -v "$wine" >/dev/null 2>&1 || wine=/usr/lib/wine/$wine
if [ "$WINEARCH" = win64 ]; then export WINELOADER=$wine; fi
# A 1.44 MB floppy holds 1,457,664 bytes; tmpfs counts whole pages.
floppy_bytes=1458176

load_display() {
  if [ -f "$dir/display" ]; then export DISPLAY=":$(cat "$dir/display")"; fi
}

size_floppy() {
  local bytes=$1
  if mountpoint -q "$floppy"; then
    umount "$floppy"
  fi
  rm -rf "$floppy"
  mkdir -p "$floppy"
  if [ "$(id -u)" -eq 0 ]; then
    mount -t tmpfs -o "size=$bytes" tmpfs "$floppy"
  fi
}

start_xvfb() {
  # A person's own display (scripts/make-media.sh --via-wine --interactive): nothing to start.
  if [ -n "${TANDREL_USE_DISPLAY:-}" ]; then
    echo "${TANDREL_USE_DISPLAY#*:}" >"$dir/display"
    return
  fi
  if [ -f "$dir/xvfb.pid" ] && kill -0 "$(cat "$dir/xvfb.pid")" 2>/dev/null; then return; fi
  local n=90
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >"$dir/xvfb.log" 2>&1 &
  echo $! >"$dir/xvfb.pid"
  echo "$n" >"$dir/display"
  for _ in $(seq 1 50); do
    [ -e "/tmp/.X11-unix/X$n" ] && return
    sleep 0.1
  done
  echo "wine-env: Xvfb did not start on :$n" >&2
  exit 1
}

case "$cmd" in
  setup)
    start_xvfb
    load_display
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      "$wine" wineboot -i >"$dir/wineboot.log" 2>&1
    fi
    size_floppy "$floppy_bytes"
    ln -sfn "$floppy" "$WINEPREFIX/dosdevices/a:"
    "$wine" reg add 'HKLM\Software\Wine\Drives' /v a: /d floppy /f >/dev/null 2>&1
    # There is no window manager on the virtual display: let Wine draw the
    # captions and frames itself, so that pictures show whole windows.
    "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
    # Wine's own fonts (fonts-wine) are not picked up from Wine's data folder,
    # only from the prefix's Fonts folder: Marlett draws the caption buttons'
    # glyphs, and MS Sans Serif gives dialogs the metrics Windows gives them
    # (without it a wider stand-in cuts labels short).
    if [ -d /usr/share/wine/fonts ]; then
      cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    fi
    wineserver -w || true
    echo "wine-env: $WINEARCH prefix $WINEPREFIX, display $DISPLAY, floppy $floppy"
    ;;
  run)
    shift 2
    load_display
    # GoogleTest programs leave an XML report per run, so that the cases run
    # under Wine can be counted one by one.
    mkdir -p "$dir/gtest-xml"
    xml="Z:$dir/gtest-xml/"
    export GTEST_OUTPUT="xml:${xml//\//\\}"
    exec "$wine" "$@"
    ;;
  wine)
    shift 2
    load_display
    exec "$wine" "$@"
    ;;
  floppy)
    size_floppy "${3:-$floppy_bytes}"
    ;;
  protect)
    if [ "${3:-on}" = on ]; then mode=ro; else mode=rw; fi
    mount -o "remount,$mode" "$floppy"
    ;;
  stop)
    wineserver -k 2>/dev/null || true
    ;;
  cleanup)
    wineserver -k 2>/dev/null || true
    if [ -f "$dir/xvfb.pid" ]; then
      kill "$(cat "$dir/xvfb.pid")" 2>/dev/null || true
      rm -f "$dir/xvfb.pid" "$dir/display"
    fi
    if mountpoint -q "$floppy"; then umount "$floppy"; fi
    ;;
  *)
    echo "wine-env: unknown command $cmd" >&2
    exit 2
    ;;
esac
