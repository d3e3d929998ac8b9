#!/usr/bin/env bash
# End-to-end runs of the real Wendmark.exe under Wine, as a user would run
# it from the kit's tools folder beside a setup folder: wine_driver.exe walks
# the wizard from a script and takes the pictures, and this script plays the
# user's hands at the floppy drive (A:, a tmpfs): between disks it checks
# and saves what was written and puts in an empty floppy.
#
#   wizard_e2e.sh SCENARIO ENVDIR WENDMARK DRIVER OUTDIR [WENDPLAN [LINUX_TOOLS]]
#
# Scenarios:
#   walk           three disks and a license: every page, the system menu,
#                  the about box, each disk's prompt, Done ends the program;
#                  each saved floppy holds exactly its disk's files
#   branches       Clear Selections and message 110, one disk by mouse and
#                  space bar, check states across Back and forward, the quit
#                  question answered No, one disk written, Escape on the
#                  completion page ends without a question
#   other-package  no license (five pages) and an argument naming another
#                  description beside the program; cancel answered Yes
#   copy-errors    Cancel during the copy (140, Yes: no partial file) and a
#                  used floppy refused with Cancel both leave the wizard on
#                  the get-disks page, and Next starts again from the first
#                  disk; a missing source file shows 135, and Retry copies
#                  it once it is there
#   no-package     a missing, then a broken packlist.ini: the program ends
#                  by itself without a window
#   dark-colours   under a colour scheme with a dark window colour the
#                  license text takes the scheme's window-text colour on the
#                  window background; cancel answered Yes
#   names          a product and a setup folder with French and German names,
#                  planned by WENDPLAN (wendplan.exe) under Wine, and the same
#                  description from the Linux wendplan in LINUX_TOOLS: the
#                  wizard shows the product's name as written, the floppy gets
#                  the files under their own names, and a FAT image of it
#                  lists them as its long names (without the Linux wendplan
#                  that comparison is skipped, exit status 77)
# Pictures: OUTDIR/*.png; the driver's and the program's output: OUTDIR/*.log.
set -euo pipefail

scenario=${1:?scenario} env=${2:?wine environment} out=${5:?output folder}
wendmark=${3:?Wendmark.exe} driver=${4:?wine_driver.exe} wendplan=${6:-} linux_tools=${7:-}
here=$(cd "$(dirname "$0")" && pwd)

# shellcheck source=e2e_lib.sh
. "$here/e2e_lib.sh"

prepare_folders
tools="$data/tools"
mkdir -p "$tools" "$data/setup/disk2" "$out/saved"
cp "$wendmark" "$tools/Wendmark.exe"

fail() {
  echo "wizard_e2e[$scenario]: $*" >&2
  exit 1
}

# The window and window-text colours of the prefix's scheme (Wine keeps them
# in the registry and reads them when a program starts).
set_colours() {  # WINDOW WINDOWTEXT
  wenv wine "$env" reg add 'HKCU\Control Panel\Colors' /v Window /d "$1" /f >/dev/null 2>&1 &&
    wenv wine "$env" reg add 'HKCU\Control Panel\Colors' /v WindowText /d "$2" /f >/dev/null 2>&1
}
restore_colours=0
trap 'wenv floppy "$env" >/dev/null 2>&1 || true
      [ "$restore_colours" -eq 0 ] || set_colours "255 255 255" "0 0 0" || true' EXIT
wenv floppy "$env"

# --- the kit: three disks whose entries climb out of the tools folder
declare -A source
make_file SETUP.EXE "$data/setup/SETUP.EXE" 200000
make_file DATA1.CAB "$data/setup/DATA1.CAB" 400000
make_file DATA2.CAB "$data/setup/disk2/DATA2.CAB" 300000
make_file README.TXT "$data/setup/README.TXT" 1234
make_file DATA3.CAB "$data/setup/DATA3.CAB" 250000
packlist_ini "Sample Suite" '..\setup\\SETUP.EXE ..\setup\\DATA1.CAB' \
  '..\setup\disk2\\DATA2.CAB ..\setup\README.TXT' '..\setup\\DATA3.CAB' >"$tools/packlist.ini"
printf 'TANDREL LICENSE AGREEMENT\r\n\r\nYou may make 100%% of the copies you need.\r\n' >"$tools/license.txt"

