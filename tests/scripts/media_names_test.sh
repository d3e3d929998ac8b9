#!/usr/bin/env bash
# media_names_test.sh SOURCE_DIR NATIVE_BUILD WIN32_BUILD
# The main job with names outside ASCII and times a floppy cannot hold, read
# back by readers we did not write: mdir and 7-Zip must list every file under
# the name Windows shows for it in the kit's code page, mcopy must copy each
# back with its bytes and its time, and fsck.fat must find nothing wrong.
# And a writer that dates or names one file wrong must fail the main job's
# own check. The builds are taken as they are (cmake has nothing to do), as
# in media_runs_test.sh.
set -uo pipefail
# shellcheck source=main_job_tree.sh
. "$(dirname "$0")/main_job_tree.sh"
for tool in mdir mcopy mren 7zz; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: skipped"; exit 77; }
done
export PATH=$PATH:/usr/sbin:/sbin
command -v fsck.fat >/dev/null || { echo "fsck.fat is missing: skipped"; exit 77; }
readers=(env LC_ALL=C.UTF-8 TZ=UTC MTOOLS_SKIP_CHECK=1 MTOOLSRC=/dev/null)

# Products: one file per name, each of its own size, all dated 2020-02-02
# 12:00:00 UTC but those given after -- as NAME@TIME.
make_product() {  # DIR NAME... [-- NAME@TIME...]
  local dir=$1 size=100 item dated=0
  shift
  mkdir -p "$dir"
  for item; do
    if [[ $item == -- ]]; then dated=1; continue; fi
    local file=${item%@*}
    head -c "$size" /dev/urandom >"$dir/$file"
    size=$((size + 37))
    if ((dated)); then
      touch -d "${item#*@} UTC" "$dir/$file"
    else
      touch -d '2020-02-02 12:00:00 UTC' "$dir/$file"
    fi
  done
}
western=(SETUP.EXE 'œ.txt' '€uro.txt' '™.txt' 'übung.dat' 'café.txt' 'cafe.txt' 'Café Menu.txt' 'Größe.dat'
         readme.txt 'Ça va.txt')
make_product "$work/western" "${western[@]}"
make_product "$work/cyrillic" SETUP.EXE 'Привет.txt' 'файл.dat' 'ДАННЫЕ.DAT' 'Ёлка и ёж.txt' 'readme.txt'
make_product "$work/dated" SETUP.EXE A.TXT -- 'OLD.TXT@1970-01-01 00:00:00' 'ANCIENT.DAT@1975-06-15 08:30:01' \
  'ODD.TXT@2001-09-09 01:46:41' 'LAST.TXT@2107-12-31 23:59:58' 'FUTURE.TXT@2110-01-01 00:00:00'

