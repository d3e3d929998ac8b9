#!/usr/bin/env bash
# dependency_test.sh SOURCE_DIR LINK_GRAPH
# The layers depend downward only. Each tool (tools/kivopack, tools/wendplan,
# tools/wendmark, and the extractor's front ends in unpack/frame) links only
# its own libraries and lower modules; a lower module links no tool's
# library; tests and benchmarks may link anything. LINK_GRAPH is the build's
# own link graph (tests/scripts/link_graph.cmake writes it at configure
# time), so what is checked is what the build links. Beside it, in the
# sources: nothing under tools/wendmark includes a header of unpack/frame, and
# no CMake file sets links for a whole folder (link_libraries) or names the
# compile flags that tandrel_no_runtime_code now holds.
set -uo pipefail
src=${1:?source folder}
graph=${2:?link graph}
[ -f "$graph" ] || { echo "FAIL: no link graph at $graph"; exit 1; }
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# The tool a folder belongs to; "lower" for a lower module; "free" for what
# may link anything.
owner() {  # FOLDER
  case $1 in
    tools/*) local rest=${1#tools/}; echo "${rest%%/*}" ;;
    unpack/frame | unpack/frame/*) echo kivounpack ;;
    tests | tests/* | bench | bench/*) echo free ;;
    *) echo lower ;;
  esac
}

links=0
while read -r target folder linked linked_folder; do
  links=$((links + 1))
  from=$(owner "$folder") to=$(owner "$linked_folder")
  case $to in lower | free) continue ;; esac
  [ "$from" != free ] && [ "$from" != "$to" ] || continue
  if [ "$from" = lower ]; then
    fail "$target ($folder), a lower module, links $linked, a library of the tool $to"
  else
    fail "$target, of the tool $from, links $linked, a library of the tool $to"
  fi
done <"$graph"
[ "$links" -gt 0 ] || fail "the link graph $graph holds no links"

cd "$src" || exit 1
while IFS= read -r line; do
  fail "tools/wendmark includes a header of unpack/frame: $line"
done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]unpack/frame/' tools/wendmark)

cmake_files() {
  find . -path ./build -prune -o \( -name CMakeLists.txt -o -name '*.cmake' \) -type f -print | sort
}
while IFS= read -r line; do
  fail "link_libraries sets links for a whole folder: $line"
done < <(cmake_files | xargs grep -nE '^[^#]*(^|[^_[:alnum:]])link_libraries[[:space:]]*\(')
while IFS= read -r line; do
  fail "TANDREL_NO_RUNTIME_FLAGS is gone (use tandrel_no_runtime_code): $line"
done < <(cmake_files | xargs grep -n 'TANDREL_NO_RUNTIME_FLAGS')

if [ "$failures" -gt 0 ]; then
  echo "dependency_test: $failures problem(s)"
  exit 1
fi
echo "dependency_test: $links links checked, no tool reaches into another"
