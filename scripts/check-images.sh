#!/usr/bin/env bash
# usage: check-images.sh NAME ENTRIES IMAGES LOGS
#
# The main job's check of the floppy images it wrote, with readers we did
# not write: mtools (mdir lists the names, mcopy copies every file back),
# 7-Zip (7zz l -slt lists the names, sizes and times) and fsck.fat -n. Each
# must see every file under the name Windows shows for it, the same bytes as
# its setup file and its last-write time as a floppy holds it.
#
# ENTRIES is what `wendmark --list-disks` prints (disk, name on the floppy,
# setup file; a tab between them), IMAGES the folder of disk<N>.img, LOGS
# where the readers' output goes. NAME starts every reason on standard error,
# as the person ran the job. Standard output gets, disk after disk,
# "disk", N and "COUNT files, BYTES bytes" (a tab between them), then "times" and a
# tab before each sentence that names the files whose times lay outside a
# floppy's calendar, and where they were moved to.
#
# Exit status: 0 every image checks, 1 one does not (the reason is given).
set -euo pipefail
me=$1 entries=$2 images=$3 logs=$4
# fsck.fat lives in sbin, which is not on a person's PATH on Debian.
PATH=$PATH:/usr/sbin:/sbin
die() {
  echo "$me: $*" >&2
  exit 1
}

