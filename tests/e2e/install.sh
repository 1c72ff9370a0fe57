#!/usr/bin/env bash
# install.sh - the program installed by "cmake --install" into a temporary prefix, run
# from another folder: it finds its settings, rules and dictionary where it was put.
#
#   bash tests/e2e/install.sh --build build --tools build/tests
#   bash tests/e2e/install.sh --build build-win --tools build/tests --prefix /usr/lib/wine/wine64
set -u
BUILD="" TOOLS="" PREFIX="" CMAKE=${CMAKE:-cmake}
while [ $# -gt 0 ]; do
  case $1 in
    --build) BUILD=$(realpath "$2"); shift 2 ;;
    --tools) TOOLS=$(realpath "$2"); shift 2 ;;
    --prefix) PREFIX=$2; shift 2 ;;
    --cmake) CMAKE=$2; shift 2 ;;
    *) echo "usage: install.sh --build DIR --tools DIR [--prefix CMD] [--cmake CMAKE]" >&2; exit 2 ;;
  esac
done
[ -d "$BUILD" ] && [ -x "$TOOLS/nwmkmodel" ] || { echo "no build or no nwmkmodel" >&2; exit 2; }
HERE=$(dirname "$(realpath "$0")")
export LC_ALL=C LANG=C LC_MESSAGES=
. "$HERE/lib.sh"

begin "installed into a prefix, the program finds its data files from any folder"
mkdir p work
"$CMAKE" --install "$BUILD" --prefix "$CASE_DIR/p" >/dev/null || fail "cmake --install failed"
if [ -f p/Namewright.exe ]; then
  # Windows keeps the program beside its files, as the ZIP does.
  exe=p/Namewright.exe data=p
else
  exe=p/bin/namewright data=p/share/namewright
  expect_file p/share/doc/namewright/README.md
  expect_no_file p/namewright
fi
for f in alias.ini modsetup.ini namedict.txt namedict.bin; do expect_file "$data/$f"; done
cd work || exit 2
model example m.pmx
PROG_NAME=../$exe
run m.pmx
expect_status 0
expect_line " -- modsetup.ini read-in. "
expect_line "Fill.everyKind = ON "
expect_line "Alias file found. "
printf '%s\n' "$OUT" | grep -q '^Dictionary: .*namedict\.bin ([0-9]* entries) $' || fail "no dictionary line"
printf '%s\n' "$OUT" | grep -q ' => center $' || fail "the dictionary's name for the center bone is missing"
expect_file m-new.pmx
# The shipped settings write the names table; corrections it remembers go to the data
# folder, where the dictionary reads them.
expect_file m.names.csv
"$TOOLS/nwcsv" edit m.names.csv bone 22 SkirtFront || fail "the table could not be edited"
run -J m.names.csv
expect_status 0
expect_file "m-new(1).pmx"
expect_file "../$data/namedict-user.txt"
expect_no_file namedict-user.txt
model example n.pmx
run n.pmx
printf '%s\n' "$OUT" | grep -q '^Dictionary: .*namedict-user\.txt (1 entries) $' || fail "the word list was not read"
printf '%s\n' "$OUT" | grep -q ' => SkirtFront $' || fail "the remembered name was not used"
rm "m-new(1).pmx" n-new.pmx n.names.csv
if [ -z "$PREFIX" ]; then
  # Started through PATH, with its bin folder's name only.
  rm m-new.pmx
  raw=$(PATH="$CASE_DIR/p/bin:$PATH" setsid namewright m.pmx </dev/null 2>/dev/null; echo "status=$?")
  STATUS=${raw##*status=}
  OUT=${raw%status=*}
  expect_status 0
  printf '%s\n' "$OUT" | grep -q "^Dictionary: $CASE_DIR/p/bin/../share/namewright/namedict\.bin " \
    || fail "not the installed dictionary"
  expect_file m-new.pmx
fi
run -h
expect_status 0
usage_lines > usage.txt
printf '%s\n' "$OUT" | tail -n "$(wc -l < usage.txt)" | cmp -s - usage.txt || fail "no usage"
finish
summary
