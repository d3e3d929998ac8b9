#!/usr/bin/env bash
# Under Wine: kivopack.exe packs a folder onto stub_probe.exe (the engine
# linked like the installer stub, without a C runtime), and the result,
# started in an empty folder, extracts the tree byte for byte.
#   probe_wine_test.sh WINE_ENV_SCRIPT WINE_ENV_DIR KIVOPACK_EXE STUB_EXE
set -euo pipefail
envsh=$1 envdir=$2 pack=$3 stub=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/src/sub/deeper" "$work/out"
printf 'top level\n' >"$work/src/top.txt"
head -c 200000 /dev/urandom >"$work/src/sub/big.bin"
: >"$work/src/sub/deeper/empty.dat"
cp "$pack" "$work/kivopack.exe"
cp "$stub" "$work/stub.exe"
cd "$work"
bash "$envsh" run "$envdir" kivopack.exe -o self.exe --stub stub.exe src
bash "$envsh" run "$envdir" kivopack.exe --verify self.exe
cd out
bash "$envsh" run "$envdir" ../self.exe
diff -r ../src . && echo "probe extracted the tree"