# What every image of OUT holds, by each reader: names, then name, bytes'
# checksum (copied back by mcopy) and time (as 7-Zip reads it: mcopy puts
# every time from 2100-03-01 on a day late) of every file.
mdir_names() {  # OUT
  local image
  for image in "$1"/disk*.img; do "${readers[@]}" mdir -b -i "$image" :: | sed 's|^::/||'; done | LC_ALL=C sort
}
sevenzip_names() {  # OUT
  local image
  for image in "$1"/disk*.img; do "${readers[@]}" 7zz l -slt -ba "$image" | sed -n 's/^Path = //p'; done | LC_ALL=C sort
}
copied_back() {  # OUT
  local image back=$work/back
  rm -rf "$back" && mkdir "$back"
  for image in "$1"/disk*.img; do "${readers[@]}" mcopy -m -n -i "$image" '::/*' "$back/"; done
  declare -A times=()
  while IFS=$'\t' read -r f time; do times[$f]=$time; done < <(
    for image in "$1"/disk*.img; do
      "${readers[@]}" 7zz l -slt -ba "$image" | sed -n 's/^Path = //p; s/^Modified = //p' | paste - -
    done)
  (cd "$back" && find . -type f -printf '%f\n' | LC_ALL=C sort | while IFS= read -r f; do
    printf '%s %s %s\n' "$f" "$(sha256sum <"$f" | cut -c1-16)" "${times[$f]-not listed by 7-Zip}"
  done)
}
# What the setup folder should give: every name, its checksum, and its own
# time, or the one the row says a floppy holds for it.
wanted() {  # PRODUCT [NAME=TIME,...]
  local product=$1 dated=",${2:-}," f time
  (cd "$product" && find . -type f -printf '%f\n' | LC_ALL=C sort | while IFS= read -r f; do
    time=$(TZ=UTC date -r "$f" '+%F %T')
    [[ $dated != *",$f="* ]] || { time=${dated#*",$f="}; time=${time%%,*}; }
    printf '%s %s %s\n' "$f" "$(sha256sum <"$f" | cut -c1-16)" "$time"
  done)
}

# code page | product | times on the floppy that are not the file's own | the summary's Times lines
rows=(
  "1252|western||"
  "1251|cyrillic||"
  "1252|dated|OLD.TXT=1980-01-01 00:00:00,ANCIENT.DAT=1980-01-01 00:00:00,ODD.TXT=2001-09-09 01:46:42,FUTURE.TXT=2107-12-31 23:59:58|2 files older than 1980 are dated 1980-01-01 00:00:00 on the floppies: ANCIENT.DAT, OLD.TXT;1 file later than 2107-12-31 23:59:58 is dated 2107-12-31 23:59:58 on the floppies: FUTURE.TXT"
)
for row in "${rows[@]}"; do
  IFS='|' read -r codepage product dated times <<<"$row"
  SCOPED="$product, code page $codepage"
  out=$work/out-$product
  log=$(bash "$tree/scripts/make-media.sh" --product "$work/$product" --name "Names $product" --codepage "$codepage" \
        --out "$out" 2>&1)
  rc=$?
  if ((rc != 0)); then
    fail "$SCOPED: make-media exited $rc: $(tail -n 3 <<<"$log")"
    continue
  fi
  names=$(cd "$work/$product" && find . -type f -printf '%f\n' | LC_ALL=C sort)
  [[ $(mdir_names "$out") == "$names" ]] ||
    fail "$SCOPED: mdir lists other names: $(diff <(echo "$names") <(mdir_names "$out") | grep '^[<>]' | tr '\n' ' ')"
  [[ $(sevenzip_names "$out") == "$names" ]] ||
    fail "$SCOPED: 7-Zip lists other names: $(diff <(echo "$names") <(sevenzip_names "$out") | grep '^[<>]' | tr '\n' ' ')"
  want=$(wanted "$work/$product" "$dated")
  got=$(copied_back "$out" 2>&1)
  [[ $got == "$want" ]] ||
    fail "$SCOPED: the files copied back differ (name, bytes, time): $(diff <(echo "$want") <(echo "$got") | grep '^[<>]' | tr '\n' ' ')"
  for image in "$out"/disk*.img; do
    fsck.fat -n "$image" >/dev/null 2>&1 || fail "$SCOPED: fsck.fat finds faults in $(basename "$image")"
  done
  # The moved files in any order, each line as a set of names.
  sorted_lines() { sed 's/: /:\n/; s/, /\n/g' | LC_ALL=C sort; }
  shown=$(sed -n '/^  Times /,/^  Images /p' <<<"$log" | sed '$d; s/^  Times  *//; s/^  *//' | sorted_lines)
  [[ $shown == "$(tr ';' '\n' <<<"$times" | sed '/^$/d' | sorted_lines)" ]] ||
    fail "$SCOPED: the summary tells of moved times as '$(sed -n '/^  Times /,/^  Images /p' <<<"$log")'"
done

# A code page the tools do not know is refused with their reason, and the
# --out folder the run would have made is not left behind.
err=$(bash "$tree/scripts/make-media.sh" --product "$work/western" --name X --codepage 1258 --out "$work/out-1258" 2>&1 >/dev/null)
rc=$?
[[ $rc == 2 ]] || fail "--codepage 1258: exit status $rc, not 2 ($err)"
[[ $err == *"code page 1258 is not supported"* ]] || fail "--codepage 1258: not the tools' reason: $err"
[[ ! -e $work/out-1258 ]] || fail "--codepage 1258: the refused run left its --out folder"

# A writer that gets one file wrong: the main job's check must fail, name
# the file, and put nothing in place. The tree's wendmark writes the images
# and then spoils them the way FAULT says; its other modes it leaves alone.
faulty=$work/faulty
mkdir -p "$faulty/build/native/bin"
for part in scripts samples tests; do ln -s "$src/$part" "$faulty/$part"; done
ln -s "$win32" "$faulty/build/win32"
ln -s "$native/bin/wendplan" "$native/bin/kivopack" "$faulty/build/native/bin/"
make_product "$work/spoiled" SETUP.EXE A.TXT 'Read Me.txt'
# A.TXT's own bytes, two seconds later than the setup file.
mkdir "$work/later" && cp "$work/spoiled/A.TXT" "$work/later/A.TXT"
touch -d '2020-02-02 12:00:02 UTC' "$work/later/A.TXT"
cat >"$faulty/build/native/bin/wendmark" <<EOF
#!/usr/bin/env bash
"$native/bin/wendmark" "\$@" || exit
while ((\$#)) && [[ \$1 != --images ]]; do shift; done
((\$#)) || exit 0  # it wrote no images (it listed a description's disks)
image=\$2/disk1.img
export LC_ALL=C.UTF-8 TZ=UTC MTOOLS_SKIP_CHECK=1 MTOOLSRC=/dev/null
case \$FAULT in
  time) mcopy -o -m -i "\$image" "$work/later/A.TXT" ::/A.TXT ;;
  name) mren -i "\$image" '::/Read Me.txt' '::/Read Me 2.txt' ;;
esac
EOF
chmod +x "$faulty/build/native/bin/wendmark"
# fault | what the reason must name
faults=(
  "time|A.TXT"
  "name|Read Me.txt"
)
for row in "${faults[@]}"; do
  IFS='|' read -r fault named <<<"$row"
  out=$work/out-fault-$fault
  err=$(FAULT=$fault bash "$faulty/scripts/make-media.sh" --product "$work/spoiled" --name Spoiled --out "$out" 2>&1 >/dev/null)
  rc=$?
  [[ $rc == 1 ]] || fail "a wrong $fault: exit status $rc, not 1 ($err)"
  [[ $err == *"$named"* ]] || fail "a wrong $fault: the reason does not name $named: $err"
  [[ ! -e $out/disk1.img ]] || fail "a wrong $fault: the spoiled image was put in place"
done

if ((failures)); then
  echo "$failures failures"
  exit 1
fi
echo "names outside ASCII and times before 1980 come through the main job as Windows shows them; a wrong name or time fails its check"