# The readers give long names in the locale's encoding (UTF-8, as the setup
# files are named) and the times a floppy holds as they stand: we write
# them in UTC.
readers=(env LC_ALL=C.UTF-8 TZ=UTC MTOOLS_SKIP_CHECK=1 MTOOLSRC=/dev/null)
first_fat=315532800 last_fat=4354819198  # 1980-01-01 00:00:00 and 2107-12-31 23:59:58 UTC
# mcopy -m (mtools 4.0.32) counts 2100 as a leap year: a time from
# 2100-03-01 on comes back one day late, though mdir shows it right. Times
# from there on are taken one day back; 7-Zip reads them right.
mtools_leap_day=$((4107542400 + 86400))  # 2100-03-01 00:00:00 UTC, as mcopy gives it
# The last-write time a floppy holds for FILE, in seconds since 1970 UTC,
# then "earlier" or "later" when FILE's own lies outside the floppy's
# calendar and was moved to its nearer end. Inside it, an odd second or a
# fraction goes up to the next even second, as Windows NT stores it, so a
# copy never looks older than its source.
floppy_time() {  # FILE
  local t seconds fraction
  t=$(stat -c %.7Y "$1")
  seconds=${t%.*} fraction=${t#*.}
  if [[ $seconds == -* ]] || ((seconds < first_fat)); then
    echo "$first_fat earlier"
  elif ((seconds > last_fat)) || { ((seconds == last_fat)) && [[ $fraction =~ [1-9] ]]; }; then
    echo "$last_fat later"
  elif ((seconds % 2)); then
    echo $((seconds + 1))
  elif [[ $fraction =~ [1-9] ]]; then
    echo $((seconds + 2))
  else
    echo "$seconds"
  fi
}
# Every file 7-Zip finds on IMAGE: name, size and last-write time, a tab
# between them.
sevenzip_files() {  # IMAGE
  "${readers[@]}" 7zz l -slt -ba "$1" | awk -F ' = ' '
    /^Path = / { path = substr($0, 8); folder = ""; size = ""; modified = "" }
    /^Folder = / { folder = $2 }
    /^Size = / { size = $2 }
    /^Modified = / { modified = $2 }
    /^$/ && path != "" { if (folder != "+") print path "\t" size "\t" modified; path = "" }
    END { if (path != "" && folder != "+") print path "\t" size "\t" modified }'
}
# The names a reader lists against those the setup files have on disk N
# (both sorted); any name one side has and the other lacks fails the check.
names_agree() {  # N READER LISTED WANTED
  local unknown lacking
  unknown=$(LC_ALL=C comm -23 "$3" "$4" | paste -sd '|' | sed 's/|/, /g')
  lacking=$(LC_ALL=C comm -13 "$3" "$4" | paste -sd '|' | sed 's/|/, /g')
  [[ -n $unknown || -n $lacking ]] || return 0
  die "disk $1: $2 does not list the names the setup files have:${unknown:+ it lists $unknown, which none has;}${lacking:+ it lacks $lacking}"
}

check_root=$(mktemp -d "$images/.check.XXXXXX")
trap 'rm -rf "$check_root"' EXIT
earlier=() later=()
disks=$(tail -n 1 "$entries" | cut -f1)
for n in $(seq 1 "$disks"); do
  image=$images/disk$n.img
  [[ -f $image ]] || die "disk $n was never written"
  check=$check_root/disk$n
  mkdir -p "$check"
  "${readers[@]}" mcopy -m -n -i "$image" '::/*' "$check/" >"$logs/check-disk$n.log" 2>&1 ||
    { cat "$logs/check-disk$n.log" >&2; die "disk$n.img cannot be read back"; }
  awk -F '\t' -v n="$n" '$1 == n { print $2 "\t" $3 }' "$entries" >"$check_root/entries"
  cut -f1 "$check_root/entries" | LC_ALL=C sort >"$check_root/wanted"
  "${readers[@]}" mdir -b -i "$image" :: 2>"$logs/mdir-disk$n.log" | sed 's|^::/||' | LC_ALL=C sort >"$check_root/mdir" ||
    { cat "$logs/mdir-disk$n.log" >&2; die "mdir cannot list disk$n.img"; }
  names_agree "$n" mdir "$check_root/mdir" "$check_root/wanted"
  sevenzip_files "$image" 2>"$logs/7zz-disk$n.log" >"$check_root/7zz" ||
    { cat "$logs/7zz-disk$n.log" >&2; die "7-Zip cannot list disk$n.img"; }
  cut -f1 "$check_root/7zz" | LC_ALL=C sort >"$check_root/7zz-names"
  names_agree "$n" 7-Zip "$check_root/7zz-names" "$check_root/wanted"
  declare -A sevenzip=()
  while IFS=$'\t' read -r listed size modified; do sevenzip[$listed]="$size $modified"; done <"$check_root/7zz"
  count=0 bytes=0
  while IFS=$'\t' read -r base src; do
    f=$check/$base
    [[ -f $f ]] || die "disk $n lacks $base, which packlist.ini puts there"
    cmp -s "$f" "$src" || die "disk $n: $base differs from its setup file"
    read -r want when < <(floppy_time "$src")
    wanted_time=$(date -u -d "@$want" '+%F %T')
    got=$(stat -c %Y "$f")
    ((got < mtools_leap_day)) || got=$((got - 86400))
    [[ $got == "$want" ]] ||
      die "disk $n: $base has another last-write time than its setup file ($(date -u -d "@$got" '+%F %T') on the floppy, $wanted_time wanted)"
    size=$(stat -c %s "$src")
    [[ ${sevenzip[$base]-nothing} == "$size $wanted_time" ]] ||
      die "disk $n: 7-Zip sees $base as ${sevenzip[$base]-nothing} (size, time), and its setup file is $size bytes of $wanted_time"
    case $when in
      earlier) earlier+=("$base") ;;
      later) later+=("$base") ;;
    esac
    count=$((count + 1)) bytes=$((bytes + size))
  done <"$check_root/entries"
  unset sevenzip
  held=$(find "$check" -type f | wc -l)
  ((held == count)) || die "disk $n holds $held files, and packlist.ini puts $count there"
  fsck.fat -n "$image" >"$logs/fsck-disk$n.log" 2>&1 ||
    { cat "$logs/fsck-disk$n.log" >&2; die "fsck.fat finds faults in disk$n.img"; }
  files_word=files
  ((count != 1)) || files_word=file
  printf 'disk\t%s\t%s\n' "$n" "$count $files_word, $bytes bytes"
done
moved_line() {  # WHEN DATED NAME...
  local when=$1 dated=$2 verb=are noun=files names
  shift 2
  (($# > 0)) || return 0
  (($# != 1)) || verb=is noun=file
  names=$(printf '%s, ' "$@")
  printf 'times\t%s\n' "$# $noun $when $verb dated $dated on the floppies: ${names%, }"
}
moved_line "older than 1980" "1980-01-01 00:00:00" "${earlier[@]}"
moved_line "later than 2107-12-31 23:59:58" "2107-12-31 23:59:58" "${later[@]}"
