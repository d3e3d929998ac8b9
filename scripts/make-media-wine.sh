# shellcheck shell=bash
# Sourced by scripts/make-media.sh with --via-wine, after the native images
# are made and checked: the kit runs under Wine, the self-extractor starts
# Wendmark, the wizard is walked through as a user would, each floppy it
# writes becomes an image by the same rule as the native ones (wendmark
# --image-from), and each must equal the native image byte for byte.
# Everything goes into the run's working folder ($new), as the native items
# do, and takes its place in the output folder only when the run has passed.

# What the main job hands on, all in one place: its checkout, output and
# working folders, the kit (its folder, file and name) and its code page,
# the product's name, the number of disks and whether the person clicks. A
# value it did not set stops the run here.
: "${root:?}" "${out:?}" "${new:?}" "${logs:?}" "${kit:?}" "${kit_exe:?}" "${kit_name:?}" "${codepage:?}" \
  "${name:?}" "${disks:?}" "${interactive:?}"
# Wine runs the 32-bit programs where the machine can execute 32-bit code;
# elsewhere the 64-bit build of the same programs, and the kit stays 32-bit.
run_preset=$(tandrel_wine_ring)
step "Building the programs Wine runs and the test driver (preset $run_preset)"
[[ $run_preset == win32-tests ]] ||
  note "this machine cannot execute 32-bit x86 code: Wine runs the 64-bit build of the same programs"
tandrel_build "$me" "$logs/build-$run_preset.log" "$run_preset" KivoUnpack Wendmark wine_driver || exit 1
run_exe=$kit_exe
if [[ $run_preset == win64-tests ]]; then
  # The same kit, with the 64-bit stub and wizard in place of the 32-bit ones.
  run_kit=$new/wine64/kit
  claim wine64
  mkdir -p "$new/wine64"
  cp -a "$kit" "$run_kit"
  cp "build/$run_preset/diskmaker/wizard/Wendmark.exe" "$run_kit/tools/Wendmark.exe"
  touch -r "$kit/tools/Wendmark.exe" "$run_kit/tools/Wendmark.exe"
  run_exe=$new/wine64/$kit_name
  quiet "$logs/pack-wine64.log" build/native/bin/kivopack -o "$run_exe" \
    --stub "build/$run_preset/unpack/frame/KivoUnpack.exe" --run 'tools\Wendmark.exe' "$run_kit" ||
    die "kivopack failed (64-bit run kit)"
fi

# The Wine environment, the test driver and its handshakes are the
# end-to-end tests' own; the texts looked for are those the wizard is built
# from.
here=$root/tests/e2e
# shellcheck source=../tests/e2e/e2e_lib.sh
. "$here/e2e_lib.sh"
# shellcheck source=/dev/null
. build/native/wizard_texts.sh
env=$new/wine-env
arch=win32
[[ $run_preset == win32-tests ]] || arch=win64
step "Preparing Wine ($arch prefix, $( ((interactive)) && echo "your display $DISPLAY" || echo "virtual display"), floppy drive A:)"
if ((interactive)); then
  export TANDREL_USE_DISPLAY=$DISPLAY
fi
claim wine-env
wenv setup "$env" "$arch" >"$logs/wine-setup.log" 2>&1 ||
  { tail -n 30 "$logs/wine-setup.log" >&2; die "Wine could not be prepared"; }
# tmpfs counts whole 4 KiB pages per file, a floppy 512-byte clusters: the
# stand-in drive gets room for a full disk of small files; the images below
# are the real capacity test.
floppy_room=2375680
wenv floppy "$env" "$floppy_room"
floppy=$env/floppy

