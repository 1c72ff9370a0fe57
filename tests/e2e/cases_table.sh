# cases_table.sh - the names table: written beside every copy with -V and opened by the
# tests' own CSV reader; edited as a spreadsheet saves it and applied, the copy checked
# byte for byte against one worked out from the table; tables that do not fit never
# make a copy; corrections remembered in the user's word list.

csv() { "$TOOLS/nwcsv" "$@"; }

# expected KIND FILE TABLE: the model of that kind with the table's English names.
expected() { "$TOOLS/nwmkmodel" "$1" "$2" "$3" >/dev/null || fail "nwmkmodel $1 with $3 failed"; }

# expect_shown TABLE: the table, as the tests' reader shows it, is the text on stdin.
expect_shown() {
  cat > want.txt
  csv show "$1" > shown.txt || fail "$1 breaks RFC 4180"
  cmp -s want.txt shown.txt || { fail "$1 reads otherwise"; diff want.txt shown.txt >&2; }
}

# kinds_setup: rules and a dictionary, so that the table shows every source.
kinds_setup() {
  printf '%s\n' "namewright-dictionary 1" "bmf	N	髪	hair" "bmf	W	髪	hair" "b	W	モデル	model" \
    "bmf	N	スカート	skirt" "m	W	笑い	smile" "f	N	表情	Exp" > namedict.txt
  printf '%s\n' '-Bone' '"頭"F "Head"' > alias.ini
  model kinds k.pmx
  cp k.pmx k.orig
}

begin "a model of every kind gets its table: every name handled, in the model's order"
kinds_setup
run -ND2 -O -V k.pmx
expect_status 0
expect_line "Table.write = ON "
expect_line "Names table written: k.names.csv "
expect_line " Names table: "
expect_line " k.names.csv "
expect_shown k.names.csv <<'EOF'
bom
crlf
kind | index | japanese | english | original | source
model | 0 | 髪モデル | HairModel |  | dictionary
material | 0 | 髪 | hair |  | standard
material | 1 | スカート | skirt |  | standard
bone | 0 | 頭 | Head |  | rule
morph | 0 | 笑い | Smile |  | dictionary
frame | 0 | 表情 | Exp |  | standard
rigid body | 0 | 頭 | Head |  | rule
rigid body | 1 | 髪 | hair |  | standard
joint | 0 | 髪 | hair |  | standard
soft body | 0 | スカート | skirt |  | standard
soft body | 1 | 髪 | hair |  | standard
EOF
# The table tells the copy exactly: the model with the table's names is the copy.
expected kinds want.pmx k.names.csv
expect_same want.pmx k-new.pmx
expect_same k.pmx k.orig
finish

begin "a PMD's table holds its names as written, within their fields"
"$TOOLS/nwmkmodel" pmd m.pmd >/dev/null
run -ND2 -V m.pmd
expect_status 0
expect_shown m.names.csv <<'EOF'
bom
crlf
kind | index | japanese | english | original | source
bone | 0 | センター | center | center | kept
bone | 1 | 上半身 | 上半身 |  | copied
bone | 2 | 頭 | head | head | kept
bone | 3 | 左腕 | 左腕 |  | copied
bone | 4 | 右腕 | 右腕 |  | copied
bone | 5 | 左足ＩＫ | leg IK_L | leg IK_L | kept
bone | 6 | 髪飾り | 髪飾り |  | copied
morph | 1 | まばたき | まばたき |  | copied
morph | 2 | あ | a | a | kept
morph | 3 | 笑い | 笑い |  | copied
frame | 0 | センター | センター |  | copied
frame | 1 | 体(上) | upper body\n | upper body\n | kept
frame | 2 | 髪 | 髪 |  | copied
EOF
expected pmd want.pmd m.names.csv
expect_same want.pmd m-new.pmd
# Applied unchanged, the table gives the same copy again, bytes after a field's end too.
run -ND2 -V m.names.csv
expect_status 0
expect_line "Names the table changed against the generated ones: 0 "
expect_same m-new.pmd 'm-new(1).pmd'
expect_no_file 'm.names(1).csv'
finish

begin "a table applied unchanged never fails, whatever its names hold"
model foreign f.pmx
model foreign8 g.pmx
"$TOOLS/nwmkmodel" pmdodd p.pmd >/dev/null
run -ND2 -V f.pmx g.pmx p.pmd
expect_status 0
grep -q '头' f.names.csv && grep -q '웃음' f.names.csv && grep -q '表情🙂' f.names.csv \
  || fail "the names without a Shift-JIS form are not in the table"
