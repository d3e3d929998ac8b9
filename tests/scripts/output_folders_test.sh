#!/usr/bin/env bash
# output_folders_test.sh SOURCE_DIR
# The scripts that write into a folder a person names never clear it unless
# an earlier run of theirs made it: a folder holding a person's file is
# refused with status 2 and one line, before anything is built or changed.
# None of these cases needs Wine or a build.
set -uo pipefail
src=${1:?source folder}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Should a script go on past its check, it finds stand-ins that fail at
# once: no build starts, no display or Wine runs, nothing is mounted.
mkdir "$work/bin"
for tool in cmake Xvfb wine wine64 wineserver mount umount; do
  printf '#!/bin/sh\nexit 1\n' >"$work/bin/$tool"
  chmod +x "$work/bin/$tool"
done
export PATH=$work/bin:$PATH
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# A person's folder: a file with content and a time of its own, and a
# subfolder named like something the scripts make.
person() {  # DIR
  mkdir -p "$1/setup" "$1/floppy"
  printf 'my letter\n' >"$1/letter.txt"
  printf 'my setup notes\n' >"$1/setup/notes.txt"
  printf 'my floppy notes\n' >"$1/floppy/notes.txt"
  touch -d '2011-11-11 11:11:11' "$1/letter.txt" "$1/setup/notes.txt" "$1/floppy/notes.txt"
}
snapshot() {  # DIR: every entry with its size, time and checksum
  (cd "$1" && find . -printf '%p %s %T@\n' | LC_ALL=C sort && find . -type f -exec sha256sum {} + | LC_ALL=C sort)
}

# expect_refusal NAME DIR COMMAND...: status 2, one line on stderr and
# nothing on stdout, DIR as it was.
expect_refusal() {
  local name=$1 dir=$2 before err rc
  shift 2
  before=$(snapshot "$dir")
  err=$("$@" 2>&1 >"$work/stdout" </dev/null)
  rc=$?
  [[ $rc == 2 ]] || fail "$name: exit status $rc, not 2 (${err:-no message})"
  [[ -n $err && $(wc -l <<<"$err") == 1 ]] || fail "$name: not one line on stderr: '$err'"
  [[ ! -s $work/stdout ]] || fail "$name: the refusal wrote to stdout: $(head -n 3 "$work/stdout")"
  [[ $(snapshot "$dir") == "$before" ]] || fail "$name: the folder changed"
}

# make-media.sh: a person's folder, the same named relative to the checkout, a
# file in place of a folder, and the setup folder's own inside.
mine=$work/documents
person "$mine"
expect_refusal "make-media --out with a person's file" "$mine" bash "$src/scripts/make-media.sh" --out "$mine"
link=$work/link-to-documents
ln -s "$mine" "$link"
expect_refusal "make-media --out through a link" "$mine" bash "$src/scripts/make-media.sh" --out "$link"
expect_refusal "make-media --out a file" "$mine" bash "$src/scripts/make-media.sh" --out "$mine/letter.txt"
expect_refusal "make-media --out inside the product" "$mine" \
  bash "$src/scripts/make-media.sh" --product "$mine" --name Mine --out "$mine/kit-out"
# A mark somewhere else does not make this folder an earlier run's.
mkdir -p "$work/other" && : >"$work/other/.tandrel-media" && : >"$work/other/.tandrel-demo"
expect_refusal "make-media --out beside a marked folder" "$mine" bash "$src/scripts/make-media.sh" --out "$mine"
# In a folder an earlier run marked, a person's own item named like one a
# run makes is theirs: refused, not taken over. So is a mark that is a link.
marked=$work/marked
mkdir -p "$marked"
printf 'logs\n' >"$marked/.tandrel-media"
for item in disk1.img kit install; do
  mkdir -p "$marked/$item"
  printf 'mine\n' >"$marked/$item/notes.txt"
  expect_refusal "make-media --out a marked folder holding a person's $item" "$marked" \
    bash "$src/scripts/make-media.sh" --via-wine --out "$marked"
  rm -rf "${marked:?}/$item"
done
linked=$work/linked && mkdir -p "$linked" && ln -s "$mine/letter.txt" "$linked/.tandrel-media"
expect_refusal "make-media --out whose mark is a link" "$mine" bash "$src/scripts/make-media.sh" --out "$linked"
# Relative folders are the caller's, not the checkout's.
expect_refusal "make-media --product relative to the caller" "$mine" \
  bash -c "cd '$work' && bash '$src/scripts/make-media.sh' --product documents --name Mine --out documents/kit-out"
expect_refusal "make-media --product that is no folder" "$mine" \
  bash "$src/scripts/make-media.sh" --product "$work/none" --name Mine --out "$work/new-out"
# The inputs are only read: a product or a licence inside the output folder,
# even a person's own beside what the runs made, is refused.
person "$marked"
expect_refusal "make-media --product inside the output folder" "$marked" \
  bash "$src/scripts/make-media.sh" --product "$marked/setup" --name Mine --out "$marked"
expect_refusal "make-media --license inside the output folder" "$marked" \
  bash "$src/scripts/make-media.sh" --license "$marked/letter.txt" --out "$marked"
# Arguments that cannot go together are refused before anything happens.
expect_refusal "make-media --interactive without --via-wine" "$mine" \
  bash "$src/scripts/make-media.sh" --interactive --out "$work/new-out"
expect_refusal "make-media --via-wine with a code page Wine does not run in here" "$mine" \
  bash "$src/scripts/make-media.sh" --via-wine --codepage 1251 --out "$work/new-out"
expect_refusal "make-media --name without --product" "$mine" \
  bash "$src/scripts/make-media.sh" --name Mine --out "$work/new-out"
expect_refusal "make-media --out below a file" "$mine" \
  bash "$src/scripts/make-media.sh" --out "$mine/letter.txt/kit-out"
[[ ! -e $work/new-out ]] || fail "make-media made its --out folder for a refused run"

# make-sample-kit.sh: OUTDIR already holds a setup folder of the person's.
: >"$work/Wendmark.exe" && : >"$work/wendplan"
mkdir -p "$work/product" && printf 'x' >"$work/product/SETUP.EXE"
expect_refusal "make-sample-kit into a person's setup folder" "$mine" \
  bash "$src/samples/make-sample-kit.sh" "$mine" --product "$work/product" --name Mine \
  --wendmark "$work/Wendmark.exe" --wendplan "$work/wendplan"

# wine-env.sh: setup in a person's folder, and a command that empties the
# floppy in a folder that setup never made.
expect_refusal "wine-env setup in a person's folder" "$mine" bash "$src/tests/e2e/wine-env.sh" setup "$mine"
expect_refusal "wine-env floppy in a person's folder" "$mine" bash "$src/tests/e2e/wine-env.sh" floppy "$mine"

# The end-to-end scripts' OUTDIR.
: >"$work/program.exe"
expect_refusal "wizard_e2e into a person's folder" "$mine" \
  bash "$src/tests/e2e/wizard_e2e.sh" walk "$work/env" "$work/program.exe" "$work/program.exe" "$mine"
expect_refusal "kivo_e2e into a person's folder" "$mine" \
  bash "$src/tests/e2e/kivo_e2e.sh" extract "$work/env" "$work/program.exe" "$work/program.exe" \
  "$work/program.exe" "$work/program.exe" "$work/program.exe" "$mine"

[[ $(cat "$mine/letter.txt") == "my letter" ]] || fail "the letter is gone"
if ((failures)); then
  echo "$failures failures"
  exit 1
fi
echo "every script refused the person's folder and left it as it was"
