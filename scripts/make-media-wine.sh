# Sourced by scripts/make-media.sh with --via-wine, after the native images
# are made and checked: the kit runs under Wine, the self-extractor starts
# Wendmark, the wizard is walked through as a user would, each floppy it
# writes becomes an image by the same rule as the native ones (wendmark
# --image-from), and each must equal the native image byte for byte.
# Everything goes into the run's working folder ($new), as the native items
# do, and takes its place in the output folder only when the run has passed.

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

env=$new/wine-env
# The display, wineserver and the programs may outlive a step: none of them
# holds the output folder's lock, which is this run's alone.
wenv() { tests/e2e/wine-env.sh "$@" {lock}<&-; }
arch=win32
[[ $run_preset == win32-tests ]] || arch=win64
# The run's end, however it comes, stops the display and unmounts the floppy.
wine_cleanup() {
  wenv cleanup "$env" >/dev/null 2>&1 || true
}
step "Preparing Wine ($arch prefix, $( ((interactive)) && echo "your display $DISPLAY" || echo "virtual display"), floppy drive A:)"
if ((interactive)); then
  export TANDREL_USE_DISPLAY=$DISPLAY
fi
claim wine-env
wine_env_up=1
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
caption="Tandrel's disk maker"
wizard_script() {  # DISKS
  local n=$1 i long=600000
  # The driver reads \" and \\ as escapes inside a quoted text.
  local shown=${name//\\/\\\\}
  shown=${shown//\"/\\\"}
  if ((interactive)); then
    long=3600000
    for i in $(seq 1 "$n"); do
      printf 'window "%s" %d\n' "$caption" "$long"
      printf 'text "Please label a blank, formatted 1.44MB floppy disk '"'"'Disk %d - %s'"'"' and place it in drive A:."\n' "$i" "$shown"
      ((i == 1)) || printf 'handshake disk%d %d\n' $((i - 1)) "$long"
      printf 'gone %d\n' "$long"
    done
    printf 'closed "Copying Files" %d\nhandshake disk%d %d\n' "$long" "$n" "$long"
    return
  fi
  cat <<EOF
window "Welcome to $caption" 120000
page
top
press 1
EOF
  if [[ -f $kit/tools/license.txt ]]; then
    printf 'title "License Agreement"\npress 1\n'
  fi
  cat <<EOF
title "Select Disks"
press 1
title "Select Drive"
press 1
title "Get Needed Disks"
press 1
window "Copying Files" 30000
EOF
  for i in $(seq 1 "$n"); do
    printf 'window "%s" %d\n' "$caption" "$long"
    printf 'text "Please label a blank, formatted 1.44MB floppy disk '"'"'Disk %d - %s'"'"' and place it in drive A:."\n' "$i" "$shown"
    ((i != 2)) || printf 'select "Copying Files"\nshot copying\nselect "%s"\n' "$caption"
    ((i == 1)) || printf 'handshake disk%d 60000\n' $((i - 1))
    printf 'click "OK"\ngone\n'
  done
  cat <<EOF
closed "Copying Files" $long
select "$caption"
title "$caption"
handshake disk$n 60000
click "Done"
gone
EOF
}

install=$new/install
claim install driver disks
mkdir -p "$install"
driver_out=$new/driver
mkdir -p "$driver_out"
script=$driver_out/script.txt
# The driver reads window texts in Wine's ANSI code page, the one the kit's
# names are written in; its script has to be in it as well.
wizard_script "$disks" | iconv -f UTF-8 -t "CP$codepage" >"$script"

# Answers to the driver's handshakes: the floppy that was just written
# becomes an image, and the drive is emptied for the next disk.
# The wizard's images go to wine/ beside the native ones.
wine_out=$new/wine
claim wine
mkdir -p "$wine_out"
save_disk() {  # save_disk N
  local n=$1 folder=$new/disks/disk$1
  rm -rf "$folder"
  mkdir -p "$folder"
  # A floppy is flat, but -a keeps the times and copies whatever is there.
  cp -a "$floppy"/. "$folder"/
  find "$floppy" -mindepth 1 -delete
  build/native/bin/wendmark --image-from "$folder" "$wine_out/disk$n.img" "$n" >"$logs/wine-disk$n-image.log" 2>&1 ||
    { cat "$logs/wine-disk$n-image.log"; return 1; }
  echo "wine/disk$n.img"
}

step "Running $(basename "$run_exe") in an empty folder; the wizard starts from the kit"
(cd "$install" && exec "$root/tests/e2e/wine-env.sh" run "$env" "$(winpath "$run_exe")" {lock}<&-) >"$logs/kit-run.log" 2>&1 &
kit_pid=$!
background+=("$kit_pid")
wenv run "$env" "build/$run_preset/tests/e2e/wine_driver.exe" "$(winpath "$driver_out")" "$(winpath "$script")" \
  >"$logs/driver.log" 2>&1 &
driver_pid=$!
background+=("$driver_pid")
# The driver's handshake diskN: disk N is written.
answer_disk() { save_disk "${1#disk}"; }
report_disk() {
  case $2 in
    ok*) note "${1/disk/disk } written; saved as ${2#ok }, drive emptied" ;;
    *) note "${1/disk/disk }: $2" ;;
  esac
}
serve_handshakes "$driver_pid" "$driver_out" answer_disk report_disk
driver_rc=0
wait "$driver_pid" || driver_rc=$?
if ((driver_rc != 0)); then
  tail -n 40 "$logs/driver.log" >&2
  die "the wizard did not go as expected"
fi
wait "$kit_pid" || { tail -n 20 "$logs/kit-run.log" >&2; die "the self-extractor ended with an error"; }
background=()
WINEPREFIX=$env/prefix wineserver -w || true
registry=$(wenv wine "$env" reg query 'HKLM\SOFTWARE\Classes\VQLT' /v Info 2>/dev/null | tr -d '\r' |
  sed -n 's/^ *Info *REG_SZ *//p')
[[ -n $registry ]] || die "the self-extractor left no registry value"
note "the self-extractor recorded its path: HKLM\\SOFTWARE\\Classes\\VQLT Info = $registry"

step "Saving the screenshots"
claim screens
mkdir -p "$new/screens"
pictures_to_png "$driver_out" "$new/screens"
note "$(find "$new/screens" -name '*.png' | wc -l) pictures for $out/screens"

wine_cleanup
wine_env_up=0

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