csv show p.names.csv | grep -qxF 'bone | 7 | 尻尾 | TTTTTTTTTTTTTTTTTTTT | TTTTTTTTTTTTTTTTTTTT | kept' \
  || fail "a full PMD field is not in the table"
run -ND2 f.names.csv g.names.csv p.names.csv
expect_status 0
expect_count 3 "Names the table changed against the generated ones: 0 "
expect_same f-new.pmx 'f-new(1).pmx'
expect_same g-new.pmx 'g-new(1).pmx'
expect_same p-new.pmd 'p-new(1).pmd'
finish

begin "three names edited in the table: the copy holds exactly them, every other byte the input's"
kinds_setup
run -ND2 -O -V k.pmx
cp k-new.pmx generated.pmx
csv edit k.names.csv bone 0 HeadBone && csv edit k.names.csv morph 0 Grin &&
  csv edit k.names.csv "rigid body" 1 HairBody || fail "the table could not be edited"
run -ND2 -O -V k.names.csv
expect_status 0
expect_line "Names table: k.names.csv "
expect_line " for the model: k.pmx "
expect_line "Names the table changed against the generated ones: 3 "
expect_line " Applied the names table "
expect_line " (3 names changed), "
expect_line " k-new(1).pmx "
expected kinds want.pmx k.names.csv
expect_same want.pmx 'k-new(1).pmx'
expect_same k.pmx k.orig
expect_same k-new.pmx generated.pmx
# The applied table is the record: no new table is written.
expect_no_file 'k.names(1).csv'
finish

begin "names with a comma, a quote and a line feed go through the table quoted"
model kinds k.pmx
run -ND2 -V k.pmx
csv edit k.names.csv bone 0 'Head, "top"' && csv edit k.names.csv frame 0 'Two
lines' || fail "the table could not be edited"
grep -q '"Head, ""top"""' k.names.csv || fail "the edited table is not quoted"
run -ND2 k.names.csv
expect_status 0
expected kinds want.pmx k.names.csv
expect_same want.pmx k-new\(1\).pmx
# Written again from that copy (its other kinds still vacant), the names it has are
# kept and quoted in both columns.
run -ND2 -O -V 'k-new(1).pmx'
expect_status 0
grep -qF 'bone,0,頭,"Head, ""top""","Head, ""top""",kept' 'k-new(1).names.csv' \
  || fail "a comma and a quote are not quoted"
csv show 'k-new(1).names.csv' | grep -qxF 'frame | 0 | 表情 | Two\nlines | Two\nlines | kept' \
  || fail "a line feed did not stay in its field"
finish

begin "a table saved without a byte-order mark and with LF line ends is read"
model kinds k.pmx
run -ND2 -V k.pmx
csv edit k.names.csv morph 0 Grin --lf --nobom || fail "the table could not be edited"
[ "$(head -c 3 k.names.csv)" = "kin" ] || fail "the table kept its byte-order mark"
grep -q $'\r' k.names.csv && fail "the table kept CR line ends"
run -ND2 k.names.csv
expect_status 0
expect_line "Names the table changed against the generated ones: 1 "
expected kinds want.pmx k.names.csv
expect_same want.pmx 'k-new(1).pmx'
finish

# Each fault a table may have, with its line; no copy and nothing half-written.
expect_refused() {
  expect_status 1
  expect_line " does not fit the model: nothing was written. "
  for f in *-new*.part; do [ -e "$f" ] && fail "a partial file is left: $f"; done
}

begin "a table that does not fit its PMX model is refused, each fault with its line"
model kinds k.pmx
printf '%s\r\n' 'kind,index,japanese,english' 'bone,0,頭,Head' 'bone,0,頭,Again' 'bone,1,頭,X' \
  'morph,0,泣き,Cry' "frame,0,表情,$(printf '%0255d' 0)" 'soft body,0,スカート,"a"b' \
  'what,0,x,y' 'joint,one,髪,x' 'rigid body,0,頭,x' > k.names.csv
