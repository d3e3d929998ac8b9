#!/usr/bin/env bash
# image_from_test.sh WENDMARK
# `wendmark --image-from`, the rule that turns the folder a floppy's files
# lie in into its image (the Wine run's floppies go through it too): two
# images of one folder are byte-identical, are
# labelled with the disk's number and carry its fixed serial, and every file
# comes back out of the image byte for byte with its last-write time (FAT
# keeps it to two seconds, rounding up). Exits 77 (skipped) when a disk tool is missing.
set -euo pipefail
wendmark=$1
for tool in mformat mcopy fsck.fat; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is missing"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/disk" "$work/back"
head -c 300000 /dev/urandom >"$work/disk/DATA1.CAB"
head -c 777 /dev/urandom >"$work/disk/Read Me First.txt"
: >"$work/disk/empty.dat"
printf 'setup\r\n' >"$work/disk/setup.ini"
touch -d '2019-06-01 12:00:03' "$work/disk/DATA1.CAB"
touch -d '2020-02-29 23:59:59' "$work/disk/Read Me First.txt"
touch -d '1999-12-31 08:15:00' "$work/disk/empty.dat"

"$wendmark" --image-from "$work/disk" "$work/one.img" 3 >"$work/log"
"$wendmark" --image-from "$work/disk" "$work/two.img" 3 >>"$work/log"
cmp "$work/one.img" "$work/two.img" || { echo "FAIL: two runs gave different images"; exit 1; }
[[ $(stat -c %s "$work/one.img") == 1474560 ]] || { echo "FAIL: not a 1.44 MB image"; exit 1; }
info=$(MTOOLS_SKIP_CHECK=1 MTOOLSRC=/dev/null minfo -i "$work/one.img" ::)
grep -q 'disk label="DISK3 ' <<<"$info" || { echo "FAIL: label"; echo "$info"; exit 1; }
grep -q 'serial number: 7A4D0003' <<<"$info" || { echo "FAIL: serial"; echo "$info"; exit 1; }

MTOOLS_SKIP_CHECK=1 TZ=UTC mcopy -m -i "$work/one.img" '::/*' "$work/back/"
for f in "$work"/disk/*; do
  name=$(basename "$f")
  cmp "$f" "$work/back/$name" || { echo "FAIL: $name differs"; exit 1; }
  delta=$(($(stat -c %Y "$work/back/$name") - $(stat -c %Y "$f")))
  ((delta >= 0 && delta <= 2)) || { echo "FAIL: $name time off by $delta s"; exit 1; }
done
[[ $(ls "$work/back" | wc -l) == 4 ]] || { echo "FAIL: other files came back"; exit 1; }

# A file too large for the floppy fails and leaves no image behind.
mkdir "$work/big"
head -c 1500000 /dev/zero >"$work/big/HUGE.BIN"
if "$wendmark" --image-from "$work/big" "$work/big.img" 1 >/dev/null 2>&1; then echo "FAIL: an overfull disk passed"; exit 1; fi
[[ ! -e $work/big.img && ! -e $work/big.img.partial ]] || { echo "FAIL: an image was left behind"; exit 1; }
# Names FAT takes for one (it drops trailing dots and blanks), and a name
# Windows cannot hold, are refused at once, before any tool could ask which
# to keep; nothing is left behind.
for pair in "a|a." "x|x " "Readme.txt|README.TXT. " "what?|ok"; do
  rm -rf "$work/clash" && mkdir "$work/clash"
  : >"$work/clash/${pair%%|*}"
  : >"$work/clash/${pair#*|}"
  if out=$(timeout 30 "$wendmark" --image-from "$work/clash" "$work/clash.img" 1 2>&1); then
    echo "FAIL: '$pair' gave an image"; exit 1
  fi
  grep -qE "would not tell apart|cannot stand on a FAT floppy" <<<"$out" || { echo "FAIL: '$pair': $out"; exit 1; }
  [[ ! -e $work/clash.img && ! -e $work/clash.img.partial ]] || { echo "FAIL: '$pair' left an image"; exit 1; }
done
echo "ok"
