# Shared by scripts/test.sh, scripts/make-media.sh and
# samples/make-sample-kit.sh (installed too, as share/tandrel/main-job/lib.sh)
# and the end-to-end scripts (sourced): the tool check that installs what is
# missing, the owned-folder rule, the choice of the Wine ring, and the
# Windows form of a Linux path.

# The readers the main job's check uses (iconv turns names between the
# host's encoding and the kit's code page; mtools, 7-Zip and dosfstools read
# the images back, readers we did not write), each with the Debian package
# that brings it: all the installed main job needs beside its own tools.
tandrel_readers=(iconv:libc-bin mcopy:mtools mdir:mtools 7zz:7zip fsck.fat:dosfstools)
# The tools the native main job uses from a checkout (the readers, and
# MinGW and g++ to build the Windows programs and the Linux tools); and
# every tool the builds, the test rings, the Wine run and the package use
# (help2man writes the manual pages, lintian judges the package). Any missing
# one has scripts/setup-deps.sh install everything.
tandrel_native_tools=(cmake g++ i686-w64-mingw32-g++-posix i686-w64-mingw32-windres
                      "${tandrel_readers[@]%%:*}")
tandrel_tools=("${tandrel_native_tools[@]}" clang++ x86_64-w64-mingw32-g++-posix wine Xvfb convert
               help2man lintian man dpkg-architecture)

# Installs what is missing; false when that fails. Run from the tree's root.
# `native` checks only what the native main job needs, so that it runs on a
# machine without Wine.
tandrel_ensure_tools() {  # [native|all]
  local tool missing=0 needed=("${tandrel_tools[@]}")
  [ "${1:-all}" != native ] || needed=("${tandrel_native_tools[@]}")
  for tool in "${needed[@]}"; do
    command -v "$tool" >/dev/null 2>&1 || missing=1
  done
  # The native preset builds the tests as well, with GoogleTest from source.
  [ -f /usr/src/googletest/CMakeLists.txt ] || missing=1
  [ "$missing" -eq 0 ] || bash scripts/setup-deps.sh
}

# Names the readers that are not on PATH, with their packages ("7zz (7zip),
# ..."); false when any is missing.
tandrel_missing_readers() {
  local reader lacking=""
  for reader in "${tandrel_readers[@]}"; do
    command -v "${reader%%:*}" >/dev/null 2>&1 || lacking+="${lacking:+, }${reader%%:*} (${reader#*:})"
  done
  [ -z "$lacking" ] || { echo "$lacking"; return 1; }
}

# The owned-folder rule. A folder a person names (an output folder, a kit's
# setup/) may be any of theirs: a script makes it, empties it or replaces
# items in it only when no one else's files are there. Its runs leave a
# MARK, a plain file, in the folders they own. Prints what DIR is to such a
# script: "missing" (it may be made), "empty", "marked", or why it is not
# the script's: "not-folder", "below FOLDER" (FOLDER, the nearest thing
# above DIR, is no folder), "mark-link" (a mark leads elsewhere, which no
# run makes) or "foreign" (it holds what no run made). Folders named like
# -i PATTERN (the script's own working folders) count as nothing.
tandrel_folder_owner() {  # [-i PATTERN] DIR [MARK...]
  local ignore=/ dir above mark first  # no name holds a "/"
  if [ "$1" = -i ]; then ignore=$2; shift 2; fi
  dir=$1
  shift
  if [ ! -e "$dir" ] && [ ! -L "$dir" ]; then
    above=$(dirname "$dir")
    while [ ! -e "$above" ] && [ ! -L "$above" ]; do above=$(dirname "$above"); done
    if [ -d "$above" ]; then echo missing; else echo "below $above"; fi
    return
  fi
  [ -d "$dir" ] || { echo not-folder; return; }
  for mark; do [ ! -L "$dir/$mark" ] || { echo mark-link; return; }; done
  for mark; do [ ! -f "$dir/$mark" ] || { echo marked; return; }; done
  if first=$(find "$dir" -mindepth 1 -maxdepth 1 ! \( -type d -name "$ignore" \) -print -quit 2>/dev/null) &&
     [ -z "$first" ]; then
    echo empty
  else
    echo foreign
  fi
}

# The items DIR's MARKs list, one a line: only plain names in DIR itself, so
# that an edited mark reaches nothing elsewhere.
tandrel_marked_items() {  # DIR MARK...
  local dir=$1 mark item
  shift
  for mark; do
    [ -f "$dir/$mark" ] || continue
    while IFS= read -r item; do
      if [[ $item =~ ^[A-Za-z0-9][A-Za-z0-9._-]*$ ]]; then echo "$item"; fi
    done <"$dir/$mark"
  done
}

# The preset whose programs Wine runs here. Some virtual machines execute
# 64-bit user code only (an i386 program fails with "Exec format error"), and
# 32-bit Wine cannot start there at all: they get the 64-bit build of the
# same sources. The shipped programs stay the 32-bit ones of preset win32.
tandrel_wine_ring() {
  if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo win32-tests
  else
    echo win64-tests
  fi
}

# A Linux path as the Wine programs see it, on drive Z:.
winpath() { printf 'Z:%s' "${1//\//\\}"; }

# Answers a wine_driver's handshakes until the driver ends: each NAME.request
# that appears in DIR is answered in NAME.done with "ok OUTPUT" when
# `ANSWER NAME` succeeds and "failed: OUTPUT" when not; `REPORT NAME DONE`
# (optional) then tells the person.
serve_handshakes() {  # DRIVER-PID DIR ANSWER [REPORT]
  local pid=$1 dir=$2 answer=$3 report=${4:-} request name output
  while kill -0 "$pid" 2>/dev/null; do
    for request in "$dir"/*.request; do
      [ -e "$request" ] || continue
      name=$(basename "$request" .request)
      rm -f "$request"
      if output=$("$answer" "$name" 2>&1); then
        echo "ok $output" >"$dir/$name.answer"
      else
        echo "failed: $output" >"$dir/$name.answer"
      fi
      # The driver reads NAME.done as soon as it exists: it appears whole.
      mv -f "$dir/$name.answer" "$dir/$name.done"
      [ -z "$report" ] || "$report" "$name" "$(cat "$dir/$name.done")"
    done
    sleep 0.1
  done
}

# The driver's pictures (BMP) in FROM as PNG files in TO (default FROM).
pictures_to_png() {  # FROM [TO]
  local from=$1 to=${2:-$1} picture
  for picture in "$from"/*.bmp; do
    [ -e "$picture" ] || continue
    convert "$picture" "$to/$(basename "${picture%.bmp}").png" && rm -f "$picture"
  done
}
