#!/usr/bin/env bash
# Reads a built Windows program the way a release is judged: which system
# libraries and functions it imports (all of them must be on the allowlist
# of functions both Windows 95 and NT 4.0 have), and, for the installer stub,
# its size and the absence of the archive signature.
#
#   check_program.sh EXE ALLOWLIST --dlls "a.dll b.dll ..." [--max-bytes N]
#                    [--no-signature] [--refuses FUNCTION]
#
# --refuses FUNCTION also proves the check itself: with FUNCTION taken off
# the allowlist, the same program must be refused, naming FUNCTION.
# OBJDUMP names the MinGW objdump (default i686-w64-mingw32-objdump).
set -euo pipefail

exe=${1:?program}
allowlist=${2:?allowlist}
shift 2
dlls="" max="" signature=0 refuses=""
while [ "$#" -gt 0 ]; do
  case "$1" in
    --dlls) dlls=$(tr 'A-Z' 'a-z' <<<"$2"); shift 2 ;;
    --max-bytes) max=$2; shift 2 ;;
    --no-signature) signature=1; shift ;;
    --refuses) refuses=$2; shift 2 ;;
    *) echo "check_program: unknown option $1" >&2; exit 2 ;;
  esac
done
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}
name=$(basename "$exe")
problems=0

problem() {
  echo "$name: $*"
  problems=$((problems + 1))
}

# "dll function" for every imported function; an import by ordinal alone
# shows as "<none>" and is refused like any unknown name.
imports() {
  "$objdump" -p "$exe" | awk '
    /^The Import Tables/ { on = 1; next }
    on && /^[A-Z]/ { on = 0 }
    on && /DLL Name:/ { dll = tolower($3); next }
    on && dll != "" && /^\t[0-9a-f]+\t/ { print dll, $3 }'
}

# Prints every import that LIST does not allow; the count is its status.
refused() {
  local list=$1 dll function bad=0
  while read -r dll function; do
    case " $dlls " in
      *" $dll "*) ;;
      *) echo "imports from $dll ($function), a library it may not use"; bad=$((bad + 1)); continue ;;
    esac
    if ! awk -v want="[$dll]" -v f="$function" '
          /^\[/ { section = tolower($0); next }
          section == want && $0 == f { found = 1 }
          END { exit !found }' "$list"; then
      echo "imports $dll $function, which Windows 95 or NT 4.0 lacks"
      bad=$((bad + 1))
    fi
  done < <(imports)
  return "$bad"
}

size=$(stat -c %s "$exe")
echo "$name: $size bytes, $(imports | wc -l) imported functions from $(imports | cut -d' ' -f1 | sort -u | tr '\n' ' ')"
if [ -n "$max" ] && [ "$size" -gt "$max" ]; then
  problem "$size bytes, more than $max"
fi
if [ "$signature" -eq 1 ] && LC_ALL=C grep -qaP '\xFE\x81\xFF\x80\xFC\x83\xFD\x82' "$exe"; then
  problem "holds the eight signature bytes in sequence"
fi
[ "$(imports | wc -l)" -gt 0 ] || problem "no imports could be read"
while read -r line; do
  [ -z "$line" ] || problem "$line"
done < <(refused "$allowlist" || true)

if [ -n "$refuses" ]; then
  reduced=$(mktemp)
  trap 'rm -f "$reduced"' EXIT
  grep -vx -- "$refuses" "$allowlist" >"$reduced"
  # Read whole first: grep -q would stop reading at the first match.
  without=$(refused "$reduced" || true)
  if grep -q -- " $refuses," <<<"$without"; then
    echo "$name: without $refuses on the allowlist the program is refused, as it should be"
  else
    problem "the check does not notice $refuses missing from the allowlist"
  fi
fi

if [ "$problems" -gt 0 ]; then
  echo "$name: $problems problem(s)"
  exit 1
fi
echo "$name: passed"