# The driver's script: the wizard walked as a user would (Next on every
# page, all disks, drive A:), a handshake after each disk, Done at the end.
# With --interactive the person clicks; the script only waits for each
# disk's prompt and for the end of the copy, to swap the floppies.
caption=$IDS_PROGRESS_CAPTION copying=$IDD_COPY_PROGRESS_CAPTION long=600000
((!interactive)) || long=3600000
# The driver reads \" and \\ as escapes inside a quoted text.
shown=${name//\\/\\\\}
shown=${shown//\"/\\\"}
disk_prompt() {  # N: the message box that asks for disk N
  local title
  # shellcheck disable=SC2059 # the wizard's own format texts
  title=$(printf "$IDS_DISK_TITLE" "$1" "$shown")
  # shellcheck disable=SC2059
  printf "window \"%s\" %d\ntext \"$IDS_INSERT_PROMPT\"\n" "$caption" "$long" "$title" A
}
wizard_script() {  # DISKS
  local n=$1 i
  if ((interactive)); then
    for i in $(seq 1 "$n"); do
      disk_prompt "$i"
      ((i == 1)) || printf 'handshake disk%d %d\n' $((i - 1)) "$long"
      printf 'gone %d\n' "$long"
    done
    printf 'closed "%s" %d\nhandshake disk%d %d\n' "$copying" "$long" "$n" "$long"
    return
  fi
  printf 'window "%s" 120000\npage\ntop\npress 1\n' "$IDD_WELCOME_CAPTION"
  [[ ! -f $kit/tools/license.txt ]] || printf 'title "%s"\npress 1\n' "$IDD_LICENSE_CAPTION"
  printf 'title "%s"\npress 1\n' "$IDD_DISK_SELECT_CAPTION" "$IDD_DRIVE_SELECT_CAPTION" "$IDD_GET_DISKS_CAPTION"
  printf 'window "%s" 30000\n' "$copying"
  for i in $(seq 1 "$n"); do
    disk_prompt "$i"
    ((i != 2)) || printf 'select "%s"\nshot copying\nselect "%s"\n' "$copying" "$caption"
    ((i == 1)) || printf 'handshake disk%d 60000\n' $((i - 1))
    printf 'click "OK"\ngone\n'
  done
  printf 'closed "%s" %d\nselect "%s"\ntitle "%s"\nhandshake disk%d 60000\nclick "%s"\ngone\n' \
    "$copying" "$long" "$IDD_COMPLETE_CAPTION" "$IDD_COMPLETE_CAPTION" "$n" "$IDS_DONE"
}

install=$new/install
claim install driver disks
mkdir -p "$install"
driver_out=$new/driver
mkdir -p "$driver_out"
script=$driver_out/script.txt
driver=$root/build/$run_preset/tests/e2e/wine_driver.exe
# The driver reads window texts in Wine's ANSI code page, the one the kit's
# names are written in; its script has to be in it as well.
wizard_script "$disks" | iconv -f UTF-8 -t "CP$codepage" >"$script"

# Answers to the driver's handshakes (diskN: disk N is written): the floppy
# that was just written becomes an image, and the drive is emptied for the
# next disk. The wizard's images go to wine/ beside the native ones.
wine_out=$new/wine
claim wine
mkdir -p "$wine_out"
answer_handshake() {  # diskN
  local n=${1#disk} folder=$new/disks/$1
  rm -rf "$folder"
  mkdir -p "$folder"
  # A floppy is flat, but -a keeps the times and copies whatever is there.
  cp -a "$floppy"/. "$folder"/
  find "$floppy" -mindepth 1 -delete
  "$root/build/native/bin/wendmark" --image-from "$folder" "$wine_out/disk$n.img" "$n" \
    >"$logs/wine-disk$n-image.log" 2>&1 || { cat "$logs/wine-disk$n-image.log"; return 1; }
  echo "wine/disk$n.img"
}
# The person sees each disk's answer (on descriptor 3, the run's output).
report_handshake() {
  case $2 in
    ok*) note "${1/disk/disk } written; saved as ${2#ok }, drive emptied" >&3 ;;
    *) note "${1/disk/disk }: $2" >&3 ;;
  esac
}

step "Running $(basename "$run_exe") in an empty folder; the wizard starts from the kit"
# The driver's folder takes the place of an end-to-end test's; the kit
# starts in the empty folder and ends by itself once the wizard has.
cd "$install" || exit
out=$driver_out drive_program $((long / 1000)) "$(winpath "$run_exe")" 3>&1 >"$logs/driver.log"
cd "$root" || exit
if ((driver_rc != 0)); then
  tail -n 40 "$logs/driver.log" >&2
  die "the wizard did not go as expected"
fi
((program_rc == 0)) || { tail -n 20 "$driver_out/program.log" >&2; die "the self-extractor ended with an error"; }
WINEPREFIX=$env/prefix wineserver -w || true
registry=$(wenv wine "$env" reg query 'HKLM\SOFTWARE\Classes\VQLT' /v Info 2>/dev/null | tr -d '\r' |
  sed -n 's/^ *Info *REG_SZ *//p')
[[ -n $registry ]] || die "the self-extractor left no registry value"
note "the self-extractor recorded its path: HKLM\\SOFTWARE\\Classes\\VQLT Info = $registry"

step "Saving the screenshots"
claim screens
mkdir -p "$new/screens"
mv "$driver_out"/*.png "$new/screens/" 2>/dev/null || true
note "$(find "$new/screens" -name '*.png' | wc -l) pictures for $out/screens"

wenv cleanup "$env" >/dev/null 2>&1 || true

step "Comparing the wizard's images with the native ones"
wine_same=0 wine_differ=()
for n in $(seq 1 "$disks"); do
  [[ -f $wine_out/disk$n.img ]] || die "the wizard never wrote disk $n"
  if cmp -s "$wine_out/disk$n.img" "$new/disk$n.img"; then
    wine_same=$((wine_same + 1))
  else
    wine_differ+=("disk$n.img")
  fi
done
if ((${#wine_differ[@]} > 0)); then
  die "the wizard's images differ from the native ones: ${wine_differ[*]}"
fi
wine_line="the wizard under Wine wrote the same images, byte for byte ($wine_same of $disks)"
note "$wine_line"
wine_lines=$(printf '  Wine         %s\n  Pictures     %s\n' "$wine_line" "$out/screens/")
wine_lines+=$'\n'
