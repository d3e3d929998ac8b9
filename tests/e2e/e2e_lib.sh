# Shared by the end-to-end scripts (sourced): the Wine environment, the
# floppy checks from the Linux side, the handshake server and the pictures.
# Expects: here (this folder), env, out, driver, script, and the associative
# array `source` (name on the floppy -> its source file).

# Makes OUTDIR ready for a run of these scripts, by the owned-folder rule:
# a run marks its folder with .tandrel-e2e (folders of runs from before the
# mark are known by the logs they hold), and only a marked folder is
# emptied. Any other folder that holds something may be a person's own, so
# it is refused, with status 2.
fresh_output_folder() {  # DIR
  local dir=$1
  case $(tandrel_folder_owner "$dir" .tandrel-e2e driver.log program.log kivopack.log) in
    not-folder)
      echo "e2e: $dir is not a folder" >&2
      return 2 ;;
    marked)
      chmod -R u+w "$dir" 2>/dev/null || true
      rm -rf "$dir" ;;
    mark-link | foreign)
      echo "e2e: $dir holds files that no earlier test run made; give a new or empty folder" >&2
      return 2 ;;
  esac
  mkdir -p "$dir"
  : >"$dir/.tandrel-e2e"
}

# Makes the output folder afresh and resolves the folders the checks use.
prepare_folders() {
  fresh_output_folder "$out" || exit 2
  out=$(cd "$out" && pwd)
  env=$(mkdir -p "$env" && cd "$env" && pwd)
  floppy="$env/floppy"
  data="$out/data"
}

# WINE_ENV_SH may name another environment script with the same commands.
# The display and wineserver it starts outlive the call: a lock the caller
# holds (the descriptor in $tandrel_run_lock) is not handed on to them.
wenv() {
  (
    [[ -z ${tandrel_run_lock:-} ]] || exec {tandrel_run_lock}<&-
    exec "${WINE_ENV_SH:-$here/wine-env.sh}" "$@"
  )
}
# shellcheck source=../../scripts/lib.sh
. "$here/../../scripts/lib.sh"

# The floppy holds exactly these files, each the same bytes as its source,
# with the source's last-write time and the last-access time the copy read
# (reading the source moves its access time on where the system keeps it).
check_floppy() {
  local actual expected name
  actual=$(cd "$floppy" && find . -mindepth 1 | sed 's|^\./||' | sort | tr '\n' ' ')
  expected=""
  [ "$#" -eq 0 ] || expected=$(printf '%s\n' "$@" | sort | tr '\n' ' ')
  [ "$actual" = "$expected" ] || { echo "floppy holds '$actual', not '$expected'"; return 1; }
  for name in "$@"; do
    local src=${source[$name]} dst="$floppy/$name"
    [ "$(stat -c %y "$dst")" = "$(stat -c %y "$src")" ] ||
      { echo "$name: last write $(stat -c %y "$dst"), source $(stat -c %y "$src")"; return 1; }
    [ "$(stat -c %y "$dst")" = "2001-02-03 04:05:06.123456700 +0000" ] ||
      { echo "$name: last write $(stat -c %y "$dst") is not the generated one"; return 1; }
    # File times count 100 ns: the access time the copy read is kept to that.
    local da sa
    da=$(stat -c %x "$dst")
    sa=$(stat -c %x "$src")
    [ "${da:0:27}" = "${sa:0:27}" ] || { echo "$name: last access $da, source $sa"; return 1; }
    cmp -s "$src" "$dst" || { echo "$name: contents differ"; return 1; }
  done
  fits_real_floppy "$@" || return 1
  echo "floppy: $* (contents and times match)"
}

# The tmpfs stands in for the drive; a real 1.44 MB FAT image is the
# capacity test: the disk's files must fit on one, and the image must check.
fits_real_floppy() {
  [ "$#" -gt 0 ] || return 0
  local image="$out/floppy.img" name
  rm -f "$image"
  MTOOLS_SKIP_CHECK=1 mformat -C -i "$image" -f 1440 :: ||
    { echo "mformat could not make a floppy image"; return 1; }
  for name in "$@"; do
    MTOOLS_SKIP_CHECK=1 mcopy -m -i "$image" "$floppy/$name" "::$name" ||
      { echo "$name does not fit on a real 1.44 MB floppy"; return 1; }
  done
  fsck.fat -n "$image" >/dev/null || { echo "the floppy image does not check"; return 1; }
  rm -f "$image"
}

# A source file with known times, recorded under its name on the floppy.
# A package description: the product NAME, then one argument a disk, each the
# disk's entries separated by blanks (entries hold none).
packlist_ini() {  # NAME DISK...
  local name=$1 disk=0 entries entry i
  shift
  printf '[Global]\nName=%s\n' "$name"
  for entries in "$@"; do
    printf '\n[Disk%d]\n' "$disk"
    i=0
    for entry in $entries; do
      printf 'File%d=%s\n' "$i" "$entry"
      i=$((i + 1))
    done
    printf 'Files=%d\n' "$i"
    disk=$((disk + 1))
  done
  printf '\n[Disks]\nNumber=%d\n' "$disk"
}

# The driver's steps for the question that stops a copy, answered Yes, and
# the copy dialog closing after it.
abort_confirmed() {  # CAPTION
  printf '%s\n' "window \"$1\" 20000" \
    'text "Are you sure you want to abort the creation of the installation disk?"' \
    'icon exclamation' 'buttons "Yes" "No"' 'click "Yes"' 'gone' 'closed "Copying Files" 20000'
}

make_file() {  # NAME-ON-FLOPPY PATH BYTES
  head -c "$3" /dev/urandom >"$2"
  touch -m -d "2001-02-03 04:05:06.1234567" "$2"
  touch -a -d "2002-03-04 05:06:07.7654321" "$2"
  source[$1]=$2
}

# Answers the driver's handshakes (functions on_NAME) while it runs.
# A handshake NAME is answered by the scenario's on_NAME.
answer_handshake() { "on_$1"; }
report_handshake() { echo "handshake $1: $2"; }

# Waits up to SECONDS for a process to end by itself; one that does not is
# stopped by its own id, and whatever it started in the prefix with it.
# Returns its exit code.
await_process() {  # PID SECONDS
  local rc=0 i
  for i in $(seq 1 $(($2 * 10))); do
    kill -0 "$1" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$1" 2>/dev/null; then
    echo "process $1 did not end" >&2
    kill "$1" 2>/dev/null || true
    wenv stop "$env"
  fi
  wait "$1" || rc=$?
  return "$rc"
}

# Runs PROGRAM ARGS... beside the driver on $script, serves the driver's
# handshakes, and sets driver_rc and program_rc (the program has SECONDS
# to end by itself after the driver).
drive_program() {  # SECONDS PROGRAM ARGS...
  local seconds=$1 program_pid driver_pid
  shift
  wenv run "$env" "$@" >"$out/program.log" 2>&1 &
  program_pid=$!
  wenv run "$env" "$driver" "$(winpath "$out")" "$(winpath "$script")" >"$out/driver.log" 2>&1 </dev/null &
  driver_pid=$!
  serve_handshakes "$driver_pid" "$out" answer_handshake report_handshake
  driver_rc=0
  wait "$driver_pid" || driver_rc=$?
  cat "$out/driver.log"
  program_rc=0
  await_process "$program_pid" "$seconds" || program_rc=$?
  pictures_to_png "$out"
}
