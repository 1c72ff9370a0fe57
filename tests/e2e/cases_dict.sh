# cases_dict.sh - runs with a dictionary beside the program: its one console line, the
# names it gives, a broken one ending the run, the user's rule winning over it.

# dict TEXT...: namedict.txt in the case folder, one argument per line.
dict() { printf '%s\n' "namewright-dictionary 1" "$@" > namedict.txt; }

begin "a dictionary beside the program names the vacant elements"
dict "b	N	センター	center" "bmf	W	髪	hair" "bmf	W	スカート	skirt" "m	W	笑い	smile" \
  "bmf	S	左	L" "bmf	W	肩	shoulder"
model utf8 m.pmx
run m.pmx
expect_status 0
# The program's folder as the system spells it (./ or Z:\...), then the file.
[ "$(printf '%s\n' "$OUT" | grep -c '^Dictionary: .*[/\\]namedict\.txt (6 entries) $')" = 1 ] \
  || fail "no one dictionary line"
[ "$(printf '%s\n' "$OUT" | grep -c '^Dictionary')" = 1 ] || fail "more than one dictionary line"
printf '%s\n' "$OUT" | grep -q ' => center $' || fail "no whole-name entry used"
printf '%s\n' "$OUT" | grep -q ' => Shoulder_L $' || fail "no side moved to the end"
printf '%s\n' "$OUT" | grep -q ' => Winku $' || fail "no romaji for a word without entry"
expect_file m-new.pmx
for name in center Hair Skirt Smile Shoulder_L; do
  grep -q "$name" m-new.pmx || fail "$name not in the saved model"
done
finish

begin "a dictionary that cannot be read whole ends the run before any model"
dict "bmf	W	髪	hair" "b	X	肩	shoulder"
model utf8 m.pmx
run m.pmx
expect_status 1
printf '%s\n' "$OUT" | grep -q '^Dictionary .*[/\\]namedict\.txt, line 3: a class that is not N, W, K or S $' \
  || fail "no message naming the file and line"
expect_line "The dictionary could not be read whole: no model is saved. "
printf '%s\n' "$OUT" | grep -q '^Reading from' && fail "a model was read"
expect_no_file m-new.pmx
finish

begin "a rule the user appends to alias.ini wins over the dictionary"
dict "bmf	W	スカート	skirt" "bmf	W	髪	hair"
printf '%s\n' "// my rules" "-Bone" '"スカート"F "SkirtX"' > alias.ini
model utf8 m.pmx
run m.pmx
expect_status 0
printf '%s\n' "$OUT" | grep -q ' => SkirtX $' || fail "the user's rule did not win"
printf '%s\n' "$OUT" | grep -q ' => Hair $' || fail "the dictionary beneath it was not used"
grep -q SkirtX m-new.pmx || fail "SkirtX not in the saved model"
finish

begin "without the dictionary file nothing of it shows or is used"
model utf8 m.pmx
run m.pmx
expect_status 0
printf '%s\n' "$OUT" | grep -q '^Dictionary' && fail "a dictionary line"
expect_file m-new.pmx
grep -q Hair m-new.pmx && fail "an English word without a dictionary"
finish

begin "alias.ini: the rest of an over-long line goes with it, never read as a rule"
dashes=$(printf -- '-%.0s' $(seq 1 250))
{ printf '%s\n' "// $dashes\"腕\" \"HACKED\""
  printf '%s\n' "\"肩\" \"Shoulder\" $dashes\"首\" \"HACKED\""; } > alias.ini
model example m.pmx
run m.pmx
expect_status 0
# The dropped line is shown as the other lines the reader skips are: as the file has it.
printf '%s\n' "$OUT" | grep -q '^Err: line longer than 253 bytes, dropped: ".*" "Shoulder" -* $' \
  || fail "no message for the rule line"
printf '%s\n' "$OUT" | grep -q ' => HACKED' && fail "a rule came from the rest of a line"
printf '%s\n' "$OUT" | grep -q ' => Shoulder' && fail "the cut rule was used"
expect_file m-new.pmx
grep -q HACKED m-new.pmx && fail "HACKED in the saved model"
finish