run -ND2 k.names.csv
expect_refused
expect_line "Table line 3: bone 0 is listed twice (first on line 2) "
expect_line "Table line 4: the model has no bone 1 (its bones are 0 to 0) "
printf '%s\n' "$OUT" | grep -q '^Table line 5: morph 0 is .* in the model, not ' || fail "no line 5"
expect_line "Table line 6: the English name of frame 0 takes 510 bytes in UTF-16, more than the 254 it may have "
expect_line "Table line 7: text after the closing quote of a field "
printf '%s\n' "$OUT" | grep -q '^Table line 8: "what" is not a kind' || fail "no line 8"
expect_line "Table line 9: the index \"one\" is not a whole number "
expect_line "Table line 10: the names of rigid bodies are not handled for this model (other kinds than bones, morphs and frames need -O) "
expect_no_file 'k-new.pmx'
finish

begin "a table made for another model is refused"
model kinds k.pmx
model example e.pmx
run -ND2 -V e.pmx
cp e.names.csv k.names.csv
run -ND2 k.names.csv
expect_refused
printf '%s\n' "$OUT" | grep -q '^Table line 2: bone 0 is .* in the model, not ' || fail "no fault for bone 0"
expect_line "Table line 3: the model has no bone 1 (its bones are 0 to 0) "
[ "$(printf '%s\n' "$OUT" | grep -c '^Table line ')" -ge 30 ] || fail "fewer faults than rows"
expect_no_file k-new.pmx
finish

begin "a PMD refuses names without a Shift-JIS form and names longer than their fields"
"$TOOLS/nwmkmodel" pmd m.pmd >/dev/null
printf '%s\r\n' 'kind,index,japanese,english' 'bone,1,上半身,한' "bone,3,左腕,$(printf '%020d' 0)" \
  "frame,2,髪,$(printf '%049d' 0)" 'morph,0,base,x' > m.names.csv
run -ND2 m.names.csv
expect_refused
expect_line "Table line 2: the English name of bone 1 has a character without a Shift-JIS code (U+D55C); a PMD holds Shift-JIS names only "
expect_line "Table line 3: the English name of bone 3 takes 20 bytes in Shift-JIS, more than the 19 it may have "
expect_line "Table line 5: the model has no morph 0 (its morphs are 1 to 3) "
expect_no_file m-new.pmd
finish

begin "a table without its model, or with two, makes nothing"
printf 'kind,index,japanese,english\r\n' > gone.names.csv
run -ND2 gone.names.csv
expect_status 255
expect_line " No model for the names table "
expect_line " gone.names.csv "
"$TOOLS/nwmkmodel" pmd two.pmd >/dev/null
model example two.pmx
printf 'kind,index,japanese,english\r\n' > 'two.names(1).csv'
run -ND2 'two.names(1).csv'
expect_status 1
expect_line " could belong to a .pmx and a .pmd of its name: nothing was written. "
expect_no_file two-new.pmx
expect_no_file two-new.pmd
finish

begin "corrections are remembered once, and read by the next run"
kinds_setup
run -ND2 -O -V k.pmx
csv edit k.names.csv bone 0 HeadBone && csv edit k.names.csv morph 0 Grin &&
  csv edit k.names.csv "rigid body" 1 HairBody || fail "the table could not be edited"
run -ND2 -O -J k.names.csv
expect_status 0
expect_line "Table.remember = ON "
printf '%s\n' "$OUT" | grep -q '^Word list .*namedict-user\.txt: 3 corrections remembered, 0 there already\. $' \
  || fail "no word list line"
expect_file namedict-user.txt
grep -qx 'namewright-dictionary 1' namedict-user.txt || fail "no magic line"
tail -n 3 namedict-user.txt > lines.txt
printf '%s\n' "b	N	頭	HeadBone" "m	N	笑い	Grin" "b	N	髪	HairBody" | cmp -s - lines.txt \
  || fail "the remembered lines differ"
cp namedict-user.txt list.before
# Applied again: the bone is a correction the list has; the other rows of 髪, which the
# table left as generated before the list named 髪, are no corrections and the list
# keeps the user's name.
run -ND2 -O -J k.names.csv
printf '%s\n' "$OUT" | grep -q '^Word list .*: 0 corrections remembered, 1 there already\. $' \
  || fail "lines were remembered twice"
printf '%s\n' "$OUT" | grep -q '^Not remembered (namedict-user.txt names it otherwise, and the table keeps that name for another element): material 0 ' \
  || fail "the old rows of the table were not told apart"
