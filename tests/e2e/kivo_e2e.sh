#!/usr/bin/env bash
# End-to-end runs of the installer stub under Wine: kivopack.exe appends a
# small tree to KivoUnpack.exe, the result is started the way a user or a
# shortcut would (launch.exe passes a command line word for word), the
# driver answers its questions and reads its messages, and this script looks
# at the files, times, the registry value and the marker the packed program
# writes.
#
#   kivo_e2e.sh SCENARIO ENVDIR STUB KIVOPACK MARKER LAUNCH DRIVER OUTDIR [LINUX_TOOLS]
#
# Scenarios: extract (no arguments, -d with blanks, -D ignored, -f with a
# bare archive), overwrite (dialog 102: every answer, its layout and place),
# failures (messages 10 for a changed byte of data and for a changed entry
# count, 1, 16, 9 and 5), names (French and German names
# packed by kivopack.exe and by the Linux kivopack in LINUX_TOOLS come out
# under their own names, and the overwrite question shows one as written;
# without the Linux kivopack that half is skipped, exit status 77).
# Pictures end up as OUTDIR/*.png.
set -euo pipefail

scenario=${1:?scenario}
env=${2:?wine environment}
stub=${3:?KivoUnpack.exe}
kivopack=${4:?kivopack.exe}
marker=${5:?marker.exe}
launch=${6:?launch.exe}
driver=${7:?wine_driver.exe}
out=${8:?output folder}
linux_tools=${9:-}
here=$(cd "$(dirname "$0")" && pwd)
stub=$(realpath "$stub") kivopack=$(realpath "$kivopack") marker=$(realpath "$marker")
launch=$(realpath "$launch") driver=$(realpath "$driver")

# shellcheck source=e2e_lib.sh
. "$here/e2e_lib.sh"
wenv() { "$here/wine-env.sh" "$@"; }
fail() {
  echo "kivo_e2e[$scenario]: $*" >&2
  exit 1
}

fresh_output_folder "$out" || exit 2
out=$(cd "$out" && pwd)
env=$(mkdir -p "$env" && cd "$env" && pwd)
work="$out/work"
mkdir -p "$work"
trap 'chmod -R u+w "$work" 2>/dev/null || true' EXIT

# --- the tree: nested folders, an empty file, a file over 32 KiB, a name
# with an ampersand, and the program that leaves the marker.
src="$work/src"
mkdir -p "$src/data" "$src/docs/deep/er"
printf 'ampersand file\n' >"$src/a&b.txt"
head -c 100000 /dev/urandom >"$src/data/big.bin"
: >"$src/docs/deep/er/empty.dat"
printf 'notes\n' >"$src/docs/notes.txt"
printf 'read me\n' >"$src/docs/readme.txt"
cp "$marker" "$src/marker.exe"
find "$src" -type f -exec touch -m -d "2001-02-03 04:05:06.1234567" {} +
entries=("a&b.txt" data/big.bin docs/deep/er/empty.dat docs/notes.txt docs/readme.txt marker.exe)

cp "$stub" "$work/KivoUnpack.exe"
cp "$kivopack" "$work/kivopack.exe"
pack() {  # OUTPUT [kivopack options...] SOURCE
  (cd "$work" && wenv run "$env" kivopack.exe -o "$@" >>"$out/kivopack.log" 2>&1) ||
    fail "kivopack could not pack $*"
}
pack self.exe --stub KivoUnpack.exe --run marker.exe src
self="$work/self.exe"

# Runs the extractor in FOLDER with the exact command line "<self> ARGS" and
# sets $code to its exit code.
run_in() {  # FOLDER ARGS
  local folder=$1 args=$2 line="$out/line.txt"
  mkdir -p "$folder"
  printf '"%s" %s\n' "$(winpath "$self")" "$args" >"$line"
  code=0
  (cd "$folder" && timeout 120 "$here/wine-env.sh" run "$env" "$launch" "$(winpath "$line")") \
    >>"$out/runs.log" 2>&1 || code=$?
  echo "run in $folder with [$args]: exit $code" >>"$out/runs.log"
}

registry() {
  wenv wine "$env" reg query 'HKLM\SOFTWARE\Classes\VQLT' /v Info 2>/dev/null |
    sed -n 's/^ *Info *REG_SZ *//p' | tr -d '\r'
}
clear_registry() {
  wenv wine "$env" reg delete 'HKLM\SOFTWARE\Classes\VQLT' /f >/dev/null 2>&1 || true
}

