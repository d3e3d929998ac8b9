#!/usr/bin/env bash
# usage: tandrel-media [--product DIR --name "NAME"] [--license FILE] [--out DIR]
#                      [--codepage N] [--via-wine [--interactive]]
#
# The main job: from a product's setup folder to a self-extracting kit and a
# set of 1.44 MB floppy images, in one command, natively. Without --product
# it makes the Sample Suite: it plans packlist.ini with wendplan, packs the
# kit with kivopack around the Windows programs, writes every disk as a
# FAT12 image with wendmark and checks each image against the setup files
# with readers we did not write (mtools, 7-Zip, fsck.fat). Installed, the
# command is tandrel-media and uses the tools installed beside it; in a
# checkout, make-media.sh builds them first.
#
# The output folder must be new, empty, or one an earlier run made (it
# bears the mark .tandrel-media); a run replaces only what an earlier run
# made there, and only once every step and check has passed. The guide
# (README.md, installed in /usr/share/doc/tandrel) tells the rules in full.
#
#   --product DIR    another product's setup folder (with --name)
#   --name "NAME"    the product name the wizard shows; the kit is NAME's
#                    letters and digits, in ASCII, then -Setup.exe
#   --license FILE   a licence text shown by the wizard (the sample has one)
#   --out DIR        where everything goes (out/media in a checkout; media
#                    in the current folder for the installed tandrel-media)
#   --codepage N     the Windows ANSI code page the kit is made for: the
#                    names in the kit, in packlist.ini and on the floppies
#                    (1252, Western European, unless given; also 874, 1250,
#                    1251, 1253, 1254, 1255, 1256, 1257)
#   --via-wine       also make the images with the Windows programs under Wine
#                    and compare them with the native ones (code page 1252
#                    only: Wine runs here in a locale of that code page)
#   --interactive    with --via-wine: show the programs on your own display
#                    ($DISPLAY) and leave the clicking to you; only the
#                    floppies are swapped
#
# Exit status: 0 done, 1 a step failed, 2 refused (a wrong argument, or an
# --out folder that holds files no earlier run made); a run that was
# interrupted ends by its signal (130 for Ctrl-C). Every reason is given on
# standard error.
set -euo pipefail
# Where the job's pieces are is all that tells the two apart. A checkout
# keeps this file in scripts/ beside lib.sh, and is taken by the path it was
# run by (a test's tree of links is a checkout of its own), or else by the
# file a link to it leads to. Installed, the command is found through any
# link to it, and its pieces are in ../share/tandrel beside the tools.
installed=1
for here in "$(cd "$(dirname "$0")" && pwd)" "$(dirname "$(readlink -f "$0")")"; do
  [[ -f $here/lib.sh && -f $here/../samples/make-sample-kit.sh ]] || continue
  installed=0 me=make-media root=$(dirname "$here")
  lib=$root/scripts made_by=scripts/make-media.sh default_out=$root/out/media
  break
done
if ((installed)); then
  me=tandrel-media bin=$(dirname "$(readlink -f "$0")")
  if ! share=$(cd "$bin/../share/tandrel" 2>/dev/null && pwd) || [[ ! -f $share/main-job/lib.sh ]]; then
    echo "tandrel-media: its files are missing: $bin/../share/tandrel/main-job/lib.sh is not there (reinstall the package)" >&2
    exit 1
  fi
  lib=$share/main-job made_by=tandrel-media default_out=$PWD/media
fi
# shellcheck source=lib.sh
. "$lib/lib.sh"
# fsck.fat lives in sbin, which is not on a person's PATH on Debian.
PATH=$PATH:/usr/sbin:/sbin

# The usage names the command as it is run here.
usage() {
  sed -n '2,/^set -e/p' "$0" | sed '$d; s/^# \{0,1\}//' |
    if ((installed)); then cat; else sed '1s|^usage: tandrel-media |usage: scripts/make-media.sh |'; fi
}
refuse() { echo "$me: $*" >&2; exit 2; }
# Folders and files given are taken from where the command was typed, before
# the script moves to the checkout, and by their real paths, so that no link
# hides that one lies inside another.
product="" name="" license="" license_given=0 interactive=0 via_wine=0 out=$default_out codepage=1252
while (($#)); do
  case $1 in
    --product | --name | --license | --out | --codepage)
      (($# >= 2)) && [[ -n $2 ]] || refuse "$1 needs a value (see --help)"
      case $1 in
        --product) product=$(cd "$2" 2>/dev/null && pwd -P) || refuse "--product $2 is not a folder" ;;
        --name) name=$2 ;;
        --license)
          [[ -f $2 ]] || refuse "--license $2 is not a file"
          license=$(realpath "$2") license_given=1 ;;
        --out) out=$(realpath -m "$2") ;;
        --codepage) codepage=$2 ;;
      esac
      shift 2 ;;
    --interactive) interactive=1; shift ;;
    --via-wine) via_wine=1; shift ;;
    -h | --help) usage; exit 0 ;;
    *) refuse "unknown argument $1 (see --help)" ;;
  esac
