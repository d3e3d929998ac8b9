#!/usr/bin/env bash
# media_runs_test.sh SOURCE_DIR NATIVE_BUILD WIN32_BUILD
# The main job against a folder an earlier run made: a run that is refused,
# fails or is interrupted leaves the product and the earlier kit, images and
# logs exactly as they were, and no working folder; a run that passes
# replaces the earlier items and nothing else. The builds are taken as they
# are (cmake has nothing to do here), so each run is the main job's own
# work: a few seconds.
set -uo pipefail
# shellcheck source=main_job_tree.sh
. "$(dirname "$0")/main_job_tree.sh"
media() { bash "$tree/scripts/make-media.sh" "$@"; }

# A product whose LINK.TXT leads, by an absolute path, to one of its own files.
product=$work/product
mkdir -p "$product/sub"
head -c 3000 /dev/urandom >"$product/SETUP.EXE"
printf 'first\n' >"$product/a.txt"
printf 'second\n' >"$product/sub/b.txt"
printf 'the licence\n' >"$work/license.txt"
ln -s "$product/a.txt" "$product/LINK.TXT"
touch -h -d '2020-02-02 12:00:00' "$product"/* "$product/sub/b.txt"
# Every entry below DIR with its size, time and checksum. The folder's own
# time is left out: a run's working folder comes and goes in it.
snapshot() {  # DIR...
  local dir
  for dir; do
    (cd "$dir" && find . -mindepth 1 -printf '%p %y %s %T@ %l\n' | LC_ALL=C sort && find . -type f -exec sha256sum {} + | LC_ALL=C sort)
  done
}
# The mark lists exactly what a run made, beside the person's file.
mark_is_true() {  # CASE
  local listed there
  listed=$(grep -v '^#' "$out/.tandrel-media" | LC_ALL=C sort)
  there=$(cd "$out" && ls -A | grep -vxF -e .tandrel-media -e notes.txt | LC_ALL=C sort)
  [[ $listed == "$there" ]] || fail "$1: the mark lists '${listed//$'\n'/ }', the folder holds '${there//$'\n'/ }'"
  [[ $(cat "$out/notes.txt") == "mine" ]] || fail "$1: the person's notes.txt is gone or changed"
}

# The first run: the kit is named by the product's letters in ASCII, and the link is its file.
out=$work/out
log=$(media --product "$product" --name "Acme Tést" --license "$work/license.txt" --out "$out" 2>&1) ||
  { echo "$log"; fail "the first run failed"; exit 1; }
kit=$out/AcmeTest-Setup.exe
[[ -f $kit ]] || fail "no AcmeTest-Setup.exe: $(ls "$out")"
[[ -f $out/kit/setup/LINK.TXT && ! -L $out/kit/setup/LINK.TXT ]] && cmp -s "$out/kit/setup/LINK.TXT" "$product/a.txt" ||
  fail "the kit's LINK.TXT is not the file a.txt"
"$native/bin/kivopack" --list "$kit" | grep -q ' setup\\LINK.TXT$' || fail "the kit does not carry setup\\LINK.TXT"
# From here on the folder holds a file of a person's too.
printf 'mine\n' >"$out/notes.txt"
mark_is_true "first run"

# Runs that must change nothing, each against the first run's folder:
# inputs inside it (also by way of a link), a product no floppy can hold,
# and a run stopped with Ctrl-C once it checks its images. The stopped run
# stays at that step: the fsck.fat that checks its first image waits for a
# writer that never comes (wendmark's own checks run the real one).
ln -s "$out/kit" "$work/kit-link"
mkdir -p "$work/stuck" && mkfifo "$work/never"
real_fsck=$(PATH=$PATH:/usr/sbin:/sbin command -v fsck.fat)
cat >"$work/stuck/fsck.fat" <<EOF
#!/bin/sh
case \$* in *.tandrel-media.work.*/disk1.img) exec 3<"$work/never" ;; esac
exec "$real_fsck" "\$@"
EOF
chmod +x "$work/stuck/fsck.fat"
interrupted() {  # make-media's arguments; SIGINT to its process group, as Ctrl-C sends
  local pid line
  mkfifo "$work/progress"
  # A process group of its own; and make-media itself is the job waited for.
  set -m
  PATH=$work/stuck:$PATH bash "$tree/scripts/make-media.sh" "$@" >"$work/progress" &
  pid=$!
  set +m
  while IFS= read -r line; do
    [[ $line != *"Checking the images"* ]] || kill -INT -- "-$pid"
  done <"$work/progress"
  wait "$pid"
  local rc=$?
  rm -f "$work/progress"
  return "$rc"
}
before=$(snapshot "$product" "$out")
cases=(
  "2|product inside the kit an earlier run made|media --product $out/kit/setup --name X --out $out"
  "2|product inside it by way of a link|media --product $work/kit-link/setup --name X --out $out"
  "2|licence inside the output folder|media --product $product --name X --license $out/kit/tools/license.txt --out $out"
  "1|a file too large for a floppy|media --product $product --name X --out $out"
  "130|interrupted while checking the images|interrupted --product $product --name X --out $out"
)
for row in "${cases[@]}"; do
  IFS='|' read -r want name command <<<"$row"
  [[ $name != "a file too large"* ]] || { head -c 1500000 /dev/zero >"$product/BIG.CAB"; before=$(snapshot "$product" "$out"); }
  read -ra argv <<<"$command"
  err=$("${argv[@]}" 2>&1 >/dev/null)
  rc=$?
  [[ $rc == "$want" ]] || fail "$name: exit status $rc, not $want ($err)"
  [[ -n $err ]] || fail "$name: no reason on stderr"
  [[ $want != 1 || $err == *BIG.CAB* ]] || fail "$name: the reason does not name BIG.CAB: $err"
  [[ $(snapshot "$product" "$out") == "$before" ]] || fail "$name: the product or the earlier run's items changed: $(diff <(echo "$before") <(snapshot "$product" "$out") | head -n 6)"
  [[ -z $(find "$out" -maxdepth 1 -name '.tandrel-media.work*') ]] || fail "$name: a working folder is left"
  rm -f "$product/BIG.CAB"
  before=$(snapshot "$product" "$out")
done

# A run that passes replaces the earlier items, and tells which changed.
printf 'first, edited\n' >"$product/a.txt"
log=$(media --product "$product" --name "Acme Tést" --out "$out" 2>&1) || fail "the run after the edit failed: $log"
grep -q '^  Previous run *kit differs, images differ: disk1.img$' <<<"$log" ||
  fail "the summary does not tell the kit and the image differ: $(tail -n 1 <<<"$log")"
cmp -s "$out/kit/setup/LINK.TXT" "$product/a.txt" || fail "the kit's LINK.TXT is not the edited a.txt"
[[ ! -e $out/kit/tools/license.txt ]] || fail "the earlier run's licence is still in the kit"
mark_is_true "the run after the edit"

if ((failures)); then
  echo "$failures failures"
  exit 1
fi
echo "refused, failed and interrupted runs changed nothing; a run that passed replaced what the earlier one made"