# The entry's file in FOLDER has the source's bytes and last-write time.
same_file() {  # FOLDER ENTRY
  local got="$1/$2" want="$src/$2"
  [ -f "$got" ] || { echo "$2 is missing in $1"; return 1; }
  cmp -s "$got" "$want" || { echo "$2 in $1 does not hold the archive's bytes"; return 1; }
  [ "$(stat -c %y "$got")" = "$(stat -c %y "$want")" ] ||
    { echo "$2 in $1 was last written $(stat -c %y "$got"), not $(stat -c %y "$want")"; return 1; }
}

# FOLDER holds exactly these files (relative paths), nothing else.
holds() {  # FOLDER FILE...
  local actual expected
  actual=$(cd "$1" && find . -type f | sed 's|^\./||' | sort | tr '\n' '|')
  shift
  expected=$( [ "$#" -eq 0 ] || printf '%s\n' "$@" | sort | tr '\n' '|')
  [ "$actual" = "$expected" ] || { echo "holds '$actual', not '$expected'"; return 1; }
}

# The program ran in FOLDER: its marker names that folder. The extractor
# does not wait for the program it starts; the prefix's server ends only
# when every program in it has ended, and waiting for that waits for it.
wait_marker() {  # FOLDER
  WINEPREFIX="$env/prefix" wineserver -w
  [ "$(cat "$1/marker.txt" 2>/dev/null)" = "$(winpath "$1")" ] ||
    { echo "no marker from a program started in $1"; return 1; }
}

