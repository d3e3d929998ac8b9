#!/bin/sh
# help_for_man.sh NAME ALIAS PROGRAM ARG...
# PROGRAM's answer to ARG (--help, --version) as help2man reads it, so that
# the manual page has a proper synopsis: "usage:" opens it, each further
# form of the command becomes an "or:" line, a wrapped form is joined, and
# ALIAS (the name the program is run by in a checkout, if any) is NAME.
name=$1 alias=$2 program=$3
shift 3
answer=$("$program" "$@") || exit
printf '%s\n' "$answer" | awk -v name="$name" -v alias="$alias" '
  alias != "" { while ((i = index($0, alias)) > 0) $0 = substr($0, 1, i - 1) name substr($0, i + length(alias)) }
  NR == 1 && /^usage: / { sub(/^usage:/, "Usage:"); usage = 1; line = $0; next }
  usage && index($0, " " name " ") > 0 && $0 ~ /^ +[^ ]/ && substr($0, match($0, /[^ ]/), length(name) + 1) == name " " {
    print line; sub(/^ +/, ""); line = "  or: " $0; next }
  usage && /^ +[^ ]/ { sub(/^ +/, " "); line = line $0; next }
  usage { print line; usage = 0 }
  { print }
  END { if (usage) print line }'
