#!/usr/bin/env bash
# wendmark_test.sh SOURCE_DIR WENDMARK WENDPLAN
# wendmark writes a product's floppy images natively, with no disk tool of
# its own on PATH: each passes fsck.fat,
# an independent FAT reader (7-Zip) gives back every setup file byte for
# byte with its last-write time, and each image is byte-identical to what
# `wendmark --image-from` (the Wine run's rule) makes of the same folder.
# Images that are there already are judged as floppies; --image-from
# replaces only its own or a blank one; without a terminal the first
# failure stops the run with status 1 and leaves no partial image; a wrong
# command line is status 2.
# Exits 77 (skipped) only when a disk tool is missing.
set -uo pipefail
src=${1:?source folder} wendmark=${2:?wendmark} wendplan=${3:?wendplan}
sevenzip=$(command -v 7zz || command -v 7z || true)
for tool in mformat mcopy mdir minfo fsck.fat "$sevenzip"; do
  [[ -n $tool ]] && command -v "$tool" >/dev/null || { echo "skipped: ${tool:-7zz or 7z} is missing (scripts/setup-deps.sh installs it)"; exit 77; }
done
# Names outside ASCII are UTF-8 here, as Debian names files; both image
# makers are run in the same locale.
export LC_ALL=C.UTF-8 TZ=UTC
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TMPDIR=$work/tmp  # wendmark leaves nothing of its own here
mkdir "$TMPDIR"
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
# expect STATUS NAME COMMAND...: runs COMMAND without a terminal; its
# stderr is left in $work/err.
expect() {
  local want=$1 name=$2 rc=0
  shift 2
  "$@" </dev/null >"$work/out" 2>"$work/err" || rc=$?
  ((rc == want)) || { fail "$name: status $rc, not $want"; sed 's/^/    /' "$work/err"; }
  [[ -z $(ls -A "$TMPDIR") ]] || { fail "$name: left in TMPDIR: $(ls "$TMPDIR")"; rm -rf "${TMPDIR:?}"/*; }
}
said() {  # said NAME LINE: stderr holds LINE as a whole line, once
  local n
  n=$(grep -cxF -- "$2" "$work/err")
  ((n == 1)) || { fail "$1: said \"$2\" $n times"; sed 's/^/    /' "$work/err"; }
}
no_partial() {  # no_partial NAME DIR
  local left
  left=$(find "$2" -name '*.partial')
  [[ -z $left ]] || fail "$1: partial image left: $left"
}
caption="Tandrel's disk maker"

# --- a product of odd names, planned by wendplan
kit=$work/kit
mkdir -p "$kit/setup/sub/more" "$kit/setup/Dir With Spaces" "$kit/tools"
head -c 5000 /dev/urandom >"$kit/setup/SETUP.EXE"
head -c 777 /dev/urandom >"$kit/setup/Read Me First.txt"
head -c 1300 /dev/urandom >"$kit/setup/my.setup.notes.v2.txt"
head -c 513 /dev/urandom >"$kit/setup/MixedCase.Dat"
printf 'menu\r\n' >"$kit/setup/Café Menu.txt"
: >"$kit/setup/empty.dat"
head -c 300000 /dev/urandom >"$kit/setup/sub/Deep Name With Spaces.cab"
head -c 70000 /dev/urandom >"$kit/setup/sub/more/LEAF.BIN"
head -c 4096 /dev/urandom >"$kit/setup/Dir With Spaces/x.y.z"
head -c 1457664 /dev/urandom >"$kit/setup/WHOLE.BIN"  # a floppy's whole data area
touch -d '2019-06-01 12:00:03' "$kit/setup/SETUP.EXE"
touch -d '2020-02-29 23:59:59' "$kit/setup/Read Me First.txt" "$kit/setup/sub/more/LEAF.BIN"
touch -d '1999-12-31 08:15:00' "$kit/setup/empty.dat"
touch -d '2024-07-14 10:11:12.7' "$kit/setup/Café Menu.txt" "$kit/setup/WHOLE.BIN"
"$wendplan" "$kit/setup" -o "$kit/tools/packlist.ini" --name "Odd Names Suite" >"$work/plan" 2>&1 ||
  { cat "$work/plan"; echo "FAIL: wendplan"; exit 1; }
disks=$(sed -n 's/^Number=\([0-9]*\).*/\1/p' "$kit/tools/packlist.ini" | tr -d '\r')

out=$work/out-images
expect 0 "writing the images" "$wendmark" "$kit/tools/packlist.ini" --images "$out" --no-prompt
found=0
for n in $(seq 1 "$disks"); do
  image=$out/disk$n.img
  [[ $(stat -c %s "$image" 2>/dev/null) == 1474560 ]] || { fail "disk$n.img is not a 1.44 MB image"; continue; }
  fsck.fat -n "$image" >/dev/null || fail "fsck.fat finds faults in disk$n.img"
  back=$work/back/$n flat=$work/flat/$n
  mkdir -p "$back" "$flat"
  "$sevenzip" x -y -o"$back" "$image" >/dev/null || fail "7-Zip cannot read disk$n.img"
  for f in "$back"/*; do
    [[ -e $f ]] || continue
    name=$(basename "$f")
    setup=$(find "$kit/setup" -type f -name "$name")
    [[ -n $setup ]] || { fail "disk $n holds $name, which is no setup file"; continue; }
    cmp -s "$f" "$setup" || fail "disk $n: $name differs from its setup file"
    # FAT keeps two seconds: an odd second or a fraction goes up to the next even one.
    delta=$(($(stat -c %Y "$setup") - $(stat -c %Y "$f")))
    ((delta <= 0 && delta >= -2)) || fail "disk $n: $name has a last-write time $delta s off"
    [[ $name != WHOLE.BIN || $(ls "$back" | wc -l) == 1 ]] || fail "WHOLE.BIN shares its disk"
    cp -p "$setup" "$flat/"  # the folder the Wine run leaves for this disk
    found=$((found + 1))
  done
  # One image rule: the folder the Wine run leaves for this disk gives the same bytes.
  "$wendmark" --image-from "$flat" "$work/from$n.img" "$n" >/dev/null || fail "--image-from on disk $n"
  cmp -s "$work/from$n.img" "$image" || fail "disk$n.img differs from --image-from's image of the same files"
done
((found == $(find "$kit/setup" -type f | wc -l))) || fail "$found files came back, not every setup file"
no_partial "writing the images" "$out"

# --- names outside ASCII and times a floppy cannot hold, written with no
# mtools or dosfstools on PATH: each name comes back as the setup file's
# through mdir and 7-Zip, each file byte for byte with its time.
nobin=$work/nobin
mkdir -p "$nobin"
IFS=: read -ra dirs <<<"$PATH"
for d in "${dirs[@]}"; do
  for c in "$d"/*; do
    n=${c##*/}
    [[ -x $c && ! -e $nobin/$n && $n != m* && $n != fsck* && $n != mkfs* && $n != *dosfs* ]] && ln -s "$c" "$nobin/$n"
  done
done
# names CP: the setup folder (host names in UTF-8) written with code page CP;
# checks every image and leaves wendmark's stdout in $work/names.out.
names() {
  local cp=$1 set=$work/names$1 n f name setup back
  "$wendplan" "$set/setup" -o "$set/tools/packlist.ini" --name Names --codepage "$cp" >"$work/plan" 2>&1 ||
    { fail "wendplan on the names of code page $cp"; cat "$work/plan"; return; }
  PATH=$nobin expect 0 "names in code page $cp" "$wendmark" "$set/tools/packlist.ini" --images "$set/out" --codepage "$cp" --no-prompt
  cp "$work/out" "$work/names.out"
  for image in "$set"/out/disk*.img; do
    n=${image##*disk}; n=${n%.img}
    fsck.fat -n "$image" >/dev/null || fail "code page $cp: fsck.fat finds faults in disk$n.img"
    diff <(MTOOLS_SKIP_CHECK=1 mdir -b -i "$image" :: | sed 's|^::/||' | sort) \
         <(tr -d '\r' <"$set/tools/packlist.ini" | awk -v want="[Disk$((n - 1))]" '/^\[/ { on = ($0 == want) } on && /^File[0-9]+=/' |
           sed 's/^[^=]*=.*\\//' | iconv -f "CP$cp" -t UTF-8 | sort) >"$work/diff" ||
      { fail "code page $cp: mdir does not list disk $n's names as the setup file's"; cat "$work/diff"; }
    diff <("$sevenzip" l -slt "$image" | sed -n 's/^Path = //p' | grep -vxF "$image" | sort) \
         <(MTOOLS_SKIP_CHECK=1 mdir -b -i "$image" :: | sed 's|^::/||' | sort) >"$work/diff" ||
      { fail "code page $cp: 7-Zip and mdir disagree about disk $n's names"; cat "$work/diff"; }
    back=$set/back$n
    mkdir -p "$back"
    MTOOLS_SKIP_CHECK=1 mcopy -m -i "$image" '::/*' "$back/"
    for f in "$back"/*; do
      name=${f##*/} setup=$set/setup/${f##*/}
      cmp -s "$f" "$setup" || fail "code page $cp: $name differs from its setup file"
      want=$(stat -c %Y "$setup")
      ((want < 315532800)) && want=315532800  # before 1980: where the floppy's calendar begins
      delta=$((want - $(stat -c %Y "$f")))
      ((delta <= 0 && delta >= -2)) || fail "code page $cp: $name has a last-write time $delta s off"
    done
    # The Wine run's rule on the same files gives the same bytes, without mtools too.
    PATH=$nobin "$wendmark" --image-from "$back" "$set/from$n.img" "$n" --codepage "$cp" >/dev/null ||
      fail "code page $cp: --image-from on disk $n"
    cmp -s "$set/from$n.img" "$image" || fail "code page $cp: --image-from's disk $n differs"
  done
}
set1252=$work/names1252/setup
mkdir -p "$set1252" "$work/names1252/tools"
for name in œ.txt o.txt €uro.txt ™.txt übung.dat café.txt cafe.txt 'Café Menu.txt' Größe.dat readme.txt OLD1970.TXT OLD1975.TXT; do
  head -c $((${#name} * 97)) /dev/urandom >"$set1252/$name"
done
touch -d '2001-02-03 04:05:06' "$set1252"/*
touch -d '1970-01-01 00:00:01' "$set1252/OLD1970.TXT"
touch -d '1975-06-15 12:00:00' "$set1252/OLD1975.TXT"
names 1252
grep -qxF "disk 1: a floppy holds times from 1980-01-01 00:00:00 to 2107-12-31 23:59:58 only; moved to the nearer one: OLD1970.TXT (1970-01-01 00:00:01), OLD1975.TXT (1975-06-15 12:00:00)" "$work/names.out" ||
  { fail "the moved times are not named"; cat "$work/names.out"; }
mkdir -p "$work/names1251/setup" "$work/names1251/tools"
for name in Привет.txt файл.dat Файл2.dat Ёлка.ini; do printf '%s\r\n' "$name" >"$work/names1251/setup/$name"; done
names 1251

# --- images that are there already are floppies in the drive
mkdir -p "$work/used" "$work/zeros" "$work/small" "$work/blank"
cp "$out/disk1.img" "$work/used/disk1.img"
expect 1 "a used image" "$wendmark" "$kit/tools/packlist.ini" --images "$work/used" --disks 1 --no-prompt
said "a used image" "$caption: The destination disk is not blank."
cmp -s "$out/disk1.img" "$work/used/disk1.img" || fail "a used image was changed"
head -c 1474560 /dev/zero >"$work/zeros/disk1.img"
expect 1 "an image of zeros" "$wendmark" "$kit/tools/packlist.ini" --images "$work/zeros" --disks 1 --no-prompt
said "an image of zeros" "$caption: There was an unexpected general error while trying to get information about the destination drive"
[[ -z $(tr -d '\0' <"$work/zeros/disk1.img") ]] || fail "an image of zeros was changed"
MTOOLS_SKIP_CHECK=1 mformat -C -i "$work/small/disk1.img" -f 720 ::
expect 1 "a 720 KB image" "$wendmark" "$kit/tools/packlist.ini" --images "$work/small" --disks 1
said "a 720 KB image" "$caption: The destination disk does not have the capacity to build an installation disk.  Either the floppy drive selected is not a 1.44MB or greater drive, or the floppy disk has bad sectors."
no_partial "refused images" "$work"
MTOOLS_SKIP_CHECK=1 mformat -C -i "$work/blank/disk2.img" -f 1440 ::
expect 0 "a blank image" "$wendmark" "$kit/tools/packlist.ini" --images "$work/blank" --disks 2 --no-prompt
cmp -s "$out/disk2.img" "$work/blank/disk2.img" || fail "a blank image was not written as disk 2"
[[ ! -e $work/blank/disk1.img ]] || fail "--disks 2 wrote disk 1"
# A floppy with one cluster in use passes as blank, and keeps what it holds
# (disk 1: the whole data area goes to the disk of its own).
[[ -e $work/back/1/WHOLE.BIN ]] && fail "disk 1 is the full disk"
mkdir -p "$work/kept"
printf 'keep me\r\n' >"$work/KEEP.TXT"
MTOOLS_SKIP_CHECK=1 mformat -C -i "$work/kept/disk1.img" -f 1440 ::
MTOOLS_SKIP_CHECK=1 mcopy -i "$work/kept/disk1.img" "$work/KEEP.TXT" ::/
expect 0 "an image with one cluster in use" "$wendmark" "$kit/tools/packlist.ini" --images "$work/kept" --disks 1
MTOOLS_SKIP_CHECK=1 mtype -i "$work/kept/disk1.img" ::/KEEP.TXT | cmp -s - "$work/KEEP.TXT" || fail "the file on a used floppy was lost"
[[ $(MTOOLS_SKIP_CHECK=1 mdir -b -i "$work/kept/disk1.img" :: | wc -l) == $(($(ls "$work/back/1" | wc -l) + 1)) ]] ||
  fail "the image with one cluster in use does not hold its file and disk 1's"

# --- --image-from replaces an image it made (any disk's) or a blank one;
# anything else is judged as --images judges it, refused, and left as it is
over=$work/over
mkdir -p "$over/disk"
printf 'one\r\n' >"$over/disk/ONE.TXT"
"$wendmark" --image-from "$over/disk" "$over/fresh.img" 3 >/dev/null || fail "--image-from into a new image"
printf 'my notes\n' >"$over/notes.img"
MTOOLS_SKIP_CHECK=1 mformat -C -i "$over/foreign.img" -f 1440 -v DISK3 ::  # our label, not our serial
MTOOLS_SKIP_CHECK=1 mcopy -i "$over/foreign.img" "$work/KEEP.TXT" ::/      # one cluster: a floppy --images takes
cp "$out/disk1.img" "$over/own.img"                                        # disk 1's, holding its files
MTOOLS_SKIP_CHECK=1 mformat -C -i "$over/blank.img" -f 1440 ::
for case in "notes 1 There was an unexpected general error while trying to get information about the destination drive" \
            "foreign 1 The destination disk is not blank." "own 0" "blank 0"; do
  read -r name want text <<<"$case"
  cp "$over/$name.img" "$over/$name.before"
  expect "$want" "--image-from over the $name image" "$wendmark" --image-from "$over/disk" "$over/$name.img" 3
  if ((want == 0)); then
    cmp -s "$over/$name.img" "$over/fresh.img" || fail "--image-from over the $name image did not write disk 3"
  else
    said "--image-from over the $name image" "$caption: $text"
    said "--image-from over the $name image" "wendmark: disk 3 not written ($over/$name.img)$( [[ $name == notes ]] && echo ": $over/notes.img: too short for a boot sector (9 bytes)")"
    cmp -s "$over/$name.img" "$over/$name.before" || fail "--image-from changed the $name image it refused"
  fi
done
no_partial "--image-from over images" "$over"

# --- the first failure stops the run: status 1, no partial image
hand=$work/hand/tools
mkdir -p "$hand" "$work/hand/files"
head -c 1000000 /dev/urandom >"$work/hand/files/BIG1.CAB"
head -c 1000000 /dev/urandom >"$work/hand/files/BIG2.CAB"
printf 'x' >"$work/hand/files/SMALL.TXT"
printf '[Global]\r\nName=Hand Made\r\n[Disk0]\r\nFile0=..\\files\\SMALL.TXT\r\nFiles=1\r\n[Disk1]\r\nFile0=..\\files\\GONE.TXT\r\nFile1=..\\files\\SMALL.TXT\r\nFiles=2\r\n[Disk2]\r\nFile0=..\\files\\BIG1.CAB\r\nFile1=..\\files\\BIG2.CAB\r\nFiles=2\r\n[Disks]\r\nNumber=3\r\n' >"$hand/packlist.ini"
for mode in --no-prompt ""; do  # asked not to prompt, or no terminal to prompt on
  rm -rf "$work/stop"
  (cd "$hand" && expect 1 "a missing file ($mode)" "$wendmark" --images "$work/stop" $mode)
  said "a missing file ($mode)" "$caption: Unable to find a file to be copied to the floppy disk."
  [[ -f $work/stop/disk1.img && ! -e $work/stop/disk2.img && ! -e $work/stop/disk3.img ]] ||
    fail "a missing file ($mode): not exactly disk 1 written: $(ls "$work/stop")"
  no_partial "a missing file ($mode)" "$work/stop"
done
expect 1 "an overfull disk" "$wendmark" "$hand/packlist.ini" --images "$work/full" --disks 3
said "an overfull disk" "$caption: The disk is full.  Please check that you use only blank, formatted disks."
[[ -z $(ls -A "$work/full") ]] || fail "an overfull disk left $(ls "$work/full")"
# A full host disk is the host's failure, told in its words, not a full
# floppy: the image's partial file leads to /dev/full, where every write
# fails with ENOSPC.
mkdir -p "$work/hostfull"
ln -s /dev/full "$work/hostfull/disk1.img.partial"
expect 1 "a full host disk" "$wendmark" "$hand/packlist.ini" --images "$work/hostfull" --disks 1
said "a full host disk" "wendmark: disk 1 not written ($work/hostfull/disk1.img): cannot write $work/hostfull/disk1.img: No space left on device"
grep -q "The disk is full" "$work/err" && fail "a full host disk was reported as a full floppy"
[[ -z $(ls -A "$work/hostfull") ]] || fail "a full host disk left $(ls "$work/hostfull")"
mkdir -p "$work/nested/sub"
: >"$work/nested/sub/A.TXT"
expect 1 "--image-from a folder with a folder" "$wendmark" --image-from "$work/nested" "$work/nested.img" 1
[[ ! -e $work/nested.img && ! -e $work/nested.img.partial ]] || fail "--image-from left an image of a folder with a folder"

# --- on a terminal the engine's questions are asked there (util-linux script gives one)
if command -v script >/dev/null; then
  rm -rf "$work/asked"
  rc=0
  printf 'i\n' | (cd "$hand" && script -qec "$(printf '%q ' "$wendmark" --images "$work/asked" --disks 1,2)" /dev/null) \
    >"$work/err" 2>&1 || rc=$?
  ((rc == 0)) || fail "Ignore on a terminal: status $rc"
  grep -qF "[A]bort / [R]etry / [I]gnore: " "$work/err" || fail "the terminal was not asked Abort/Retry/Ignore"
  grep -qF "Press Ignore to skip the problem file and go to the next file." "$work/err" || fail "the question lost its text"
  [[ -f $work/asked/disk2.img ]] || fail "Ignore did not go on to write disk 2"
fi

# --- a wrong command line or description: status 2, one line
expect 2 "--disks beyond the description" "$wendmark" "$hand/packlist.ini" --images "$work/bad" --disks 1,4
said "--disks beyond the description" "wendmark: --disks names disk 4, but $hand/packlist.ini describes disks 1 to 3"
expect 2 "--disks 0" "$wendmark" "$hand/packlist.ini" --images "$work/bad" --disks 0
expect 2 "no --images" "$wendmark" "$hand/packlist.ini"
expect 2 "no description" "$wendmark" "$work/none.ini" --images "$work/bad"
printf '[Disks]\r\nNumber=1\r\n' >"$work/noname.ini"
expect 2 "a description without a name" "$wendmark" "$work/noname.ini" --images "$work/bad"
[[ ! -e $work/bad ]] || fail "a refused run made its output folder"
expect 0 "--help" "$wendmark" --help
grep -q "^Exit status: 0 every selected disk was written; 1 " "$work/out" || fail "--help does not give the exit statuses"
expect 0 "--version" "$wendmark" --version

if ((failures > 0)); then
  echo "$failures failures"
  exit 1
fi
echo "ok"