# --- the driver, when a scenario has windows to answer
start_driver() {  # SCRIPT
  wenv run "$env" "$driver" "$(winpath "$out")" "$(winpath "$1")" >"$out/driver.log" 2>&1 &
  driver_pid=$!
}
finish_driver() {
  local rc=0
  wait "$driver_pid" || rc=$?
  cat "$out/driver.log"
  for picture in "$out"/*.bmp; do
    [ -e "$picture" ] || continue
    convert "$picture" "${picture%.bmp}.png" && rm -f "$picture"
  done
  [ "$rc" -eq 0 ] || fail "the driver failed (exit $rc)"
}

message_steps() {  # TEXT: a warning box owned by the extractor window, answered OK
  cat <<EOF
window "Tandrel" 60000
text "$1"
icon exclamation
buttons "OK"
owner "Tandrel, Inc."
click "OK"
gone
EOF
}

question() { printf "The file '%s' already exists.  Do you want to overwrite it?" "$1"; }

case "$scenario" in
  extract)
    clear_registry
    # No arguments, from an empty folder: everything lands there.
    plain="$work/plain"
    run_in "$plain" ""
    [ "$code" -eq 0 ] || fail "exit code $code without arguments"
    wait_marker "$plain" || fail "the program did not run in the target folder"
    holds "$plain" "${entries[@]}" marker.txt || fail "without arguments the folder $(holds "$plain" "${entries[@]}" marker.txt)"
    for e in "${entries[@]}"; do same_file "$plain" "$e" || fail "$(same_file "$plain" "$e")"; done
    [ "$(registry)" = "$(winpath "$self")" ] || fail "the registry names '$(registry)', not the extractor"

    # -d with a quoted path that holds blanks; -D and other letters ignored.
    clear_registry
    blanks="$work/target with blanks"
    other="$work/capital D"
    mkdir -p "$blanks" "$other"
    run_in "$work/start" "-D\"$(winpath "$other")\" -x -d\"$(winpath "$blanks")\" -Qz"
    [ "$code" -eq 0 ] || fail "exit code $code with -d"
    wait_marker "$blanks" || fail "the program did not run in the -d folder"
    holds "$blanks" "${entries[@]}" marker.txt || fail "the -d folder $(holds "$blanks" "${entries[@]}" marker.txt)"
    holds "$other" || fail "the -D folder $(holds "$other")"
    holds "$work/start" || fail "the starting folder $(holds "$work/start")"

    # -f with a bare archive of its own: that one is read, the registry still
    # names the extractor.
    clear_registry
    mkdir -p "$work/bare-src"
    printf 'only in the bare archive\n' >"$work/bare-src/bare.txt"
    cp "$src/marker.exe" "$work/bare-src/marker.exe"
    pack bare.kva --bare --run marker.exe bare-src
    run_in "$work/from-bare" "-f$(winpath "$work/bare.kva")"
    [ "$code" -eq 0 ] || fail "exit code $code with -f"
    wait_marker "$work/from-bare" || fail "the bare archive's program did not run"
    holds "$work/from-bare" bare.txt marker.exe marker.txt || fail "with -f the folder $(holds "$work/from-bare" bare.txt marker.exe marker.txt)"
    [ "$(registry)" = "$(winpath "$self")" ] || fail "with -f the registry names '$(registry)', not the extractor"
    ;;

  overwrite)
    # First run: four existing files, answered Yes, No, Escape and Abort.
    one="$work/answers"
    for e in "a&b.txt" data/big.bin docs/readme.txt marker.exe; do
      mkdir -p "$(dirname "$one/$e")"
      printf 'old %s\n' "$e" >"$one/$e"
    done
    # Second run: the close box (No), then Yes To All, and no third question.
    two="$work/yes-to-all"
    for e in "a&b.txt" data/big.bin docs/readme.txt; do
      mkdir -p "$(dirname "$two/$e")"
      printf 'old %s\n' "$e" >"$two/$e"
    done
    script="$out/script.txt"
    cat >"$script" <<EOF
window "File Already Exists" 60000
child 1000 "$(question 'a&b.txt')"
style 1000 80
buttons "Yes" "No" "Yes To All" "Abort"
owner "Tandrel, Inc."
under "Tandrel, Inc." 10
units 269 58
control 1000 7 7 255 24
control 1 7 36 50 14
control 2 75 36 50 14
control 5 143 36 50 14
control 3 211 36 50 14
select "Tandrel, Inc."
pixels 149 93
centred
shot extractor-window-with-question
select "File Already Exists"
click "Yes"
gone
window "File Already Exists" 20000
child 1000 "$(question 'data\\big.bin')"
click "No"
gone
window "File Already Exists" 20000
child 1000 "$(question 'docs\\readme.txt')"
key 0 27
gone
window "File Already Exists" 20000
child 1000 "$(question 'marker.exe')"
click "Abort"
gone
$(message_steps "File extraction terminated at user's request.")
closed "Tandrel, Inc." 20000
window "File Already Exists" 60000
child 1000 "$(question 'a&b.txt')"
close
gone
window "File Already Exists" 20000
child 1000 "$(question 'data\\big.bin')"
click "Yes To All"
gone
closed "Tandrel, Inc." 20000
EOF
    start_driver "$script"
    run_in "$one" ""
    [ "$code" -eq 0 ] || fail "exit code $code after Abort"
    same_file "$one" "a&b.txt" || fail "Yes: $(same_file "$one" "a&b.txt")"
    [ "$(cat "$one/data/big.bin")" = "old data/big.bin" ] || fail "No replaced data/big.bin"
    same_file "$one" docs/notes.txt || fail "after No: $(same_file "$one" docs/notes.txt)"
    [ "$(cat "$one/docs/readme.txt")" = "old docs/readme.txt" ] || fail "Escape replaced docs/readme.txt"
    [ "$(cat "$one/marker.exe")" = "old marker.exe" ] || fail "Abort replaced marker.exe"
    holds "$one" "${entries[@]}" || fail "after Abort the folder $(holds "$one" "${entries[@]}")"

    clear_registry
    run_in "$two" ""
    [ "$code" -eq 0 ] || fail "exit code $code after Yes To All"
    wait_marker "$two" || fail "the program did not run after Yes To All"
    [ "$(cat "$two/a&b.txt")" = "old a&b.txt" ] || fail "the close box replaced a&b.txt"
    for e in "${entries[@]:1}"; do same_file "$two" "$e" || fail "Yes To All: $(same_file "$two" "$e")"; done
    finish_driver
    ;;

  failures)
    # A corrupt archive (one byte of data changed), one whose entry count is
    # one short (the header lies outside the checksum: only the sizes adding
    # up show it), a missing -f file, a read-only folder in the way, a
    # program that cannot start, and names Windows would reinterpret.
    cp "$self" "$work/corrupt.exe"
    size=$(stat -c %s "$work/corrupt.exe")
    printf 'X' | dd of="$work/corrupt.exe" bs=1 seek=$((size - 1)) conv=notrunc status=none
    cp "$self" "$work/count.exe"
    count_at=$(($(stat -c %s "$work/KivoUnpack.exe") + 12))  # the archive follows the stub
    [ "$(od -An -tu4 -j "$count_at" -N4 "$work/count.exe" | tr -d ' ')" = "${#entries[@]}" ] ||
      fail "no entry count of ${#entries[@]} where the archive should begin"
    printf "\\x$(printf %02x $((${#entries[@]} - 1)))" |
      dd of="$work/count.exe" bs=1 seek="$count_at" conv=notrunc status=none
    if [ -x "$linux_tools/kivounpack" ]; then
      # The Linux extractor refuses the same kit, and says why.
      checked=$("$linux_tools/kivounpack" --check -f "$work/count.exe" 2>&1) &&
        fail "kivounpack --check passed the changed count"
      case "$checked" in
        *$'\nkivounpack: its entries do not fill its data ('*) ;;
        *) fail "kivounpack --check said: $checked" ;;
      esac
    fi
    # kivopack names only a program the kit holds: the missing one is written
    # into the header afterwards (the checksum covers the table and data only).
    pack nostart.exe --stub KivoUnpack.exe --run marker.exe src
    perl -0777 -i -pe 'substr($_, index($_, pack("V2", 0x80FF81FE, 0x82FD83FC)) + 16, 264) = pack("a264", "missing.exe")' \
      "$work/nostart.exe"
    mkdir -p "$work/read-only/docs"
    chmod a-w "$work/read-only/docs"

    # Archives whose second entry's name is hostile: packed under a harmless
    # name of the same tree, then renamed in place and the checksum redone.
    mkdir -p "$work/hostile-src"
    printf 'fine\n' >"$work/hostile-src/a.txt"
    printf 'evil\n' >"$work/hostile-src/b.txt"
    pack hostile.exe --stub KivoUnpack.exe hostile-src
    hostile=("..\\evil.txt" "CON" "sub\\nul.txt" "trail." "evil.txt:stream" "x?.txt")
    for i in "${!hostile[@]}"; do
      cp "$work/hostile.exe" "$work/hostile$i.exe"
      perl "$here/rename_entry.pl" "$work/hostile$i.exe" 1 "${hostile[$i]}" || fail "cannot rename an entry"
    done

    script="$out/script.txt"
    {
      message_steps "There are no files to be extracted.  File extraction aborted."
      cat <<EOF
window "Tandrel" 60000
text "There are no files to be extracted.  File extraction aborted."
icon exclamation
buttons "OK"
owner "Tandrel, Inc."
shot refused-changed-count
click "OK"
gone
EOF
      message_steps "Unable to open the file from which to extract files.  File extraction aborted."
      message_steps "Unable to create the directory: $(winpath "$work/read-only/docs" | sed 's/\\/\\\\/g'), the directory already exsits and is read only. "
      message_steps "Unable to start the program specified in the file.  You will have to start the the installation prgram manually."
      for _ in "${hostile[@]}"; do
        message_steps "Unable to read from the extraction file.  Self-extracting file is corrupt.  Please acquire a new version of the file and try again."
      done
    } >"$script"
    start_driver "$script"

    self="$work/corrupt.exe"
    run_in "$work/corrupt" ""
    [ "$code" -eq 0 ] || fail "exit code $code after a corrupt archive"
    holds "$work/corrupt" || fail "a corrupt archive left $(holds "$work/corrupt")"

    self="$work/count.exe"
    run_in "$work/count" ""
    [ "$code" -eq 0 ] || fail "exit code $code after a changed entry count"
    holds "$work/count" || fail "a changed entry count left $(holds "$work/count")"
    [ -z "$(ls -A "$work/count")" ] || fail "a changed entry count made $(ls -A "$work/count")"

    self="$work/KivoUnpack.exe"
    run_in "$work/missing" "-f$(winpath "$work/no such.kva")"
    [ "$code" -eq 0 ] || fail "exit code $code without the -f file"

    self="$work/self.exe"
    run_in "$work/read-only" ""
    [ "$code" -eq 0 ] || fail "exit code $code with a read-only folder"
    holds "$work/read-only" || fail "the read-only folder case wrote $(holds "$work/read-only")"

    clear_registry
    self="$work/nostart.exe"
    run_in "$work/nostart" ""
    [ "$code" -eq 0 ] || fail "exit code $code when the program cannot start"
    [ "$(registry)" = "$(winpath "$self")" ] || fail "the registry names '$(registry)' after a failed start"
    holds "$work/nostart" "${entries[@]}" || fail "before the failed start $(holds "$work/nostart" "${entries[@]}")"

    for i in "${!hostile[@]}"; do
      self="$work/hostile$i.exe"
      mkdir -p "$work/hostile$i/inside"
      run_in "$work/hostile$i/inside" ""
      [ "$code" -eq 0 ] || fail "exit code $code for ${hostile[$i]}"
      holds "$work/hostile$i" || fail "${hostile[$i]} wrote $(holds "$work/hostile$i")"
      [ -z "$(ls -A "$work/hostile$i/inside")" ] || fail "${hostile[$i]} made $(ls -A "$work/hostile$i/inside")"
    done
    finish_driver
    ;;

  names)
    # Windows reads these names in its ANSI code page (1252 for the locale
    # Wine runs in here); Wine hands them to Linux as UTF-8 again.
    export LC_ALL=C.UTF-8
    names_src="$work/names-src"
    mkdir -p "$names_src/Übersicht"
    printf 'menu\n' >"$names_src/Café Menu.txt"
    head -c 40000 /dev/urandom >"$names_src/Größe.dat"
    printf 'noel\n' >"$names_src/Übersicht/Noël.txt"
    cp "$marker" "$names_src/marker.exe"
    find "$names_src" -type f -exec touch -m -d "2001-02-03 04:05:06.1234567" {} +
    named=("Café Menu.txt" "Größe.dat" "Übersicht/Noël.txt" marker.exe)
    src=$names_src  # what same_file compares with
    pack names.exe --stub KivoUnpack.exe --run marker.exe names-src
    # The archive holds each name as one byte per letter, as Windows reads it.
    for ansi in $'Caf\xe9 Menu.txt' $'Gr\xf6\xdfe.dat' $'\xdcbersicht\\No\xebl.txt'; do
      grep -qaF "$ansi" "$work/names.exe" || fail "kivopack.exe did not store $(printf '%s' "$ansi" | iconv -f CP1252 -t UTF-8) in code page 1252"
    done

    # The overwrite question shows the name as written (the driver reads
    # window texts in the ANSI code page, so its script is written in it).
    asked="$work/asked"
    mkdir -p "$asked"
    printf 'mine\n' >"$asked/Café Menu.txt"
    script="$out/script.txt"
    {
      printf 'window "File Already Exists" 60000\n'
      printf 'child 1000 "%s"\n' "$(question 'Café Menu.txt')"
      printf 'shot question-with-name\nclick "No"\ngone\nclosed "Tandrel, Inc." 20000\n'
    } | iconv -f UTF-8 -t CP1252 >"$script"
    start_driver "$script"
    self="$work/names.exe"
    run_in "$asked" ""
    [ "$code" -eq 0 ] || fail "exit code $code with a name asked about"
    finish_driver
    [ "$(cat "$asked/Café Menu.txt")" = mine ] || fail "No replaced Café Menu.txt"
    wait_marker "$asked" || fail "the program did not run after the question"
    for e in "${named[@]:1}"; do
      same_file "$asked" "$e" || fail "$(same_file "$asked" "$e")"
    done

    # Kits packed on either system extract to the names as written.
    kits=(names.exe)
    if [ -x "$linux_tools/kivopack" ]; then
      "$linux_tools/kivopack" -o "$work/names-linux.exe" --stub "$work/KivoUnpack.exe" --run marker.exe \
        "$names_src" >>"$out/kivopack.log" 2>&1 || fail "the Linux kivopack could not pack the names"
      [ "$("$linux_tools/kivopack" --list "$work/names-linux.exe")" = "$("$linux_tools/kivopack" --list "$work/names.exe")" ] ||
        fail "the Linux kivopack and kivopack.exe list different archives"
      kits+=(names-linux.exe)
    fi
    for kit in "${kits[@]}"; do
      self="$work/$kit"
      folder="$work/from-$kit"
      run_in "$folder" ""
      [ "$code" -eq 0 ] || fail "exit code $code for $kit"
      wait_marker "$folder" || fail "the program of $kit did not run"
      holds "$folder" "${named[@]}" marker.txt || fail "$kit: the folder $(holds "$folder" "${named[@]}" marker.txt)"
      for e in "${named[@]}"; do
        same_file "$folder" "$e" || fail "$kit: $(same_file "$folder" "$e")"
      done
    done
    if [ "${#kits[@]}" -lt 2 ]; then
      echo "kivo_e2e[$scenario]: kivopack.exe's kit passed; the Linux kivopack's kit was SKIPPED:" \
        "no kivopack in '${linux_tools:-(not given)}' (build preset native first)"
      exit 77
    fi
    ;;

  *)
    fail "unknown scenario"
    ;;
esac
echo "kivo_e2e[$scenario]: passed"