done
((!installed)) || ((!via_wine)) ||
  refuse "--via-wine runs from a checkout (it builds the Wine test driver and runs the Windows programs under Wine); the installed tandrel-media makes the same kit and images without it"
((installed)) || cd "$root"
[[ -z $product || -n $name ]] || refuse "--product needs --name \"<product name>\""
[[ -n $product || -z $name ]] ||
  refuse "--name goes with --product (without --product the Sample Suite is made, under its own name)"
[[ -n $name ]] || name="Sample Suite"
((!interactive || via_wine)) || refuse "--interactive goes with --via-wine (the native run asks nothing)"
((!interactive)) || [[ -n ${DISPLAY:-} ]] || refuse "--interactive needs a display (DISPLAY is not set)"
((!via_wine)) || [[ $codepage == 1252 ]] ||
  refuse "--via-wine goes with code page 1252 only (Wine runs the wizard in the C locale, whose code page is 1252)"

# --- 0. the output folder, before anything else happens (the owned-folder
# rule, in lib.sh): the mark a run leaves (runs from before the main job had
# its name left the second) and the name of a run's working folder.
marks=(.tandrel-media .tandrel-demo)
work_pattern='.tandrel-media.work.*'
inside() { [[ $1 == "$2" || $1 == "$2"/* ]]; }  # PATH FOLDER
state=$(tandrel_folder_owner -i "$work_pattern" "$out" "${marks[@]}")
case $state in
  not-folder) refuse "--out $out is not a folder" ;;
  mark-link) refuse "--out $out: its mark is a link, which no run of this script makes" ;;
  foreign) refuse "--out $out holds files that no earlier run made (it has no .tandrel-media); choose a new or empty folder" ;;
  below*) refuse "--out $out lies $state, which is not a folder" ;;
esac
mapfile -t tandrel_run_earlier < <(tandrel_marked_items "$out" "${marks[@]}")
# The kit is named by the product's letters and digits, in ASCII: accents
# go (é is e), letters with no ASCII form (日本) go altogether. The C.UTF-8
# locale makes the transliteration the same on every machine.
kit_name=$({ printf '%s' "$name" | LC_ALL=C.UTF-8 iconv -c -f UTF-8 -t ASCII//TRANSLIT 2>/dev/null || true; } |
  LC_ALL=C tr -cd 'A-Za-z0-9')-Setup.exe
[[ $kit_name != -Setup.exe ]] || kit_name=Product-Setup.exe
# What this run makes in the folder must not stand there already unless an
# earlier run made it: a person's own "kit" or "disk1.img" there is theirs.
ours=(logs kit "$kit_name" 'disk*.img')
((via_wine == 0)) || ours+=(wine wine-env wine64 install driver disks screens)
item=$(tandrel_run_unlisted "$out" "${ours[@]}")
[[ -z $item ]] || refuse "--out $out holds $item, which no earlier run made; move it away or choose another folder"
# The inputs are only read. One inside the output folder may be, or be
# inside, an item a run replaces (kit/setup is the copy an earlier run
# made), or stand where a person edits it beside the run's items.
if [[ -n $product ]]; then
  ! inside "$out" "$product" || refuse "--out $out lies inside the setup folder $product, which goes into the kit as it is"
  ! inside "$product" "$out" ||
    refuse "--product $product lies inside the output folder $out, where a run replaces what it made; use a setup folder outside it"
fi
((!license_given)) || ! inside "$license" "$out" ||
  refuse "--license $license lies inside the output folder $out, where a run replaces what it made; use a file outside it"

started=$(date +%s)
step() { printf '\n==> [%3ds] %s\n' $(($(date +%s) - started)) "$*"; }
note() { printf '    %s\n' "$*"; }
die() { echo "$me: $*" >&2; exit 1; }

# --- 1. tools
step "Checking the tools"
if ((installed)); then
  # The package brings the readers; a tree installed by hand may lack some,
  # and installing them is the person's own choice.
  lacking=$(tandrel_missing_readers) ||
    die "the check reads the images with tools that are not installed: $lacking"
  for tool in kivopack wendplan wendmark; do
    [[ -x $bin/$tool ]] || die "$bin/$tool is missing (reinstall the package)"
  done
else
  tools=native
  ((via_wine == 0)) || tools=all
  tandrel_ensure_tools "$tools" || die "installing what is missing (scripts/setup-deps.sh) failed"
fi

# --- the working folder, this run's own beside the earlier items. A Wine
# environment stops its display and unmounts its floppy before it goes.
release() {  # PATH: an item or a working folder that goes
  local env
  ((!installed)) || return 0
  for env in "$1" "$1/wine-env"; do
    [[ ${env##*/} != wine-env || ! -d $env ]] || "$root/tests/e2e/wine-env.sh" cleanup "$env" >/dev/null 2>&1 || true
  done
}
tandrel_run_begin "$me" "$out" "$work_pattern" release
new=$tandrel_run_work
made=()
claim() { made+=("$@"); }  # ITEM...: this run makes ITEM in the output folder
# Lines the tools print name the working folder; they are shown with the
# place their items have once the run has passed.
shown() {
  local line
  while IFS= read -r line; do printf '    %s\n' "${line//"$new"/$out}"; done
}
# quiet LOG COMMAND...: the command's output goes to LOG; what it says on
# standard error (its warnings, or why it failed) to LOG and to the person,
# who is shown their own setup folder where the tool read the kit's copy.
quiet() {
  local log=$1 err=$new/stderr.txt rc=0 line
  shift
  "$@" >"$log" 2>"$err" || rc=$?
  cat "$err" >>"$log"
  while IFS= read -r line || [[ -n $line ]]; do
    [[ -z $product ]] || line=${line//"$new/kit/setup"/$product}
    printf '%s\n' "$line"
  done <"$err" >&2
  rm -f "$err"
  return "$rc"
}

logs=$new/logs
claim logs
mkdir -p "$logs"

# --- 2. build
if ((installed)); then
  tools_bin=$bin
  stub=$share/KivoUnpack.exe
  wendmark=$share/Wendmark.exe
else
  step "Building the Windows programs (preset win32)"
  tandrel_build "$me" "$logs/build-win32.log" win32 || exit 1
  step "Building the tools: kivopack, wendplan, wendmark, the sample's files (preset native)"
  tandrel_build "$me" "$logs/build-native.log" native kivopack wendplan wendmark sample_bulk wizard_texts || exit 1
  tools_bin=build/native/bin
  stub=build/win32/unpack/frame/KivoUnpack.exe
  wendmark=build/win32/diskmaker/wizard/Wendmark.exe
fi

# The code page is the tools' to judge: wendplan plans a folder of one file
# with it, and what it says of a code page it does not know is the reason.
probe=$new/codepage-probe
install -D /dev/null "$probe/setup/A"
if ! "$tools_bin/wendplan" "$probe/setup" -o "$probe/packlist.ini" --name A --codepage "$codepage" \
     >/dev/null 2>"$logs/codepage.log"; then
  cat "$logs/codepage.log" >&2
  refuse "--codepage $codepage is not one the tools can make a kit for"
fi

[[ -f $stub && -f $wendmark ]] || die "KivoUnpack.exe and Wendmark.exe are not both there: $stub, $wendmark"
note "KivoUnpack.exe $(stat -c %s "$stub") bytes, Wendmark.exe $(stat -c %s "$wendmark") bytes"

# --- 3. the kit
step "Laying out the kit and planning packlist.ini"
if [[ -n $product ]]; then
  # The person's own folder is planned first, so that whatever no set of
  # floppies can hold (a file too large, a link that leads out of it or
  # nowhere, a name the code page lacks) is named by their own path.
  quiet "$logs/product.log" "$tools_bin/wendplan" "$product" -o "$new/product-plan.ini" --name "$name" \
    --codepage "$codepage" ||
    die "the setup folder $product cannot go onto floppies as it is"
fi
kit=$new/kit
claim kit
kit_args=(--wendmark "$wendmark" --wendplan "$tools_bin/wendplan" --name "$name" --codepage "$codepage")
[[ -z $product ]] || kit_args+=(--product "$product")  # else the Sample Suite, make-sample-kit's own
((license_given == 0)) || kit_args+=(--license "$license")
kit_script=samples/make-sample-kit.sh
((!installed)) || kit_script=$lib/make-sample-kit.sh
quiet "$logs/kit.log" bash "$kit_script" "$kit" "${kit_args[@]}" || die "the kit could not be laid out"
sed '/^make-sample-kit: /d' "$logs/kit.log" | shown
# Disk after disk, each entry's name on the floppy and the file it is copied from.
entries=$new/entries
"$tools_bin/wendmark" --list-disks "$kit/tools/packlist.ini" --codepage "$codepage" >"$entries" ||
  die "packlist.ini cannot be read back"
disks=$(tail -n 1 "$entries" | cut -f1)
[[ $disks =~ ^[0-9]+$ ]] && ((disks > 0)) || die "packlist.ini names no disks"

step "Packing the self-extracting kit"
# No time the kit stores is later than the newest setup file (rounded up to
# a whole second): a copy's creation and last-access times say only when the
# kit was laid out, and would make every run's kit differ.
if [[ -z ${SOURCE_DATE_EPOCH+set} ]]; then
  newest=$(find "$kit/setup" -type f -printf '%T@\n' | sort -n | tail -n 1)
  whole=${newest%.*} fraction=${newest#*.}
  [[ $newest == *.* && $fraction =~ [1-9] ]] && whole=$((whole + 1))
  export SOURCE_DATE_EPOCH=$whole
  note "SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH (the newest setup file, $(date -u -d "@$whole" '+%Y-%m-%d %H:%M:%S') UTC)"
else
  note "SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH (given)"
fi
kit_exe=$new/$kit_name
claim "$kit_name"
quiet "$logs/pack.log" "$tools_bin/kivopack" -o "$kit_exe" --stub "$stub" --run 'tools\Wendmark.exe' \
  --codepage "$codepage" "$kit" || die "kivopack failed"
"$tools_bin/kivopack" --verify "$kit_exe" --codepage "$codepage" | shown || die "the kit kivopack wrote does not verify"

# --- 4. the images
step "Writing the floppy images (wendmark)"
for n in $(seq 1 "$disks"); do claim "disk$n.img"; done
quiet "$logs/wendmark.log" "$tools_bin/wendmark" "$kit/tools/packlist.ini" --images "$new" --no-prompt \
  --codepage "$codepage" ||
  die "wendmark could not write the images"
shown <"$logs/wendmark.log"

# --- 5. checks
step "Checking the images against the setup files"
# Readers we did not write judge every image; what they found goes into the summary.
bash "$lib/check-images.sh" "$me" "$entries" "$new" "$logs" >"$new/checked" || exit 1
# This run's kit and images against those the previous run left, before
# this run's take their place.
previous=0 images_same=0 images_differ=() times_text="" label="  Times        "
while IFS=$'\t' read -r what n counted; do
  if [[ $what == times ]]; then
    times_text+="$label$n"$'\n' label="               "
    continue
  fi
  case $(tandrel_run_against_earlier "disk$n.img") in
    same) same="  (the same bytes as the previous run)" images_same=$((images_same + 1)) previous=1 ;;
    differs) same="  (differs from the previous run)" images_differ+=("disk$n.img") previous=1 ;;
    *) same="" images_differ+=("disk$n.img") ;;
  esac
  summary_lines+=("disk$n.img  label DISK$n  $counted$same")
