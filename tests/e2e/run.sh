#!/usr/bin/env bash
# run.sh - end-to-end tests: the built program run on generated models in temporary
# folders, its console text, exit status and files checked.
#
#   bash tests/e2e/run.sh --program build/namewright --tools build/tests
#   bash tests/e2e/run.sh --program build-win/Namewright.exe --tools build/tests --prefix /usr/lib/wine/wine64
set -u
PROGRAM="" TOOLS="" PREFIX="" WINDOWS=0
while [ $# -gt 0 ]; do
  case $1 in
    --program) PROGRAM=$(realpath "$2"); shift 2 ;;
    --tools) TOOLS=$(realpath "$2"); shift 2 ;;
    --prefix) PREFIX=$2; shift 2 ;;
    *) echo "usage: run.sh --program P --tools DIR [--prefix CMD]" >&2; exit 2 ;;
  esac
done
[ -x "$PROGRAM" ] || { echo "no program at '$PROGRAM'" >&2; exit 2; }
[ -x "$TOOLS/nwmkmodel" ] || { echo "no nwmkmodel in '$TOOLS'" >&2; exit 2; }
case $PROGRAM in *.exe) WINDOWS=1 ;; esac
HERE=$(dirname "$(realpath "$0")")
export LC_ALL=C LANG=C LC_MESSAGES=
[ "$WINDOWS" = 1 ] && export WINEDEBUG=-all
. "$HERE/lib.sh"
for f in "$HERE"/cases_*.sh; do . "$f"; done
summary
