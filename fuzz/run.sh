#!/usr/bin/env bash
# run.sh - builds the fuzz targets and runs each for a while on a corpus seeded with
# the generated test models, the default rules, small compiled dictionaries and names
# tables.
#   bash fuzz/run.sh BUILD_DIR SECONDS_PER_TARGET
set -euo pipefail
build=${1:-build-fuzz}
seconds=${2:-60}
here=$(cd "$(dirname "$0")" && pwd)
top=$(dirname "$here")
cxx=$(command -v clang++-14 || command -v clang++)
CXX=$cxx cmake -S "$top" -B "$build" -DNW_FUZZ=ON -DNW_TESTS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target fuzz_pmx fuzz_pmd fuzz_text fuzz_dict fuzz_table nwmkmodel nwdictc >/dev/null

mkdir -p "$build/corpus/pmx" "$build/corpus/pmd" "$build/corpus/text" "$build/corpus/dict" "$build/corpus/table"
for kind in example utf8 filled pmx21 badmagic truncated hostile; do
  "$build/tests/nwmkmodel" "$kind" "$build/corpus/pmx/$kind.pmx" >/dev/null
done
for kind in pmd pmdnoenglish pmdtruncated; do
  "$build/tests/nwmkmodel" "$kind" "$build/corpus/pmd/$kind.pmd" >/dev/null
done
for f in alias.ini modsetup.ini; do
  if [ -f "$top/data/$f" ]; then cp "$top/data/$f" "$build/corpus/text/$f"; fi
done

# Compiled dictionaries of the shipped text's first lines, and of a few of every kind.
if [ -f "$top/data/namedict.txt" ]; then
  for lines in 40 400; do
    head -n "$lines" "$top/data/namedict.txt" > "$build/corpus/seed.txt"
    rm -f "$build/corpus/dict/head$lines.bin"
    "$build/nwdictc" "$build/corpus/seed.txt" "$build/corpus/dict/head$lines.bin"
  done
fi
printf '%s\n' "namewright-dictionary 2" "bmf	S	左	L" "b	N	センター	center" "bmf	W	髪	hair | tress" \
  "bmfj	W	先	tip" "bmfc	W	先	xian" "mf	K	笑	laugh" "bmf	W	ｽｶｰﾄ	skirt" > "$build/corpus/seed.txt"
rm -f "$build/corpus/dict/kinds.bin"
"$build/nwdictc" "$build/corpus/seed.txt" "$build/corpus/dict/kinds.bin"
rm -f "$build/corpus/seed.txt"

# Names tables as the program writes them and as a spreadsheet may save them.
printf '\xEF\xBB\xBFkind,index,japanese,english,original,source\r\nmodel,0,m,Model,,copied\r\nbone,1,\xE9\xA0\xAD,"Head, ""top""",,rule\r\nframe,0,f,"Exp\nression",,kept\r\n' \
  > "$build/corpus/table/written.csv"
printf 'English,Kind,Index,Japanese\nArm,bone,2,b\nx,morph,1,a\n,,,\n' > "$build/corpus/table/saved.csv"

for target in fuzz_pmx fuzz_pmd fuzz_text fuzz_dict fuzz_table; do
  echo "-- $target for ${seconds}s"
  maxlen=65536; [ "$target" = fuzz_text ] || [ "$target" = fuzz_table ] && maxlen=8192
  "$build/fuzz/$target" -max_total_time="$seconds" -max_len=$maxlen -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$build/" \
    -print_final_stats=1 "$build/corpus/${target#fuzz_}" 2>&1 | tail -n 12
done
