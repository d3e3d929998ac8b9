#!/usr/bin/env bash
# floppy_image_test.sh FLOPPY_IMAGE_SCRIPT
# Two images of one folder, made at different moments, are byte-identical,
# and every file comes back out of the image byte for byte with its
# last-write time (FAT keeps it to two seconds).
set -euo pipefail
script=$1
for tool in mformat mcopy fsck.fat; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is missing"; exit 0; }
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

"$script" "$work/disk" "$work/one.img" 3 >"$work/log"
sleep 2
"$script" "$work/disk" "$work/two.img" 3 >>"$work/log"
cmp "$work/one.img" "$work/two.img" || { echo "FAIL: two runs gave different images"; exit 1; }
[[ $(stat -c %s "$work/one.img") == 1474560 ]] || { echo "FAIL: not a 1.44 MB image"; exit 1; }
grep -q 'Volume in drive : is DISK3' "$work/log" || { echo "FAIL: label"; cat "$work/log"; exit 1; }

MTOOLS_SKIP_CHECK=1 TZ=UTC mcopy -m -i "$work/one.img" '::/*' "$work/back/"
for f in "$work"/disk/*; do
  name=$(basename "$f")
  cmp "$f" "$work/back/$name" || { echo "FAIL: $name differs"; exit 1; }
  delta=$(($(stat -c %Y "$f") - $(stat -c %Y "$work/back/$name")))
  ((delta >= 0 && delta < 2)) || { echo "FAIL: $name time off by $delta s"; exit 1; }
done
[[ $(ls "$work/back" | wc -l) == 4 ]] || { echo "FAIL: other files came back"; exit 1; }

# A file too large for the floppy fails and leaves no image behind.
mkdir "$work/big"
head -c 1500000 /dev/zero >"$work/big/HUGE.BIN"
if "$script" "$work/big" "$work/big.img" 1 >/dev/null 2>&1; then echo "FAIL: an overfull disk passed"; exit 1; fi
[[ ! -e $work/big.img && ! -e $work/big.img.partial ]] || { echo "FAIL: an image was left behind"; exit 1; }
echo "ok"
