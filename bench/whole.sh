#!/bin/bash
# whole.sh - CPU time of the whole program on a 213 MB model, against a plain copy.
#
#   bench/whole.sh <build folder> [runs] [vertices]
#
# Generates the model with nwbigmodel (both text encodings) in a temporary folder, best
# on a tmpfs ($TMPDIR, else /dev/shm) so that the disk's writeback does not decide the
# times. Then, in turn and `runs` times over, runs `namewright -ND2` on it by its ASCII
# name (ANSI path, stream mode) and by a Korean name (no Shift-JIS spelling: UTF-16
# path, handle mode), and copies it with dd in 64 KiB and 1 MiB blocks. Each run's CPU
# time (user + system, so the program's 0.5 s start pause does not count) comes from
# bash's `time`; the previous output is removed before each run, outside the timing.
# Prints the medians and the program's time over the faster copy's; exits 1 when a run
# fails or a ratio is above 2.5.
set -u
build=${1:?usage: whole.sh <build folder> [runs] [vertices]}
runs=${2:-7}
vertices=${3:-2700000}
target=2.5

prog=$build/namewright
gen=$build/bench/nwbigmodel
for f in "$prog" "$gen"; do
  [ -x "$f" ] || { echo "whole.sh: $f is missing (build the namewright and nwbigmodel targets)" >&2; exit 2; }
done
base=${TMPDIR:-/dev/shm}
[ -d "$base" ] || base=/tmp
tmp=$(mktemp -d "$base/nwwhole.XXXXXX")
trap 'rm -rf "$tmp"' EXIT

TIMEFORMAT='%3U %3S'
# Runs a command with its output discarded and prints its user + system seconds.
cputime() {
  local t
  t=$( { time "$@" > /dev/null 2>&1 < /dev/null; } 2>&1 ) || return 1
  awk -v u="${t% *}" -v s="${t#* }" 'BEGIN { printf "%.3f", u + s }'
}
median() {
  tr ' ' '\n' | grep . | sort -n |
    awk '{ v[NR] = $1 } END { print NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

status=0
for enc in utf16 utf8; do
  "$gen" "$vertices" "$enc" "$tmp/$enc.pmx" > /dev/null || exit 2
  size=$(stat -c %s "$tmp/$enc.pmx")
  ln "$tmp/$enc.pmx" "$tmp/모델_$enc.pmx"
  declare -A times=()
  for ((r = 0; r < runs; r++)); do
    for what in stream handle copy64k copy1M; do
      rm -f "$tmp"/*-new.pmx "$tmp"/*.names*.csv "$tmp/copy.pmx"
      case $what in
        stream) t=$(cputime "$prog" -ND2 "$tmp/$enc.pmx") && [ -s "$tmp/$enc-new.pmx" ] ;;
        handle) t=$(cputime "$prog" -ND2 "$tmp/모델_$enc.pmx") && [ -s "$tmp/모델_$enc-new.pmx" ] ;;
        copy64k) t=$(cputime dd if="$tmp/$enc.pmx" of="$tmp/copy.pmx" bs=64k) ;;
        copy1M) t=$(cputime dd if="$tmp/$enc.pmx" of="$tmp/copy.pmx" bs=1M) ;;
      esac || { echo "whole.sh: the $what run on the $enc model failed" >&2; exit 1; }
      times[$what]+="$t "
    done
  done
  rm -f "$tmp"/*.pmx
  declare -A med=()
  for what in stream handle copy64k copy1M; do med[$what]=$(median <<< "${times[$what]}"); done
  copy=$(awk -v a="${med[copy64k]}" -v b="${med[copy1M]}" 'BEGIN { print a < b ? a : b }')
  printf '%-5s model, %d bytes, medians of %d runs (CPU s): copy 64 KiB %s, copy 1 MiB %s\n' \
    "$enc" "$size" "$runs" \
    "${med[copy64k]}" "${med[copy1M]}"
  for what in stream handle; do
    verdict=$(awk -v p="${med[$what]}" -v c="$copy" -v t=$target \
      'BEGIN { r = p / c; printf "%.2f (target %.1f: %s)", r, t, r <= t ? "met" : "MISSED" }')
    case $verdict in *MISSED*) status=1 ;; esac
    printf '  %s path: program %s s, over the faster copy %s\n' "$what" "${med[$what]}" "$verdict"
  done
done
exit $status
