#!/usr/bin/env bash
# make-sample-kit.sh OUTDIR [options]
#
# Lays out a kit the way Wendmark ships: OUTDIR/setup/ holds the product's
# setup files, OUTDIR/tools/ holds Wendmark.exe, the packlist.ini that
# wendplan plans for the setup folder, and license.txt. OUTDIR/setup and
# OUTDIR/tools must not exist yet (or be empty): nothing in OUTDIR is
# removed or replaced, and an OUTDIR that holds them is refused (status 2).
# Without --product the product is Sample Suite: its committed files,
# SETUP.EXE from the win32 build and the generated bulk from the native
# build, all with fixed times, so the same build always gives the same kit.
# Every file's last access is set to its last write.
#
#   --wendmark FILE   Wendmark.exe  (build/win32/diskmaker/wizard/Wendmark.exe)
#   --wendplan FILE   wendplan      (build/native/bin/wendplan)
#   --setup-exe FILE  the sample's SETUP.EXE (build/win32/samples/SETUP.EXE)
#   --bulk DIR        the sample's generated files (build/native/samples/SampleSuite/bulk)
#   --sample-setup DIR
#                     the Sample Suite's setup folder as installed, SETUP.EXE
#                     and the generated files in it, in place of the three above
#                     (installed, ../sample/setup)
#   --product DIR     another product's setup folder, copied with its own times
#   --name TEXT       the product name (Sample Suite)
#   --license FILE    the licence text; "" for none (the sample's license.txt;
#                     none with --product)
#   --codepage N      the Windows code page packlist.ini is written in (1252)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# lib.sh lies beside this script where it is installed, in scripts/ in a checkout.
lib=$(dirname "$0")/lib.sh
[[ -f $lib ]] || lib=$root/scripts/lib.sh
# shellcheck source=../scripts/lib.sh
. "$lib"
sample=$root/samples/SampleSuite sample_setup=""
# Installed (share/tandrel/main-job), the Sample Suite lies in ../sample, its
# setup folder complete.
[[ ! -d $root/sample/setup ]] || sample=$root/sample sample_setup=$root/sample/setup

usage() { sed -n '2,/^set -e/p' "$0" | sed '$d; s/^# \{0,1\}//'; }
out=""
wendmark=$root/build/win32/diskmaker/wizard/Wendmark.exe
wendplan=$root/build/native/bin/wendplan
setup_exe=$root/build/win32/samples/SETUP.EXE
bulk=$root/build/native/samples/SampleSuite/bulk
product="" name="Sample Suite" license=$sample/license.txt license_given=0 codepage=1252
while (($#)); do
  case $1 in
    --wendmark) wendmark=$2; shift 2 ;;
    --wendplan) wendplan=$2; shift 2 ;;
    --setup-exe) setup_exe=$2; shift 2 ;;
    --bulk) bulk=$2; shift 2 ;;
    --sample-setup) sample_setup=$2; shift 2 ;;
    --product) product=$2; shift 2 ;;
    --name) name=$2; shift 2 ;;
    --license) license=$2; license_given=1; shift 2 ;;
    --codepage) codepage=$2; shift 2 ;;
    -h | --help) usage; exit 0 ;;
    -*) echo "make-sample-kit: unknown option $1" >&2; exit 2 ;;
    *) [[ -z $out ]] || { echo "make-sample-kit: more than one OUTDIR" >&2; exit 2; }; out=$1; shift ;;
  esac
done
[[ -n $out ]] || { usage >&2; exit 2; }
if [[ -n $product && $license_given == 0 ]]; then license=""; fi

need() {
  [[ -e $2 ]] || { echo "make-sample-kit: $1 not found: $2 ($3)" >&2; exit 1; }
}
need Wendmark.exe "$wendmark" "cmake --build --preset win32"
need wendplan "$wendplan" "cmake --build --preset native"
if [[ -n $product ]]; then
  need "the setup folder" "$product" "--product"
elif [[ -n $sample_setup ]]; then
  need "the Sample Suite's setup folder" "$sample_setup/SETUP.EXE" "--sample-setup"
else
  need SETUP.EXE "$setup_exe" "cmake --build --preset win32"
  need "the generated setup files" "$bulk" "cmake --build --preset native"
fi
[[ -z $license ]] || need license.txt "$license" "--license"
# OUTDIR may be any folder of a person's, even the one that holds the
# product's own setup folder: what is there stays as it is.
for part in setup tools; do
  if [[ ! $(tandrel_folder_owner "$out/$part") =~ ^(missing|empty|below) ]]; then
    echo "make-sample-kit: $out/$part already exists; choose an OUTDIR without it (nothing was changed)" >&2
    exit 2
  fi
done

# Fixed times (UTC) for the files the kit itself brings.
stamp() { touch -d "@$1" "${@:2}"; }
kit_time=1772442000  # 2026-03-02 09:00:00

echo "make-sample-kit: laying out $out/setup"
mkdir -p "$out/setup" "$out/tools"
if [[ -n $product ]]; then
  cp -a "$product/." "$out/setup/"
  # Links are taken as kivopack and wendplan take them: one to a file of the
  # product is that file (an absolute one would lead from the copy back into
  # the product), one to a folder of it is left out, as that folder is copied
  # under its own name. Any other stays a link, for them to refuse.
  real_product=$(realpath "$product")
  while IFS= read -r -d '' link; do
    target=$(realpath -e "$product/${link#"$out/setup/"}" 2>/dev/null) || continue
    [[ $target == "$real_product" || $target == "$real_product"/* ]] || continue
    if [[ -d $target ]]; then
      rm -f "$link"
    elif [[ -f $target ]]; then
      cp -a --remove-destination "$target" "$link"
    fi
  done < <(find "$out/setup" -type l -print0)
else
  if [[ -n $sample_setup ]]; then
    cp -a "$sample_setup/." "$out/setup/"
  else
    cp -a "$bulk/." "$out/setup/"
    cp "$sample/setup/README.TXT" "$sample/setup/SETUP.INI" "$out/setup/"
    cp "$setup_exe" "$out/setup/SETUP.EXE"
  fi
  # Stamped here, whatever times an installed copy of them has.
  stamp $((kit_time + 600)) "$out/setup/SETUP.EXE"
  stamp $((kit_time + 720)) "$out/setup/README.TXT" "$out/setup/SETUP.INI"
fi

echo "make-sample-kit: planning $out/tools/packlist.ini"
cp "$wendmark" "$out/tools/Wendmark.exe"
"$wendplan" "$out/setup" -o "$out/tools/packlist.ini" --name "$name" --entry-prefix '..\setup\\' --codepage "$codepage"
if [[ -n $license ]]; then cp "$license" "$out/tools/license.txt"; fi
stamp "$kit_time" "$out/tools"/*
# A copy's last access tells only when it was laid out or last read, which
# would make every kit packed from it differ.
find "$out/setup" "$out/tools" -type f -exec sh -c 'for f; do touch -a -d "$(stat -c %y "$f")" "$f"; done' sh {} +
echo "make-sample-kit: kit ready in $out"
