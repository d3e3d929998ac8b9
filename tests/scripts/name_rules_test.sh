#!/usr/bin/env bash
# name_rules_test.sh KIVOPACK WENDPLAN WENDMARK
# One name rule across the tools: for each name, a folder holding one file
# of that name goes through kivopack (the kit), wendplan (the plan) and the
# floppy volume (wendmark --image-from, one disk), all in code page 1252.
# A name one of them takes and another refuses would be a kit that cannot
# be put on floppies, or floppies whose files the kit would not hold; so all
# three take it or all three refuse it, and only the plain name is taken.
set -euo pipefail
kivopack=$1 wendplan=$2 wendmark=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# name|answer: the answer all three tools must give.
cases=(
  "setup.txt|takes"
  " lead.txt|refuses"   # FAT drops a long name's leading blanks
  'CONIN$|refuses'      # a console device
  "COM0|refuses"
  "COM¹|refuses"        # later systems read ¹²³ as port digits
  "NUL.txt|refuses"     # a device even with an extension
  "a.|refuses"          # Windows drops the dot
  "x?y|refuses"
  "Ж|refuses"           # code page 1252 has no Cyrillic
)

failed=0
n=0
for entry in "${cases[@]}"; do
  name=${entry%|*} want=${entry##*|}
  n=$((n + 1))
  dir=$work/$n
  mkdir -p "$dir/kit"
  printf 'data\r\n' >"$dir/kit/$name"
  answers=()
  for tool in kivopack wendplan volume; do
    case $tool in
      kivopack) cmd=("$kivopack" --bare -o "$dir/kit.bin" --codepage 1252 "$dir/kit") ;;
      wendplan) cmd=("$wendplan" "$dir/kit" -o "$dir/packlist.ini" --name Product --codepage 1252) ;;
      volume) cmd=("$wendmark" --image-from "$dir/kit" "$dir/disk1.img" 1 --codepage 1252) ;;
    esac
    if timeout 60 "${cmd[@]}" </dev/null >"$dir/$tool.log" 2>&1; then
      answers+=("takes")
    else
      answers+=("refuses")
    fi
  done
  line=$(printf 'kivopack %s, wendplan %s, volume %s' "${answers[@]}")
  if [[ "${answers[*]}" == "$want $want $want" ]]; then
    echo "'$name': $line"
  else
    echo "FAIL: '$name': $line; all three must say $want"
    cat "$dir"/*.log
    failed=1
  fi
done
((failed == 0)) || exit 1
echo "ok"
