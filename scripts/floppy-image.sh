#!/usr/bin/env bash
# floppy-image.sh FOLDER IMAGE DISK_NUMBER [SERIAL]
#
# Writes the files at FOLDER's top level onto a blank 1.44 MB FAT12 image,
# labelled DISK<DISK_NUMBER>, with their last-write times, then checks it
# with fsck.fat -n and lists it with mdir. The same folder always gives the
# same bytes: the serial number is fixed (SERIAL, eight hex digits, by
# default 7A4D00nn with nn the disk number), the files go on in byte-wise
# order of their names, times are kept in UTC, and the one time mformat
# would take from the clock (the volume label's) is the newest file's.
#
# Sourcing this file only defines floppy_image with the same arguments.

floppy_image() (
  set -euo pipefail
  if [[ $# -lt 3 || $# -gt 4 ]]; then
    echo "usage: floppy-image.sh FOLDER IMAGE DISK_NUMBER [SERIAL]" >&2
    return 2
  fi
  local folder=$1 image=$2 number=$3
  local serial=${4:-$(printf '7A4D%04X' "$number")}
  [[ -d $folder ]] || { echo "floppy-image: no folder $folder" >&2; return 1; }
  for tool in mformat mcopy mdir fsck.fat; do
    command -v "$tool" >/dev/null || { echo "floppy-image: $tool is missing (scripts/setup-deps.sh installs it)" >&2; return 1; }
  done

  local -a files=()
  local name newest=315532800  # 1980-01-01, where FAT's calendar begins
  while IFS= read -r -d '' name; do
    if [[ -d $folder/$name || ! -f $folder/$name ]]; then
      echo "floppy-image: a floppy is flat, $folder/$name is not a plain file" >&2
      return 1
    fi
    files+=("$folder/$name")
    local t
    t=$(stat -c %Y "$folder/$name")
    if ((t > newest)); then newest=$t; fi
  done < <(cd "$folder" && find . -mindepth 1 -maxdepth 1 -printf '%P\0' | LC_ALL=C sort -z)
  local clash
  clash=$(for f in "${files[@]}"; do basename "$f"; done | tr '[:lower:]' '[:upper:]' | LC_ALL=C sort | uniq -d)
  if [[ -n $clash ]]; then
    echo "floppy-image: names FAT would not tell apart in $folder: $clash" >&2
    return 1
  fi

  export TZ=UTC SOURCE_DATE_EPOCH=$newest MTOOLS_SKIP_CHECK=1 MTOOLSRC=/dev/null
  local partial=$image.partial
  rm -f "$partial"
  mformat -C -i "$partial" -f 1440 -v "DISK$number" -N "$serial" ::
  if ((${#files[@]} > 0)); then
    if ! mcopy -m -i "$partial" "${files[@]}" ::/; then
      rm -f "$partial"
      echo "floppy-image: the files of $folder do not fit a 1.44 MB floppy" >&2
      return 1
    fi
  fi
  local check
  if ! check=$(fsck.fat -n "$partial" 2>&1); then
    rm -f "$partial"
    echo "$check" >&2
    echo "floppy-image: fsck.fat found faults in the image of $folder" >&2
    return 1
  fi
  mv -f "$partial" "$image"
  echo "${check//"$partial"/"$image"}"
  mdir -i "$image" ::
)

if [[ ${BASH_SOURCE[0]} == "$0" ]]; then
  floppy_image "$@"
fi