# Saves what the floppy holds under saved/NAME and empties it: the user
# takes the written disk out and puts a blank one in.
swap_floppy() {  # NAME FILES...
  local name=$1
  shift
  check_floppy "$@" || return 1
  mkdir -p "$out/saved/$name"
  cp -a "$floppy"/. "$out/saved/$name"/
  rm -rf "${floppy:?}"/*
}

caption="Tandrel's disk maker"
welcome="Welcome to Tandrel's disk maker.  This application will lead you through the steps necessary to create a set of Sample Suite installation disks."
complete="You have successfully created the Sample Suite setup disks.  To install Sample Suite, run SETUP.EXE, located on Disk 1."
quit="Are you sure you want to quit Tandrel's disk maker?"
prompt() {  # TITLE
  printf "Please label a blank, formatted 1.44MB floppy disk '%s' and place it in drive A:." "$1"
}
insert_blank="Please make sure there is a blank, formatted, 1.44MB floppy disk in the drive and click the OK button."
choice="\\n\\nYou may:\\nPress Abort to terminate the copy process.\\nPress Retry to try the failed operation again (after fixing the cause).\\nPress Ignore to skip the problem file and go to the next file."

# Driver steps for one disk: its prompt, the copy, and the swap before the
# next; SHOT takes a picture of the progress dialog behind the prompt.
disk_steps() {  # NUMBER [HANDSHAKE [SHOT]]
  local picture=""
  if [ -n "${3:-}" ]; then
    picture=$(printf 'select "Copying Files"\nchild 1015 "Creating Disk %d - Sample Suite"\nshot %s\nselect "%s"' \
      "$1" "$3" "$caption")
  fi
  cat <<STEPS
window "$caption" 60000
text "$(prompt "Disk $1 - Sample Suite")"
icon information
buttons "OK"
$picture
${2:+handshake $2 20000}
click "OK"
gone
STEPS
}

# Driver steps that answer Yes when the wizard asks whether to quit.
quit_steps() {
  printf '%s\n' "window \"$caption\" 10000" "text \"$quit\"" 'click "Yes"' gone
}

# Driver steps from the start to Select Disks: Next on the welcome page and
# on the licence.
to_disks() {
  cat <<STEPS
window "Welcome to $caption" 30000
press 1
title "License Agreement"
press 1
title "Select Disks"
STEPS
}

# Driver steps from Select Drive on to the copy: Next on each page, and the
# number of disks the wizard says it needs.
to_copy() {  # DISKS
  local disks="$1 blank, formatted disk"
  [ "$1" = 1 ] || disks="${disks}s"
  cat <<STEPS
title "Select Drive"
press 1
title "Get Needed Disks"
child 1013 "You will need $disks."
press 1
window "Copying Files" 30000
STEPS
}

args=()
expected_rc=0
script="$out/script.txt"
case "$scenario" in
  walk)
    cat >"$script" <<EOF
window "Welcome to $caption" 30000
text "$welcome"
text "You can use the disks to install Sample Suite."
text "You will need blank, formatted disks to proceed.  Click Next when you are ready."
buttons "Next >" "Cancel"
page
units 279 138
control 1000 1 1 81 136
control 1011 90 2 189 33
control 1017 90 42 189 17
top
syscommand 61696 32
popup system-menu
key 0 38
key 0 13
window "About Wendmark" 10000
text "Tandrel 2000 Wendmark Utility"
text "Version 1.0"
buttons "OK"
units 195 81
control 1 72 60 50 14
click "OK"
gone
select "Welcome to $caption"
press 1
title "License Agreement"
buttons "< Back" "Next >" "Cancel"
child 1002 "TANDREL LICENSE AGREEMENT\r\n\r\nYou may make 100% of the copies you need.\r\n"
selection 1002 0 0
colours 1002 FFFFFF 000000
focus 2
text "Please read the following license agreement and click the next button only if you agree with its terms."
page
units 279 138
control 1002 90 25 189 112
control 1008 1 1 81 136
top
press 1
title "Select Disks"
rows 1004 " Disk1: Sample Suite" " Disk2: Sample Suite" " Disk3: Sample Suite"
checks 1004 111
text "Select the &disks you want to create:"
page
units 279 138
control 1004 90 12 189 98
control 1005 115 118 64 14
control 1006 191 118 64 14
control 1007 1 1 81 136
top
press 1
title "Select Drive"
rows 1010 " (A:)"
selected 1010 0
text "This application only supports local or networked 1.44MB floppy drives."
page
units 279 138
control 1010 90 14 189 103
control 1009 1 1 81 136
top
press 1
title "Get Needed Disks"
child 1013 "You will need 3 blank, formatted disks."
text "Click Next to begin copying the installation files to the disk(s)."
buttons "< Back" "Next >" "Cancel"
place 2 cancel
press 1
window "Copying Files" 30000
$(disk_steps 1)
$(disk_steps 2 disk1 progress-disk-2)
$(disk_steps 3 disk2)
closed "Copying Files" 60000
select "$caption"
title "$caption"
child 1018 "$complete"
buttons "Done"
page
units 279 138
control 1018 89 1 190 136
top
at 12325 cancel
handshake disk3
click "Done"
gone
EOF
    on_disk1() { swap_floppy disk1 SETUP.EXE DATA1.CAB; }
    on_disk2() { swap_floppy disk2 DATA2.CAB README.TXT; }
    on_disk3() { swap_floppy disk3 DATA3.CAB; }
    final_files=()
    ;;
  branches)
    cat >"$script" <<EOF
$(to_disks)
click "Clear Selections"
checks 1004 000
press 1
window "$caption" 10000
text "You have not selected any disks to be built.  Please check the disks you wish built and then press Next."
icon exclamation
buttons "OK"
click "OK"
gone
select "Select Disks"
click "Select All"
checks 1004 111
click "Clear Selections"
check 1004 1
checks 1004 010
press 1
title "Select Drive"
press 0
title "Select Disks"
checks 1004 010
key 1004 40
key 1004 32
checks 1004 011
press 0
title "License Agreement"
press 1
title "Select Disks"
checks 1004 011
press 5
window "$caption" 10000
text "$quit"
buttons "Yes" "No"
click "No"
gone
select "Select Disks"
checks 1004 011
check 1004 2
checks 1004 010
press 1
$(to_copy 1)
$(disk_steps 2)
closed "Copying Files" 60000
select "$caption"
title "$caption"
key 0 27
gone
EOF
    final_files=(DATA2.CAB README.TXT)
    ;;
  other-package)
    rm "$tools/license.txt"
    packlist_ini "Other Suite" '..\setup\\SETUP.EXE' '..\setup\\DATA3.CAB' >"$tools/other.ini"
    args=(other.ini)
    cat >"$script" <<EOF
window "Welcome to $caption" 30000
text "Welcome to Tandrel's disk maker.  This application will lead you through the steps necessary to create a set of Other Suite installation disks."
press 1
title "Select Disks"
rows 1004 " Disk1: Other Suite" " Disk2: Other Suite"
press 0
title "Welcome to $caption"
buttons "Next >" "Cancel"
key 0 27
$(quit_steps)
EOF
    final_files=()
    ;;
  dark-colours)
    restore_colours=1
    set_colours "0 0 0" "255 255 255" || fail "the colour scheme could not be set"
    cat >"$script" <<EOF
window "Welcome to $caption" 30000
press 1
title "License Agreement"
page
colours 1002 000000 FFFFFF
top
press 5
$(quit_steps)
EOF
    final_files=()
    ;;
  copy-errors)
    # The second disk's first file is missing until the user puts it back.
    mv "$data/setup/disk2/DATA2.CAB" "$out/DATA2.CAB.away"
    cat >"$script" <<EOF
$(to_disks)
check 1004 2
checks 1004 110
press 1
$(to_copy 2)
window "$caption" 60000
text "$(prompt "Disk 1 - Sample Suite")"
click "OK"
command 2 "Copying Files"
$(abort_confirmed "$caption")
select "Get Needed Disks"
handshake empty 20000
press 1
window "Copying Files" 30000
$(disk_steps 1)
$(disk_steps 2)
window "$caption" 20000
text "The destination disk is not blank.\\n\\n$insert_blank"
icon exclamation
buttons "OK" "Cancel"
click "Cancel"
gone
closed "Copying Files" 20000
select "Get Needed Disks"
press 1
window "Copying Files" 30000
$(disk_steps 1 blank)
$(disk_steps 2 disk1)
window "$caption" 20000
text "Unable to find a file to be copied to the floppy disk.$choice"
icon exclamation
buttons "Abort" "Retry" "Ignore"
handshake back 20000
click "Retry"
gone
closed "Copying Files" 60000
select "$caption"
title "$caption"
click "Done"
gone
EOF
    on_blank() { rm -rf "${floppy:?}"/*; }
    on_empty() { check_floppy; }
    on_disk1() { swap_floppy disk1 SETUP.EXE DATA1.CAB; }
    on_back() { mv "$out/DATA2.CAB.away" "$data/setup/disk2/DATA2.CAB"; }
    final_files=(DATA2.CAB README.TXT)
    ;;
  names)
    # Windows reads the description in its ANSI code page (1252 for the
    # locale Wine runs in here), and so does the driver: its script is
    # written in it.
    export LC_ALL=C.UTF-8
    product="Café Suite"
    setup="$data/Données"
    mkdir -p "$setup/Übersicht"
    make_file SETUP.EXE "$setup/SETUP.EXE" 20000
    make_file "Café Menu.txt" "$setup/Café Menu.txt" 3000
    make_file "Größe.dat" "$setup/Größe.dat" 500000
    make_file "Noël.txt" "$setup/Übersicht/Noël.txt" 700
    [ -n "$wendplan" ] || fail "no wendplan.exe given"
    (cd "$data" && wenv run "$env" "$(winpath "$(realpath "$wendplan")")" "Données" -o 'tools\packlist.ini' \
      --name "$product") >"$out/wendplan.log" 2>&1 || { cat "$out/wendplan.log"; fail "wendplan.exe failed"; }
    for line in $'Name=Caf\xe9 Suite\r' $'File0=..\\Donn\xe9es\\\\SETUP.EXE\r' \
                $'File3=..\\Donn\xe9es\\\\\xdcbersicht\\No\xebl.txt\r'; do
      grep -qxaF "$line" "$tools/packlist.ini" ||
        fail "packlist.ini lacks $(printf '%s' "$line" | iconv -f CP1252 -t UTF-8)"
    done
    linux_plan=skipped
    if [ -x "$linux_tools/wendplan" ]; then
      "$linux_tools/wendplan" "$setup" -o "$out/packlist.linux.ini" --name "$product" >>"$out/wendplan.log" 2>&1 ||
        fail "the Linux wendplan failed"
      cmp -s "$out/packlist.linux.ini" "$tools/packlist.ini" ||
        fail "the Linux wendplan and wendplan.exe wrote different descriptions"
      linux_plan=same
    fi
    iconv -f UTF-8 -t CP1252 >"$script" <<EOF
window "Welcome to $caption" 30000
text "Welcome to Tandrel's disk maker.  This application will lead you through the steps necessary to create a set of $product installation disks."
press 1
title "License Agreement"
press 1
title "Select Disks"
rows 1004 " Disk1: $product"
shot select-disks-with-name
press 1
$(to_copy 1)
window "$caption" 60000
text "$(prompt "Disk 1 - $product")"
click "OK"
gone
closed "Copying Files" 60000
select "$caption"
title "$caption"
child 1018 "You have successfully created the $product setup disks.  To install $product, run SETUP.EXE, located on Disk 1."
handshake disk1
click "Done"
gone
EOF
    # The floppy holds the files under their own names; a FAT image of it
    # carries them as its long names.
    on_disk1() {
      swap_floppy disk1 SETUP.EXE "Café Menu.txt" "Größe.dat" "Noël.txt" || return 1
      # The image is made by the Linux wendmark's rule, when there is one.
      [ -x "$linux_tools/wendmark" ] || return 0
      "$linux_tools/wendmark" --image-from "$out/saved/disk1" "$out/disk1.img" 1 >"$out/image.log" 2>&1 ||
        { cat "$out/image.log"; return 1; }
      local listing name
      listing=$(MTOOLS_SKIP_CHECK=1 mdir -i "$out/disk1.img" ::)
      for name in "Café Menu.txt" "Größe.dat" "Noël.txt"; do
        grep -qF " $name" <<<"$listing" || { echo "the image does not list $name: $listing"; return 1; }
      done
    }
    final_files=()
    ;;
  no-package)
    # Missing, then broken: each run ends by itself, without a window.
    rm "$tools/packlist.ini"
    for round in missing broken; do
      wenv run "$env" "$(winpath "$tools/Wendmark.exe")" >"$out/wendmark-$round.log" 2>&1 &
      rc=0
      await_process $! 60 || rc=$?
      [ "$rc" -eq 0 ] || fail "with the description $round, Wendmark ended with $rc"
      printf '[Global]\r\nName=Sample Suite\r\n[Disks]\r\nNumber=2\r\n[Disk0]\r\nFiles=1\r\nFile0=a\r\n' >"$tools/packlist.ini"
    done
    echo "wizard_e2e[$scenario]: passed"
    exit 0
    ;;
  *)
    fail "unknown scenario"
    ;;
esac

# The program ends by itself once its wizard has closed.
drive_program 20 "$(winpath "$tools/Wendmark.exe")" "${args[@]}"

[ "$driver_rc" -eq 0 ] || fail "the driver failed (exit $driver_rc)"
[ "$program_rc" -eq "$expected_rc" ] || fail "Wendmark ended with $program_rc, not $expected_rc"
check_floppy "${final_files[@]}" || fail "the floppy is not as it should be"
if [ "$scenario" = names ] && [ "$linux_plan" = skipped ]; then
  echo "wizard_e2e[$scenario]: passed with wendplan.exe's description; the comparison with the Linux" \
    "wendplan was SKIPPED: none in '${linux_tools:-(not given)}' (build preset native first)"
  exit 77
fi
echo "wizard_e2e[$scenario]: passed"
