#!/bin/bash
# memory.sh - peak resident memory of the whole program on a 200 MB model.
#
#   bench/memory.sh <build folder> [vertices]
#
# Generates the model with nwbigmodel (both text encodings) in a temporary folder, runs
# the program on each by both path forms with /usr/bin/time -v and prints the peak RSS.
# Exits 1 when a run fails or its peak reaches 16 MiB.
set -u
build=${1:?usage: memory.sh <build folder> [vertices]}
vertices=${2:-2600000}
limit_kb=16384

prog=$build/namewright
gen=$build/bench/nwbigmodel
for f in "$prog" "$gen" /usr/bin/time; do
  [ -x "$f" ] || { echo "memory.sh: $f is missing (build the namewright and nwbigmodel targets)" >&2; exit 2; }
done

tmp=$(mktemp -d "${TMPDIR:-/tmp}/nwmemory.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
status=0
# An ASCII name is opened by its ANSI path (stream mode); a Korean one has no Shift-JIS
# spelling and is opened by its UTF-16 path (handle mode).
for enc in utf16 utf8; do
  "$gen" "$vertices" "$enc" "$tmp/$enc.pmx" > /dev/null || exit 2
  size=$(stat -c %s "$tmp/$enc.pmx")
  for name in "$enc" "모델_$enc"; do
    [ "$name" = "$enc" ] && path=stream || path=handle
    [ -e "$tmp/$name.pmx" ] || mv "$tmp/$enc.pmx" "$tmp/$name.pmx"
    # No terminal: the program asks nothing; its console goes to a file.
    /usr/bin/time -v -o "$tmp/time.txt" "$prog" "$tmp/$name.pmx" < /dev/null > "$tmp/console.txt" 2>&1
    rc=$?
    peak=$(sed -n 's/^[[:space:]]*Maximum resident set size (kbytes): //p' "$tmp/time.txt")
    verdict=ok
    if [ "$rc" -ne 0 ] || [ ! -s "$tmp/$name-new.pmx" ]; then verdict="FAILED (exit status $rc)"; status=1; fi
    if [ "${peak:-$limit_kb}" -ge "$limit_kb" ]; then verdict="OVER the limit of $limit_kb KiB"; status=1; fi
    printf '%-5s model, %s path, %d bytes: peak RSS %d KiB (%s MiB): %s\n' "$enc" "$path" \
      "$size" "${peak:-0}" "$(awk -v k="${peak:-0}" 'BEGIN { printf "%.1f", k / 1024 }')" "$verdict"
    rm -f "$tmp/$name-new.pmx" "$tmp/$name".names*.csv
  done
  rm -f "$tmp"/*.pmx
done
exit $status
