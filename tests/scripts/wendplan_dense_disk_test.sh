#!/usr/bin/env bash
# wendplan_dense_disk_test.sh WENDPLAN WENDMARK
# Disks planned to the last cluster and to the last root entry go onto real
# 1.44 MB images written by `wendmark --image-from`: it finds room for every
# file, and fsck.fat and mdir find the file system sound and whole. A planner that counted a floppy's room wrongly, by one
# cluster or one entry, fails here rather than on someone's floppy.
# Exit status 77 (skipped) when mtools is missing.
set -euo pipefail
wendplan=$1 wendmark=$2
for tool in mdir; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is missing"; exit 77; }
done
command -v fsck.fat >/dev/null || { echo "FAIL: fsck.fat (dosfstools) is missing"; exit 1; }
export MTOOLS_SKIP_CHECK=1 MTOOLSRC=/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# file NAME CLUSTERS: a file that takes CLUSTERS clusters of 512 bytes, its
# last one partly used.
file() { printf "%*s" $(($2 * 512 - 511 + ($2 * 37 + ${#1}) % 511)) "" >"$work/$set/$1"; }

# plan SET: plans the folder, each file's entry being its name.
plan() {
  "$wendplan" "$work/$1" -o "$work/$1.ini" --name Dense --entry-prefix '' >"$work/$1.log" ||
    { echo "FAIL: wendplan refused $1"; cat "$work/$1.log"; exit 1; }
}

# disk SET N: writes disk N of the plan onto a blank labelled image and
# checks it; prints mdir's free-space line. One disk of each plan is
# enough: both are as full.
disk() {
  local img="$work/$1-$2.img" files=()
  mapfile -t files < <(tr -d '\r' <"$work/$1.ini" |
    awk -v want="[Disk$2]" '/^\[/ { on = ($0 == want) } on && /^File[0-9]+=/ { sub(/^[^=]*=/, ""); print }')
  ((${#files[@]} > 0)) || { echo "FAIL: $1 has no disk $2"; exit 1; }
  rm -rf "$work/floppy" && mkdir "$work/floppy"
  (cd "$work/$1" && cp -p "${files[@]}" "$work/floppy/")
  "$wendmark" --image-from "$work/floppy" "$img" $(($2 + 1)) >"$work/image.log" 2>&1 ||
    { echo "FAIL: $1 disk $2 (${#files[@]} files) does not fit a floppy"; cat "$work/image.log"; exit 1; }
  fsck.fat -n "$img" >"$work/fsck.log" || { echo "FAIL: fsck.fat on $1 disk $2"; cat "$work/fsck.log"; exit 1; }
  local copied
  copied=$(mdir -b -i "$img" :: | wc -l)
  ((copied == ${#files[@]})) || { echo "FAIL: $1 disk $2 holds $copied of ${#files[@]} files"; exit 1; }
  mdir -i "$img" :: | grep 'bytes free'
}

# Two disks' worth of clusters to the cluster: SETUP.EXE and two cabinets
# open the disks, long-named help pages and small files fill them, and
# one-cluster files take up the last clusters. Two disks hold it only when
# both are full.
set=clusters
mkdir "$work/$set"
file SETUP.EXE 59
file SUITE1.CAB 1500
file SUITE2.CAB 1400
for i in $(seq 10 59); do file "Help page $i.htm" 40; done
for i in $(seq 10 44); do file "RES$i.DLL" 20; done
for i in $(seq 10 44); do file "STR$i.TXT" 1; done
plan $set
grep -q '^2 disks ' "$work/$set.log" || { echo "FAIL: not two disks"; cat "$work/$set.log"; exit 1; }
[[ $(grep -c '2,847 of 2,847 clusters' "$work/$set.log") == 2 ]] ||
  { echo "FAIL: the disks are not full"; cat "$work/$set.log"; exit 1; }
free=$(disk $set 0)
[[ $free =~ [[:space:]]0\ bytes\ free ]] || { echo "FAIL: $set disk 0: $free"; exit 1; }

# Two disks' worth of root entries to the entry: plain names take one each,
# names of 13 characters two; the volume label takes the 224th.
set=entries
mkdir "$work/$set"
for i in $(seq 100 399); do file "F$i.DAT" 1; done
for i in $(seq 1000 1072); do file "page$i.html" 1; done
plan $set
[[ $(grep -c ' 223 of 223 root entries' "$work/$set.log") == 2 ]] ||
  { echo "FAIL: the root directories are not full"; cat "$work/$set.log"; exit 1; }
disk $set 1 >/dev/null
echo "ok"
