#!/usr/bin/env bash
# End-to-end runs of a disk build under Wine: build_runner.exe runs the real
# "Copying Files" dialog on a package generated here, wine_driver.exe answers
# its prompts from a script and takes the pictures, and this script checks
# the floppy (drive A:, a tmpfs) from the Linux side between and after disks.
#
#   builder_e2e.sh SCENARIO ENVDIR RUNNER DRIVER OUTDIR
#
# Scenarios: two-disks, too-small, not-blank, read-only, cancel. Pictures end up as
# OUTDIR/*.png; the driver's and the runner's output in OUTDIR/*.log.
set -euo pipefail

scenario=${1:?scenario}
env=${2:?wine environment}
runner=${3:?build_runner.exe}
driver=${4:?wine_driver.exe}
out=${5:?output folder}
here=$(cd "$(dirname "$0")" && pwd)

wenv() { "$here/wine-env.sh" "$@"; }
winpath() { printf 'Z:%s' "${1//\//\\}"; }

rm -rf "$out"
mkdir -p "$out"
out=$(cd "$out" && pwd)
env=$(mkdir -p "$env" && cd "$env" && pwd)
floppy="$env/floppy"
data="$out/data"
mkdir -p "$data/tools" "$data/setup/disk1"

fail() {
  echo "builder_e2e[$scenario]: $*" >&2
  exit 1
}

# A fresh, blank floppy of the standard size for every scenario, and again
# when the scenario ends, whatever it did to the drive.
trap 'wenv protect "$env" off >/dev/null 2>&1 || true; wenv floppy "$env" >/dev/null 2>&1 || true' EXIT
wenv floppy "$env"

# --- the package: two disks, files with known times
declare -A source
make_file() {  # NAME-ON-FLOPPY PATH BYTES
  head -c "$3" /dev/urandom >"$2"
  touch -m -d "2001-02-03 04:05:06.1234567" "$2"
  touch -a -d "2002-03-04 05:06:07.7654321" "$2"
  source[$1]=$2
}
make_file SETUP.EXE "$data/setup/SETUP.EXE" 300000
make_file DATA1.CAB "$data/setup/disk1/DATA1.CAB" 500000
make_file DATA2.CAB "$data/setup/DATA2.CAB" 200000
make_file README.TXT "$data/setup/README.TXT" 1234
cat >"$data/tools/packlist.ini" <<'EOF'
[Global]
Name=Sample Suite

[Disk0]
File0=..\setup\\SETUP.EXE
File1=..\setup\disk1\DATA1.CAB
Files=2

[Disk1]
File0=..\setup\\DATA2.CAB
File1=..\setup\README.TXT
Files=2

[Disks]
Number=2
EOF
if [ "$scenario" != two-disks ]; then
  sed -i 's/^Number=2/Number=1/' "$data/tools/packlist.ini"
fi

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

