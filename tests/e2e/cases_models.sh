# cases_models.sh - whole runs on models: saved, unchanged, broken, and named outside
# the ANSI code page.

begin "a model with vacant English names is saved beside it; the input is untouched"
model example m.pmx
cp m.pmx m.orig
run m.pmx
expect_status 0
expect_line " -- correctly opened in ANSI or UTF-8. "
expect_line "PMX 2.0: correctly read-in: OK. "
expect_line "Saving in ANSI/UTF-8 mode. "
expect_line "Save OK. "
expect_line " Added English bone/morph/frame names, "
expect_line " m-new.pmx "
expect_line " was saved. "
expect_file m-new.pmx
expect_same m.pmx m.orig
expect_differ m.pmx m-new.pmx
printf '%s\n' "$OUT" | grep -q '^Number of vacant English bone/morph/frame names: [1-9][0-9]* $' \
  || fail "no vacant-name count"
finish

begin "the saved model has nothing left to fill"
model example m.pmx
run m.pmx
cp m-new.pmx n.pmx
run n.pmx
expect_line "Number of vacant English bone/morph/frame names: 0 "
expect_line " All the links in the model "
expect_line " n.pmx "
expect_line " are correct. "
expect_no_file n-new.pmx
expect_status 0
finish

begin "a model whose English names are all filled is reported unchanged and not saved"
model filled f.pmx
run f.pmx
expect_line "Number of vacant English bone/morph/frame names: 0 "
expect_line " No broken settings found. "
expect_no_file f-new.pmx
expect_status 0
finish

begin "a UTF-8 model is saved in UTF-8"
model utf8 u.pmx
run u.pmx
expect_status 0
expect_file u-new.pmx
finish

begin "a PMX 2.1 model keeps its soft-body data"
model pmx21 s.pmx
run s.pmx
expect_line "PMX 2.1: reading extended data ..."
expect_file s-new.pmx
cmp -s <(tail -c 64 s.pmx) <(tail -c 64 s-new.pmx) || fail "trailing data changed"
finish

begin "more than 4096 bones and 8192 morphs"
model bones5000 big.pmx
run big.pmx
expect_status 0
expect_file big-new.pmx
finish

begin "not a PMX file: format error, nothing written"
model badmagic bad.pmx
run bad.pmx
expect_line "Error code 2. "
expect_line ": file format. "
expect_status 2
expect_no_file bad-new.pmx
finish

begin "a truncated model is reported, never saved"
model truncated t.pmx
cp t.pmx t.orig
run t.pmx
expect_status 3
expect_line "Error code 3. "
expect_line ": file end before closing. "
expect_no_file t-new.pmx
expect_same t.pmx t.orig
finish

begin "a hostile name length ends in an error report, not a crash"
model hostile h.pmx
run h.pmx
case $STATUS in 2|3) ;; *) fail "exit status $STATUS, expected 2 or 3" ;; esac
expect_no_file h-new.pmx
finish

if [ "$WINDOWS" = 0 ]; then
  begin "a Korean file name is opened through its UTF-16 name"
  model example 모델.pmx
  run 모델.pmx
  expect_line " -- could not open in ANSI or UTF-8. "
  expect_line " -- correctly opened in UTF-16. "
  expect_line "Saving in UTF-16 mode. "
  expect_status 0
  expect_file 모델-new.pmx
  finish

  begin "a Japanese file name is opened through its ANSI name, Japanese shown in UTF-8"
  model example 初音.pmx
  run 初音.pmx
  expect_line " -- correctly opened in ANSI or UTF-8. "
  expect_line "Saving in ANSI/UTF-8 mode. "
  expect_line " 初音-new.pmx "
  expect_status 0
  expect_file 初音-new.pmx
  finish

  begin "a path too long only in ANSI is read and saved through its UTF-16 name alone"
  dir=$(printf 'あ%.0s' $(seq 1 80))
  name=$(printf 'x%.0s' $(seq 1 89))  # 255 UTF-16 units, 415 bytes in ANSI
  mkdir -p "$dir/$dir"
  model example "$dir/$dir/$name.pmx"
  : > -new   # the missing ANSI form must not be taken for a path here
  run -ND2 "$dir/$dir/$name.pmx"
  expect_line "The ANSI path is too long: reading in UTF-16. "
  expect_no_line "Cannot open RD file : "
  expect_line "Saving in UTF-16 mode. "
  expect_status 0
  expect_file "$dir/$dir/$name-new.pmx"
  [ ! -s -new ] || fail "the file -new was written"
  finish

  begin "Japanese user language: Japanese texts on the terminal"
  model example m.pmx
  LC_ALL= LANG=ja_JP.UTF-8 run m.pmx 2>/dev/null
  console_body | grep -qx ' on SYSTEM (日本語環境) ' || fail "no Japanese label"
  expect_line " 英語名(ボーン／モーフ／表示枠)を追加し、 "
  expect_line " へ保存しました. "
  expect_status 0
  finish
fi

begin "vacant names whose generated names are empty: counted, and no copy equal to the model"
model emptyjp m.pmx
printf '%s\n' '"頭"F ""' > alias.ini
run m.pmx
expect_line "Number of vacant English bone/morph/frame names: 2 "
expect_line "No name would change: no copy was written. "
expect_line " All the links in the model "
expect_no_line "Save OK. "
expect_no_file m-new.pmx
expect_status 0
# The same with the dictionary beneath the rules; without the rule, 頭 gets a name.
cp "$HERE/../../data/namedict.txt" .
model emptyrule m.pmx
run m.pmx
expect_line "Number of vacant English bone/morph/frame names: 1 "
expect_line "No name would change: no copy was written. "
expect_no_file m-new.pmx
rm alias.ini
run m.pmx
expect_line "Save OK. "
expect_file m-new.pmx
[ -z "$(ls | grep 'part$')" ] || fail "a temporary file was left"
expect_status 0
finish
