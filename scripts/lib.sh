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

# Configures and builds PRESET (only the TARGETs, when given), the output in
# LOG. On failure "NAME: configuring PRESET failed" (or building) and the
# log's end go to standard error, and the status is false.
tandrel_build() {  # NAME LOG PRESET [TARGET...]
  local name=$1 log=$2 preset=$3 targets=()
  shift 3
  (($# == 0)) || targets=(--target "$@")
  if ! cmake --preset "$preset" >"$log" 2>&1; then
    tail -n 30 "$log" >&2
    echo "$name: configuring $preset failed" >&2
    return 1
  fi
  cmake --build --preset "$preset" -j "$(nproc)" "${targets[@]}" >>"$log" 2>&1 && return 0
  tail -n 30 "$log" >&2
  echo "$name: building $preset failed" >&2
  return 1
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

# The owned-folder rule's second half, for a run of a script that replaces
# the items its earlier runs made in such a folder. The run makes its items
# in a working folder of its own inside the folder, on the same file system,
# so that putting each in place is a rename, done only once the whole run
# has passed; until then the earlier items stand as they were, whatever
# happens. Two runs into one folder would each put their items in place
# over the other's: a run holds the folder's lock (descriptor
# $tandrel_run_lock), which nothing it starts may keep. The run's state is
# in tandrel_run_* (set by tandrel_run_begin, so that sourcing this file
# again leaves it as it is), and tandrel_run_earlier lists the items the
# folder's marks name (the caller reads them before the run begins).
[[ -v tandrel_run_earlier ]] || tandrel_run_earlier=()
tandrel_run_die() {
  echo "$tandrel_run_name: $*" >&2
  exit 1
}

# Begins a run of NAME in DIR: makes DIR if it is missing, takes its lock,
# removes the working folders (named like PATTERN, a name ending in ".work.*")
# that runs killed outright left, and makes this run's, $tandrel_run_work.
# However the run ends before its items are in place, its working folder
# goes, and so does a folder it made on the way to DIR.
tandrel_run_begin() {  # NAME DIR PATTERN [RELEASE: COMMAND PATH, which stops what still runs in PATH]
  local stale
  tandrel_run_name=$1 tandrel_run_dir=$2 tandrel_run_release=${4:-:}
  tandrel_run_work="" tandrel_run_created="" tandrel_run_placed=0
  trap tandrel_run_end EXIT
  trap 'tandrel_run_interrupted INT' INT
  trap 'tandrel_run_interrupted TERM' TERM
  trap 'tandrel_run_interrupted HUP' HUP
  if [[ ! -d $2 ]]; then
    tandrel_run_created=$2
    while [[ ! -d $(dirname "$tandrel_run_created") ]]; do tandrel_run_created=$(dirname "$tandrel_run_created"); done
    mkdir -p -- "$2" || tandrel_run_die "the folder $2 could not be made"
  fi
  exec {tandrel_run_lock}<"$2"
  flock -n "$tandrel_run_lock" || tandrel_run_die "another run is writing into $2; nothing was changed"
  while IFS= read -r -d '' stale; do
    "$tandrel_run_release" "$stale"
    rm -rf -- "$stale"
  done < <(find "$2" -mindepth 1 -maxdepth 1 -type d -name "$3" -print0)
  tandrel_run_work=$(mktemp -d "$2/${3%\*}XXXXXX") || tandrel_run_die "no working folder could be made in $2"
}

# Prints the first ITEM that stands in DIR though no earlier run listed it:
# a person's own, which a run must not replace. An ITEM may be a pattern
# (disk*.img) for every name in DIR that it matches.
tandrel_run_unlisted() {  # DIR ITEM...
  local dir=$1 pattern item earlier
  shift
  for pattern; do
    for item in "$dir"/$pattern; do
      item=${item#"$dir"/}
      [[ -e $dir/$item || -L $dir/$item ]] || continue
      for earlier in "${tandrel_run_earlier[@]}"; do [[ $earlier != "$item" ]] || continue 2; done
      echo "$item"
      return
    done
  done
}

# This run's ITEM against the earlier run's: "same", "differs", or "" when
# no earlier run left one.
tandrel_run_against_earlier() {  # ITEM
  local dir=$tandrel_run_dir
  if [[ -n $(tandrel_run_unlisted "$dir" "$1") || ! -f $dir/$1 || -L $dir/$1 ]]; then
    echo ""
  elif cmp -s "$tandrel_run_work/$1" "$dir/$1"; then
    echo same
  else
    echo differs
  fi
}

# What a run that ends before its items are in place leaves (the EXIT trap).
tandrel_run_end() {
  local folder
  if [[ -n $tandrel_run_work ]]; then
    "$tandrel_run_release" "$tandrel_run_work"
    rm -rf -- "$tandrel_run_work" ||
      echo "$tandrel_run_name: the working folder $tandrel_run_work could not be removed" >&2
  fi
  if ((!tandrel_run_placed)) && [[ -n $tandrel_run_created ]]; then
    folder=$tandrel_run_dir
    while rmdir -- "$folder" 2>/dev/null && [[ $folder != "$tandrel_run_created" ]]; do folder=$(dirname "$folder"); done
  fi
}
tandrel_run_interrupted() {  # SIGNAL
  trap '' INT TERM HUP
  echo "$tandrel_run_name: interrupted; nothing in $tandrel_run_dir was replaced" >&2
  tandrel_run_end
  trap - EXIT "$1"
  kill -s "$1" $$
}

# MARK, in the run's folder, lists the ITEMs (once each) below a line that
# names MADE_BY; it is replaced in one rename.
tandrel_run_mark() {  # MARK MADE_BY ITEM...
  local mark=$1 made_by=$2 item listed=" " tmp=$tandrel_run_work/.mark
  shift 2
  printf '# Made by %s. A later run replaces the items below and nothing else.\n' "$made_by" >"$tmp"
  for item; do
    [[ $listed == *" $item "* ]] || { echo "$item" >>"$tmp"; listed+="$item "; }
  done
  mv -f -- "$tmp" "$tandrel_run_dir/$mark"
}

# This run's ITEMs (in the working folder) in place of the earlier run's.
# At every moment MARK lists at
# least what stands in the folder, so that a run killed halfway leaves
# nothing the next could not remove; at the end it lists exactly this run's
# items, and OLD_MARK (the mark's name of old) is gone. Should an item not
# move, the earlier ones go back and the run dies. Once the items start to
# move, a Ctrl-C waits: the few renames left end in a complete folder
# either way.
tandrel_run_place() {  # MARK OLD_MARK MADE_BY ITEM...
  local mark=$1 old=$2 made_by=$3 dir=$tandrel_run_dir work=$tandrel_run_work item moved_out=() moved_in=() failed=""
  shift 3
  trap '' INT TERM HUP
  item=$(tandrel_run_unlisted "$dir" "$@")
  [[ -z $item ]] || tandrel_run_die "$dir/$item came into the folder during the run, and no run made it; nothing was replaced"
  tandrel_run_mark "$mark" "$made_by" "${tandrel_run_earlier[@]}" "$@"
  mkdir "$work/.earlier"
  for item in "${tandrel_run_earlier[@]}"; do
    [[ -e $dir/$item || -L $dir/$item ]] || continue
    "$tandrel_run_release" "$dir/$item"
    mv -T -- "$dir/$item" "$work/.earlier/$item" || { failed=$item; break; }
    moved_out+=("$item")
  done
  if [[ -z $failed ]]; then
    for item; do
      mv -T -- "$work/$item" "$dir/$item" || { failed=$item; break; }
      moved_in+=("$item")
    done
  fi
  if [[ -n $failed ]]; then
    local stuck=0
    for item in "${moved_in[@]}"; do mv -T -- "$dir/$item" "$work/$item" || stuck=1; done
    for item in "${moved_out[@]}"; do mv -T -- "$work/.earlier/$item" "$dir/$item" || stuck=1; done
    if ((stuck)); then
      # What could not go back must go neither with this working folder nor
      # with the next run's clearing of left-over ones.
      tandrel_run_work=""
      mv -T -- "$work" "${work/.work./.kept.}" && work=${work/.work./.kept.}
      tandrel_run_die "$failed could not be put in place in $dir, and not every earlier item could go back: the rest are in $work/.earlier"
    fi
    tandrel_run_mark "$mark" "$made_by" "${tandrel_run_earlier[@]}"
    tandrel_run_die "$failed could not be put in place in $dir; the earlier items are back"
  fi
  tandrel_run_mark "$mark" "$made_by" "$@"
  [[ -z $old ]] || rm -f -- "$dir/$old"
  tandrel_run_placed=1
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