# Answers to the driver's handshakes.
on_disk1() { check_floppy SETUP.EXE DATA1.CAB && rm -f "$floppy"/*; }
on_clean() { rm -f "$floppy"/*; }

prompt() {  # TITLE
  printf "Please label a blank, formatted 1.44MB floppy disk '%s' and place it in drive A:." "$1"
}
insert_blank="Please make sure there is a blank, formatted, 1.44MB floppy disk in the drive and click the OK button."
caption="Tandrel's disk maker"

script="$out/script.txt"
pause=150
case "$scenario" in
  two-disks)
    expected_code=1
    cat >"$script" <<EOF
window "Copying Files" 30000
window "$caption" 20000
text "$(prompt "Disk 1 - Sample Suite")"
icon information
buttons "OK"
click "OK"
gone
select "Copying Files"
child 1015 "Creating Disk 1 - Sample Suite" 10000
child 1016 "Copying ..\\\\setup\\\\\\\\SETUP.EXE" 10000
shot copying-disk-1
units 226 90
control 1015 7 7 212 10
control 65535 7 20 212 40
control 1016 14 28 198 8
control 1014 14 40 199 14
control 2 88 69 50 14
buttons "Cancel"
child 1016 "Copying ..\\\\setup\\\\disk1\\\\DATA1.CAB" 20000
window "$caption" 60000
text "$(prompt "Disk 2 - Sample Suite")"
icon information
handshake disk1 20000
click "OK"
gone
select "Copying Files"
child 1015 "Creating Disk 2 - Sample Suite" 10000
child 1016 "Copying ..\\\\setup\\\\\\\\DATA2.CAB" 10000
shot copying-disk-2
closed "Copying Files" 60000
EOF
    final_files=(DATA2.CAB README.TXT)
    ;;
  too-small)
    expected_code=3
    # 348 pages of tmpfs: blank, but fewer than 1,430,000 bytes free.
    wenv floppy "$env" 1425408
    cat >"$script" <<EOF
window "Copying Files" 30000
window "$caption" 20000
text "$(prompt "Disk 1 - Sample Suite")"
icon information
click "OK"
gone
window "$caption" 20000
text "The destination disk does not have the capacity to build an installation disk.  Either the floppy drive selected is not a 1.44MB or greater drive, or the floppy disk has bad sectors.\n\n$insert_blank"
icon exclamation
buttons "OK" "Cancel"
click "Cancel"
gone
closed "Copying Files" 20000
EOF
    final_files=()
    ;;
  not-blank)
    expected_code=1
    head -c 20000 /dev/zero >"$floppy/OLD.TXT"
    cat >"$script" <<EOF
window "Copying Files" 30000
window "$caption" 20000
text "$(prompt "Disk 1 - Sample Suite")"
icon information
click "OK"
gone
window "$caption" 20000
text "The destination disk is not blank.\n\n$insert_blank"
icon exclamation
buttons "OK" "Cancel"
handshake clean
click "OK"
gone
select "Copying Files"
child 1015 "Creating Disk 1 - Sample Suite" 10000
closed "Copying Files" 60000
EOF
    final_files=(SETUP.EXE DATA1.CAB)
    ;;
  read-only)
    # Wine reports a read-only floppy as access denied, not as write
    # protection (that case is covered natively): the build cannot create
    # its first file, says so with OK only, and fails.
    expected_code=3
    wenv protect "$env" on
    cat >"$script" <<EOF
window "Copying Files" 30000
window "$caption" 20000
click "OK"
gone
window "$caption" 20000
text "Unable to open the output file for writing.  The copy operation will abort."
icon exclamation
buttons "OK"
click "OK"
gone
closed "Copying Files" 20000
EOF
    final_files=()
    ;;
  cancel)
    expected_code=2
    pause=400
    cat >"$script" <<EOF
window "Copying Files" 30000
window "$caption" 20000
click "OK"
gone
select "Copying Files"
child 1016 "Copying ..\\\\setup\\\\\\\\SETUP.EXE" 10000
click "Cancel"
window "$caption" 10000
text "Are you sure you want to abort the creation of the installation disk?"
icon exclamation
buttons "Yes" "No"
click "Yes"
gone
closed "Copying Files" 20000
EOF
    final_files=()
    ;;
  *)
    fail "unknown scenario"
    ;;
esac

wenv run "$env" "$runner" "$(winpath "$data/tools/packlist.ini")" "$pause" >"$out/runner.log" 2>&1 &
runner_pid=$!
wenv run "$env" "$driver" "$(winpath "$out")" "$(winpath "$script")" >"$out/driver.log" 2>&1 &
driver_pid=$!

# Serve the driver's handshakes while it runs.
while kill -0 "$driver_pid" 2>/dev/null; do
  for request in "$out"/*.request; do
    [ -e "$request" ] || continue
    name=$(basename "$request" .request)
    rm -f "$request"
    if answer=$("on_$name" 2>&1); then
      echo "ok $answer" >"$out/$name.done"
    else
      echo "failed: $answer" >"$out/$name.done"
    fi
    echo "handshake $name: $(cat "$out/$name.done")"
  done
  sleep 0.1
done
driver_rc=0
wait "$driver_pid" || driver_rc=$?
cat "$out/driver.log"

# The runner ends by itself once its dialog has closed; one that does not
# is stopped by its own process id.
for _ in $(seq 1 100); do
  kill -0 "$runner_pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$runner_pid" 2>/dev/null; then
  kill "$runner_pid" 2>/dev/null || true
fi
runner_rc=0
wait "$runner_pid" || runner_rc=$?

for picture in "$out"/*.bmp; do
  [ -e "$picture" ] || continue
  convert "$picture" "${picture%.bmp}.png" && rm -f "$picture"
done

[ "$driver_rc" -eq 0 ] || fail "the driver failed (exit $driver_rc)"
[ "$runner_rc" -eq "$expected_code" ] || fail "the build ended with $runner_rc, not $expected_code"
check_floppy "${final_files[@]}" || fail "the floppy is not as it should be"
echo "builder_e2e[$scenario]: passed"
