#!/usr/bin/env bash
# The Windows tools zip at work: its wendplan.exe plans a small product and
# its kivopack.exe packs the kit around its KivoUnpack.exe and Wendmark.exe,
# both under Wine; the Linux kivounpack then extracts the kit, and every
# file must come out with the product's bytes and last-write time.
#
#   zip_e2e.sh ENVDIR PROGRAMS_BUILD OUTDIR LINUX_TOOLS
#
# PROGRAMS_BUILD is the build folder whose programs go into the zip: the
# shipped 32-bit ones (build/win32) where the host runs 32-bit code, else
# the 64-bit build of the same sources, as the rest of this ring runs.
# LINUX_TOOLS is the folder of the native kivounpack and wendplan (preset
# native); without them the test ends with status 77 (skipped).
set -euo pipefail

env=${1:?wine environment} programs=${2:?build folder of the programs} out=${3:?output folder}
linux_tools=${4:-}
here=$(cd "$(dirname "$0")" && pwd)

# shellcheck source=e2e_lib.sh
. "$here/e2e_lib.sh"
prepare_folders
fail() {
  echo "zip_e2e: $*" >&2
  exit 1
}
for tool in kivounpack wendplan; do
  [ -x "$linux_tools/$tool" ] || { echo "zip_e2e: no Linux $tool in '${linux_tools:-(not given)}': skipped"; exit 77; }
done
# The kit keeps the files' own times; a bound on them is no part of this check.
unset SOURCE_DATE_EPOCH

# --- the zip, unpacked as a person would
"$here/../../scripts/make-win32-zip.py" "$programs" "$out/zip" >"$out/zip.log" 2>&1 ||
  { cat "$out/zip.log"; fail "the zip could not be made from $programs"; }
zip=$(cat "$out/zip.log")
mkdir -p "$out/unzipped"
(cd "$out/unzipped" && unzip -q "$zip") || fail "$zip does not unzip"
bin=$(echo "$out/unzipped"/tandrel-*/bin)
for program in KivoUnpack.exe Wendmark.exe kivopack.exe wendplan.exe; do
  [ -f "$bin/$program" ] || fail "$zip holds no bin/$program"
done

# --- the product: the wizard in tools/ beside its setup folder, with nested
# folders, an empty file and files over one copy chunk, at known times
kit=$data/kit
mkdir -p "$kit/tools" "$kit/setup/data/deep"
head -c 70000 /dev/urandom >"$kit/setup/SETUP.EXE"
head -c 300000 /dev/urandom >"$kit/setup/data/MAIN.CAB"
printf 'read me\r\n' >"$kit/setup/README.TXT"
: >"$kit/setup/data/deep/EMPTY.DAT"
cp "$bin/Wendmark.exe" "$kit/tools/Wendmark.exe"
find "$kit" -type f -exec touch -m -d "2001-02-03 04:05:06.1234567" {} +

# wendplan.exe writes the description the Linux wendplan writes.
(cd "$kit" && wenv run "$env" "$bin/wendplan.exe" setup -o 'tools\packlist.ini' --name "Zip Suite") \
  >"$out/wendplan.log" 2>&1 || { cat "$out/wendplan.log"; fail "wendplan.exe failed"; }
"$linux_tools/wendplan" "$kit/setup" -o "$out/linux-packlist.ini" --name "Zip Suite" >/dev/null ||
  fail "the Linux wendplan failed"
cmp "$kit/tools/packlist.ini" "$out/linux-packlist.ini" ||
  fail "wendplan.exe wrote another description than the Linux wendplan"
touch -m -d "2001-02-03 04:05:06.1234567" "$kit/tools/packlist.ini"

(cd "$data" && wenv run "$env" "$bin/kivopack.exe" -o Setup.exe --stub "$(winpath "$bin/KivoUnpack.exe")" \
  --run 'tools\Wendmark.exe' kit) >"$out/kivopack.log" 2>&1 || { cat "$out/kivopack.log"; fail "kivopack.exe failed"; }

# --- extracted on Linux: every file, its bytes and its time, nothing else
"$linux_tools/kivounpack" -f "$data/Setup.exe" -d "$out/extracted" >"$out/kivounpack.log" 2>&1 ||
  { cat "$out/kivounpack.log"; fail "the Linux kivounpack could not extract the kit"; }
listing() { (cd "$1" && find . -type f -printf '%P %s %TY-%Tm-%Td %TT\n' | sort); }
diff <(listing "$kit") <(listing "$out/extracted") ||
  fail "the extracted files differ in name, size or last-write time from the product"
(cd "$kit" && find . -type f -exec cmp {} "$out/extracted/{}" \;) || fail "an extracted file differs from the product"
echo "zip_e2e: $(basename "$zip"): the kit of wendplan.exe and kivopack.exe extracts as the product" \
  "($(listing "$kit" | wc -l) files)"
