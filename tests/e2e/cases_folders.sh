# cases_folders.sh - folders named as models: the models inside them in path order, the
# outputs of earlier runs left out, the argument-list limits, the report at the end.

if [ "$WINDOWS" = 0 ]; then
  begin "a folder stands for its models at two depths in path order; earlier outputs, other files and a folder link are left out"
  mkdir -p pack/a pack/sub other empty
  model example pack/a.pmx
  model example pack/a/b.pmx
  model example pack/B.PMX
  model filled pack/a-b.pmx
  model badmagic pack/sub/c.pmx
  cp pack/a.pmx pack/a-new.pmx
  cp pack/a.pmx "pack/a-new(2).pmx"
  cp pack/a.pmx pack/a.pmx.bak
  printf 'x' > pack/readme.txt
  model example other/o.pmx
  ln -s ../other pack/link
  model example solo.pmx
  run pack empty solo.pmx
  # Path order: '-' < '.' < '/' puts a-b.pmx and a.pmx before the folder a/.
  printf '%s\n' pack/B.PMX pack/a-b.pmx pack/a.pmx pack/a/b.pmx pack/sub/c.pmx solo.pmx > expected.txt
  printf '%s\n' "$OUT" | sed -n 's/^Reading from: \(.*\) $/\1/p' | uniq > read.txt
  cmp -s expected.txt read.txt || { fail "models read in another order"; diff expected.txt read.txt >&2; }
  expect_line "PMX/PMD models in folder pack: 5 "
  expect_line "No PMX/PMD model in folder empty (subfolders included). "
  expect_file pack/B-new.PMX
  expect_file "pack/a-new(1).pmx"
  expect_file pack/a/b-new.pmx
  expect_file solo-new.pmx
  expect_no_file pack/a-b-new.pmx
  expect_no_file pack/sub/c-new.pmx
  expect_no_file other/o-new.pmx
  expect_no_file "pack/a-new-new.pmx"
  # One report for the folder's models; the model named by itself is not counted.
  printf '%s\n' " Models from folders: 5 " " " " Saved with English names added: 3 " \
    " Correct, left unchanged: 1 " " Failed: 1 " " " " See the console for details. " > box.txt
  printf '%s\n' "$OUT" | grep -A6 -xF " Models from folders: 5 " > seen.txt
  cmp -s box.txt seen.txt || { fail "folder report differs"; diff box.txt seen.txt >&2; }
  expect_count 1 " Models from folders: 5 "
  expect_status 2
  finish

fi

begin "a folder with one model: read by the folder's path, saved beside it, one report"
mkdir pack
model example pack/m.pmx
# Extensions that only begin like a model's are not models.
model example pack/a.pmxx
pmdmodel pmd pack/b.pmd1
run pack
sep=/
[ "$WINDOWS" = 1 ] && sep='\'
expect_line "PMX/PMD models in folder pack: 1 "
expect_line "Reading from: pack${sep}m.pmx "
expect_file pack/m-new.pmx
expect_no_file pack/a-new.pmxx
expect_no_file pack/b-new.pmd1
expect_line " Models from folders: 1 "
expect_line " Saved with English names added: 1 "
expect_no_line " Failed: 1 "
expect_status 0
finish

begin "a folder without models named alone: one line, then the run goes on as one without a model"
mkdir empty
printf 'x' > empty/notes.txt
run empty
expect_line "No PMX/PMD model in folder empty (subfolders included). "
expect_line "No dropped PMX file detected. "
expect_line "Usage "
expect_status 0
finish