done <"$new/checked"
case $(tandrel_run_against_earlier "$kit_name") in
  same) kit_same="kit identical" previous=1 ;;
  differs) kit_same="kit differs" previous=1 ;;
  *) kit_same="no previous kit $kit_name" ;;
esac
if ((!previous)); then
  repeat="no previous run's kit or images in $out"
elif ((${#images_differ[@]} == 0)); then
  repeat="$kit_same, images identical ($images_same of $disks)"
else
  repeat="$kit_same, images differ: ${images_differ[*]}"
fi
note "every file on every image equals its setup file, with its last-write time as a floppy holds it (mtools, 7-Zip, fsck.fat)"

# --- 6. the same through the Windows programs, under Wine
wine_lines=""  # the summary's lines of the Wine run
# shellcheck source=make-media-wine.sh
((!via_wine)) || . scripts/make-media-wine.sh

# --- 7. this run's items in place of the earlier ones
tandrel_run_place "${marks[@]}" "$made_by" "${made[@]}"

# --- 8. summary
kit_exe=$out/$kit_name
step "Done in $(($(date +%s) - started)) s"
cat <<EOF

  Product      $name
  Kit          $kit_exe ($(stat -c %s "$kit_exe") bytes)
  Disks        $disks
$(printf '    %s\n' "${summary_lines[@]}")
$times_text  Images       $out/disk*.img (1.44 MB FAT12; put one on a floppy with
               dd if=disk1.img of=/dev/fd0 bs=512, or load it into an emulator)
$wine_lines  Logs         $out/logs/
  Previous run $repeat
EOF
