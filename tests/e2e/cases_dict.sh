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

# The compiler built beside the test tools (the native one, for the Windows build too).
DICTC=$(dirname "$TOOLS")/nwdictc

begin "the compiled dictionary beside the program is used in place of the text"
dict "b	N	センター	center" "bmf	W	髪	hair" "bmf	S	左	L" "bmf	W	肩	shoulder"
"$DICTC" namedict.txt namedict.bin || fail "nwdictc failed"
model utf8 m.pmx
run m.pmx
expect_status 0
[ "$(printf '%s\n' "$OUT" | grep -c '^Dictionary: .*[/\\]namedict\.bin (4 entries) $')" = 1 ] \
  || fail "no line naming the compiled file"
[ "$(printf '%s\n' "$OUT" | grep -c '^Dictionary')" = 1 ] || fail "more than one dictionary line"
printf '%s\n' "$OUT" | grep -q ' => Shoulder_L $' || fail "the compiled entries were not used"
grep -q Shoulder_L m-new.pmx || fail "Shoulder_L not in the saved model"
finish

begin "a text edited after it was compiled is read instead, and the run says why"
dict "bmf	W	髪	hair" "bmf	S	左	L" "bmf	W	肩	shoulder"
"$DICTC" namedict.txt namedict.bin || fail "nwdictc failed"
printf '%s\n' "bmf	W	肩	shoulderpad" >> namedict.txt
model utf8 m.pmx
run m.pmx
expect_status 0
printf '%s\n' "$OUT" | grep -q '^Dictionary .*[/\\]namedict\.bin: compiled from a namedict\.txt of [0-9]* bytes, not the one beside it of [0-9]*; namedict\.txt is read instead\. $' \
  || fail "no line saying why the text is read"
printf '%s\n' "$OUT" | grep -q '^Dictionary: .*[/\\]namedict\.txt (4 entries) $' || fail "the text was not read"
printf '%s\n' "$OUT" | grep -q ' => Shoulderpad_L $' || fail "the edited line did not count"
finish

begin "a damaged compiled dictionary without its text ends the run before any model"
dict "bmf	W	髪	hair"
"$DICTC" namedict.txt namedict.bin || fail "nwdictc failed"
rm namedict.txt
head -c 100 namedict.bin > cut.bin && mv cut.bin namedict.bin
model utf8 m.pmx
run m.pmx
expect_status 1
printf '%s\n' "$OUT" | grep -q '^Dictionary .*[/\\]namedict\.bin: cut short (100 bytes, its header says [0-9]*); there is no namedict\.txt to read instead\. $' \
  || fail "no line saying what is wrong"
expect_line "The dictionary could not be read whole: no model is saved. "
expect_no_file m-new.pmx
finish

begin "the user's words in namedict-user.txt win over the dictionary"
dict "bmf	W	髪	hair" "bmf	S	左	L" "bmf	W	肩	shoulder"
"$DICTC" namedict.txt namedict.bin || fail "nwdictc failed"
printf '%s\n' "bmf	W	肩	epaulet" > namedict-user.txt
model utf8 m.pmx
run m.pmx
expect_status 0
printf '%s\n' "$OUT" | grep -q '^Dictionary: .*[/\\]namedict-user\.txt (1 entries) $' || fail "no line for the user's words"
printf '%s\n' "$OUT" | grep -q ' => Epaulet_L $' || fail "the user's word did not win"
printf '%s\n' "$OUT" | grep -q ' => Hair $' || fail "the dictionary beneath was not used"
finish

begin "nwdictc leaves an existing file alone and tells a compiled file that is not its text's"
dict "bmf	W	髪	hair"
"$DICTC" namedict.txt namedict.bin || fail "nwdictc failed"
cp namedict.bin before.bin
"$DICTC" namedict.txt namedict.bin 2> err.txt && fail "an existing file was written over"
grep -q "^nwdictc: cannot create namedict.bin (error 80; an existing file is not replaced)$" err.txt \
  || fail "no message for the existing file"
expect_same namedict.bin before.bin
"$DICTC" --check namedict.txt namedict.bin || fail "the check refused the file's own compiled form"
printf '%s\n' "bmf	W	肩	shoulder" >> namedict.txt
"$DICTC" --check namedict.txt namedict.bin 2> err.txt && fail "the check passed a stale file"
grep -q "^nwdictc: namedict.bin is not what the text compiles to$" err.txt || fail "no message for the stale file"
printf '%s\n' "b	Q	肩	shoulder" >> namedict.txt
rm namedict.bin
"$DICTC" namedict.txt namedict.bin 2> err.txt; [ $? = 2 ] || fail "a broken text did not exit 2"
grep -q "^Dictionary namedict.txt, line 4: a class that is not N, W, K or S $" err.txt || fail "no line for the broken text"
expect_no_file namedict.bin
finish
