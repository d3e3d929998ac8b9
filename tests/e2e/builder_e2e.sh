#!/usr/bin/env bash
# End-to-end runs of a disk build under Wine: build_runner.exe runs the real
# "Copying Files" dialog on a package generated here, wine_driver.exe answers
# its prompts from a script and takes the pictures, and this script checks
# the floppy (drive A:, a tmpfs) from the Linux side between and after disks.
#
#   builder_e2e.sh SCENARIO ENVDIR RUNNER DRIVER OUTDIR
#
# Scenarios: two-disks, too-small, not-blank, read-only, cancel, escape,
# mid-copy (the picture of a copy in progress). Pictures end up as
# OUTDIR/*.png; the driver's and the runner's output in OUTDIR/*.log.
set -euo pipefail

scenario=${1:?scenario} env=${2:?wine environment} out=${5:?output folder}
runner=${3:?build_runner.exe} driver=${4:?wine_driver.exe}
here=$(cd "$(dirname "$0")" && pwd)

# shellcheck source=e2e_lib.sh
. "$here/e2e_lib.sh"

prepare_folders
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
make_file SETUP.EXE "$data/setup/SETUP.EXE" 300000
make_file DATA1.CAB "$data/setup/disk1/DATA1.CAB" 500000
make_file DATA2.CAB "$data/setup/DATA2.CAB" 200000
make_file README.TXT "$data/setup/README.TXT" 1234
packlist_ini "Sample Suite" '..\setup\\SETUP.EXE ..\setup\disk1\DATA1.CAB' \
  '..\setup\\DATA2.CAB ..\setup\README.TXT' >"$data/tools/packlist.ini"
if [ "$scenario" != two-disks ]; then
  sed -i 's/^Number=2/Number=1/' "$data/tools/packlist.ini"
fi

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
# The first disk is asked for, the user puts one in, and the check answers.
first_disk_refused='window "Copying Files" 30000
window "'"$caption"'" 20000
text "'"$(prompt "Disk 1 - Sample Suite")"'"
icon information
click "OK"
gone
window "'"$caption"'" 20000'
# ... or takes it at once, and the copy begins.
first_disk_taken='window "Copying Files" 30000
window "'"$caption"'" 20000
click "OK"
gone
select "Copying Files"'

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
$first_disk_refused
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
$first_disk_refused
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
  cancel|escape)
    # The Cancel button, or the Escape key pressed for real on the dialog
    # (its Cancel button has the focus): both are the Cancel command.
    expected_code=2
    pause=400
    stop='click "Cancel"'
    [ "$scenario" = cancel ] || stop='type 27'
    cat >"$script" <<EOF
$first_disk_taken
child 1016 "Copying ..\\\\setup\\\\\\\\SETUP.EXE" 10000
$stop
$(abort_confirmed "$caption")
EOF
    final_files=()
    ;;
  mid-copy)
    # The picture of a copy in progress: the slowed floppy holds the bar part
    # way through the large DATA1.CAB while the driver takes it, and the copy
    # then goes on to the end.
    expected_code=1
    pause=300
    cat >"$script" <<EOF
$first_disk_taken
child 1016 "Copying ..\\\\setup\\\\disk1\\\\DATA1.CAB" 20000
partway 1014 20000
shot copying
child 1016 "Copying ..\\\\setup\\\\disk1\\\\DATA1.CAB"
partway 1014
closed "Copying Files" 60000
EOF
    final_files=(SETUP.EXE DATA1.CAB)
    ;;
  *)
    fail "unknown scenario"
    ;;
esac

# The runner ends by itself once its dialog has closed.
drive_program 10 "$runner" "$(winpath "$data/tools/packlist.ini")" "$pause"

[ "$driver_rc" -eq 0 ] || fail "the driver failed (exit $driver_rc)"
[ "$program_rc" -eq "$expected_code" ] || fail "the build ended with $program_rc, not $expected_code"
check_floppy "${final_files[@]}" || fail "the floppy is not as it should be"
echo "builder_e2e[$scenario]: passed"