expect_same namedict-user.txt list.before
# The next model: the user's words as whole names (a rule of alias.ini still wins).
model kinds k2.pmx
run -ND2 -O -V k2.pmx
expect_status 0
[ "$(printf '%s\n' "$OUT" | grep -c '^Dictionary: ')" = 2 ] || fail "the word list was not read"
printf '%s\n' "$OUT" | grep -q '^Dictionary: .*namedict-user\.txt (3 entries) $' || fail "no line for the word list"
csv show k2.names.csv > shown.txt
grep -qxF 'morph | 0 | 笑い | Grin |  | standard' shown.txt || fail "the morph is not the user's"
grep -qxF 'rigid body | 1 | 髪 | HairBody |  | standard' shown.txt || fail "the rigid body is not the user's"
grep -qxF 'bone | 0 | 頭 | Head |  | rule' shown.txt || fail "the rule did not win"
finish

begin "nothing written: a copy that would change nothing has no table, a table that changes nothing makes no copy"
model emptyjp m.pmx
printf '%s\n' '"頭"F ""' > alias.ini
run -ND2 -V m.pmx
expect_status 0
expect_line "No name would change: no copy was written. "
expect_no_file m-new.pmx
expect_no_file m.names.csv
# The table keeps the name an English-name rule would change: the copy would be the
# model, so none is written and the correction is not remembered.
model filled f.pmx
printf '%s\n' '-BoneEN' 'master Master' > alias.ini
printf 'kind,index,japanese,english\nbone,0,全ての親,master\n' > f.names.csv
run -ND2 -J f.names.csv
expect_status 0
# The console is Shift-JIS under Wine: the line is matched by its English part.
printf '%s\n' "$OUT" | grep -q '^(bone 0) (jp) .*  (en) master  => Master  table => master $' \
  || fail "the table did not keep the name"
expect_line "No name would change: no copy was written. "
expect_line " All the links in the model "
expect_no_line "Save OK. "
expect_no_file f-new.pmx
expect_no_file namedict-user.txt
finish

# Wine hands such a name to the program spelled otherwise (as cases_models.sh has it).
if [ "$WINDOWS" = 0 ]; then
  begin "a model known by its UTF-16 name only: its table is written and applied by that name"
  model kinds '모델.pmx'
  run -ND2 -V '모델.pmx'
  expect_status 0
  expect_line "Saving in UTF-16 mode. "
  expect_file '모델.names.csv'
  csv edit '모델.names.csv' bone 0 Head || fail "the table could not be edited"
  run -ND2 '모델.names.csv'
  expect_status 0
  expect_line "Names the table changed against the generated ones: 1 "
  expected kinds want.pmx '모델.names.csv'
  expect_same want.pmx '모델-new(1).pmx'
  finish
fi

begin "a table that finds no free name: the copy stays, the run fails and says so"
model kinds k.pmx
mkdir k.names.csv
for n in $(seq 1 99); do mkdir "k.names($n).csv"; done
run -ND2 -V k.pmx
expect_status 1
expect_file k-new.pmx
expect_line "No free name for the names table (.names to .names(99) are taken). "
expect_line "The names table could not be written (the copy is saved). "
expect_line " The names table could not be written. "
ls ./*.part >/dev/null 2>&1 && fail "a partial file is left"
finish

begin "folders: one table per saved model, the end box counts tables written and applied"
mkdir pack other
model kinds pack/a.pmx
model example pack/b.pmx
model example other/c.pmx
run -ND2 -V pack
expect_status 0
expect_file pack/a.names.csv
expect_file pack/b.names.csv
expect_line " Names tables written: 2 "
expect_no_line " Names tables applied: 0 "
run -ND2 -V other pack/a.names.csv
expect_status 0
expect_line " Names tables written: 1 "
expect_line " Names tables applied: 1 "
expect_file 'pack/a-new(1).pmx'
finish

if [ "$WINDOWS" = 0 ]; then
  begin "Japanese user language: the table's lines and boxes in Japanese"
  model kinds k.pmx
  LC_ALL= LANG=ja_JP.UTF-8 run -ND2 -V k.pmx 2>/dev/null
  expect_line "名前の表を書き出しました: k.names.csv "
  expect_line " 名前の表: "
  LC_ALL= LANG=ja_JP.UTF-8 run -ND2 k.names.csv 2>/dev/null
  expect_line "表が生成名から変えた名前: 0 "
  expect_line " を適用し(変更 0 個)、 "
  finish
fi
